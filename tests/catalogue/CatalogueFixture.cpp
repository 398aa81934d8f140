#include "CatalogueFixture.h"

#include "foundation/SchemaUpgrade.h"

using namespace QuorvaneSDK;

namespace QuorvaneTest {

void CatalogueTest::SetUp() {
    EngineTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    const SchemaUpgrade::Outcome outcome = SchemaUpgrade(db()).run();
    ASSERT_TRUE(outcome.ok()) << outcome.failedScript.toStdString() << ": "
                              << outcome.error.toStdString();
    m_main = std::make_unique<Main>();
    QObject::connect(m_main.get(), &Main::Error,
                     [this](const QString& message) { m_errorEvents.append(message); });
}

void CatalogueTest::dropTable(const QString& table) {
    const QString sql = isPostgres() ? QStringLiteral("DROP TABLE %1 CASCADE").arg(table)
                                     : QStringLiteral("DROP TABLE %1").arg(table);
    ASSERT_EQ(db().execute_Sql(sql, QStringLiteral("test.dropTable")).Number, 0);
}

void CatalogueTest::TearDown() {
    m_main.reset();
    EngineTest::TearDown();
}

qint32 CatalogueTest::addMedia(const QString& label, const QString& serial, const QString& group) {
    Media m;
    m.Label = label;
    m.SerialNumber = serial.isEmpty() ? QStringLiteral("SN-") + label : serial;
    m.EAN13 = main().get_EAN13(Item::Media);
    m.Group = group;
    m.Type = MediaType::FixedHD;
    EXPECT_TRUE(main().set_Media(m));
    return main().get_Media(m.SerialNumber, QString(), 0, false).id;
}

FileQuorvane CatalogueTest::makeFile(qint32 mediaId, const QString& folder, const QString& name,
                                     double size) {
    FileQuorvane f;
    f.Media.id = mediaId;
    f.FolderName = folder;
    f.Name = name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    f.Extension = dot >= 0 ? name.mid(dot + 1) : QString();
    f.Size = size;
    f.DateCreated = Date::fromParts(2010, 1, 17, 13, 5, 9);
    f.DateLastAccessed = Date::fromParts(2011, 2, 3, 4, 5, 6);
    f.DateModified = Date::fromParts(2012, 12, 31, 23, 59, 58);
    f.Properties = QStringLiteral("A");
    f.Description = QStringLiteral("Text document");
    return f;
}

qint32 CatalogueTest::addFile(qint32 mediaId, const QString& folder, const QString& name,
                              double size) {
    FileQuorvane f = makeFile(mediaId, folder, name, size);
    main().set_Files(f);
    return main().get_LastIDFile();
}

qint32 CatalogueTest::addEntry(qint32 parentId, const QString& name, const QString& path,
                               double compressedSize) {
    FileQuorvaneCompressed c;
    c.ParentFile.id = parentId;
    c.Name = name;
    c.FolderName = path;
    c.FileCompressedSize = compressedSize;
    c.Size = compressedSize * 2;
    main().set_FilesCompressed(c);
    return main().get_LastIDFileCompressed();
}

qint64 CatalogueTest::scalar(const QString& sql) {
    const std::optional<Recordset> rs = db().get_Recordset(sql, QStringLiteral("test.scalar"));
    if (!rs || rs->RecordCount() == 0)
        return -1;
    return rs->value(0).toLongLong();
}

} // namespace QuorvaneTest
