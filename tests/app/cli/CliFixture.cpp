#include "CliFixture.h"

#include "TestEnvironment.h"
#include "catalogue/Main.h"
#include "foundation/Database.h"
#include "foundation/DatabaseConnection.h"
#include "foundation/PreparedStatement.h"

#include <QBuffer>
#include <QImage>

namespace QuorvaneTest {

using namespace QuorvaneSDK;

namespace {

// A Database on the catalogue the home's Database.ini selects.
struct HomeCatalogue {
    explicit HomeCatalogue(const QString& home) : home(home) {
        DatabaseConnection().set_DBParameters(db);
    }
    HomeSwitch home;
    Database db;
};

FileQuorvane file(qint32 media, const QString& folder, const QString& name, double size) {
    FileQuorvane f;
    f.Media.id = media;
    f.FolderName = folder;
    f.Name = name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    f.Extension = dot >= 0 ? name.mid(dot + 1) : QString();
    f.Size = size;
    f.DateCreated = Date::fromParts(2020, 1, 2, 3, 4, 5);
    f.DateModified = Date::fromParts(2021, 6, 7, 8, 9, 10);
    f.DateLastAccessed = Date::fromParts(2022, 1, 1);
    f.Properties = QStringLiteral("A");
    f.Description = QStringLiteral("Document");
    return f;
}

qint32 addFile(Main& main, qint32 media, const QString& folder, const QString& name, double size) {
    FileQuorvane f = file(media, folder, name, size);
    main.set_Files(f);
    return main.get_LastIDFile();
}

qint32 addMedia(Main& main, const QString& label, const QString& serial, const QString& group) {
    Media m;
    m.Label = label;
    m.SerialNumber = serial;
    m.Group = group;
    m.Type = MediaType::FixedHD;
    m.Space_Capacity = 1e9;
    main.set_Media(m);
    return main.get_Media(QString(), label, 0, false).id;
}

QByteArray pngBytes() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

void CliTest::SetUp() {
    m_home = makeTempFolder(QStringLiteral("qv-cli"));
    if (GetParam() == Engine::PostgreSQL) {
        QUORVANE_REQUIRE_PG();
        QString error;
        m_pgDatabase = createScratchPgDatabase(QStringLiteral("cli"), &error);
        ASSERT_FALSE(m_pgDatabase.isEmpty()) << error.toStdString();
        const PgServer pg = pgServer();
        const CliResult r =
            cli({QStringLiteral("db"), QStringLiteral("use"), QStringLiteral("postgresql"),
                 pg.hostWithPort(), m_pgDatabase, pg.user, QStringLiteral("--password-stdin")},
                pg.password.toUtf8() + "\n");
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    } else {
        const CliResult r = cli({QStringLiteral("db"), QStringLiteral("upgrade")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    seed();
}

void CliTest::TearDown() {
    if (!m_pgDatabase.isEmpty())
        dropPgDatabase(m_pgDatabase);
}

void CliTest::seed() {
    HomeCatalogue catalogue(m_home);
    Main main;
    m_alpha =
        addMedia(main, QStringLiteral("Alpha"), QStringLiteral("S-1"), QStringLiteral("Music"));
    m_beta = addMedia(main, QStringLiteral("Beta"), QStringLiteral("[noserialnumber]"), QString());
    ASSERT_GT(m_alpha, 0);
    ASSERT_GT(m_beta, 0);
    for (const QString& folder :
         {QStringLiteral("/a/"), QStringLiteral("/a/b/"), QStringLiteral("/c/")})
        addFile(main, m_alpha, folder, QStringLiteral("##nullfile##"), 0);
    m_oneTxt = addFile(main, m_alpha, QStringLiteral("/a/"), QStringLiteral("one.txt"), 1000);
    addFile(main, m_alpha, QStringLiteral("/a/"), QStringLiteral("x,y \"q\".txt"), 20);
    m_song = addFile(main, m_alpha, QStringLiteral("/a/"), QStringLiteral("song.mp3"), 4000000);
    m_zip = addFile(main, m_alpha, QStringLiteral("/a/"), QStringLiteral("arc.zip"), 5000);
    addFile(main, m_alpha, QStringLiteral("/a/b/"), QStringLiteral("deep.txt"), 7);
    addFile(main, m_beta, QStringLiteral("/z/"), QStringLiteral("##nullfile##"), 0);
    addFile(main, m_beta, QStringLiteral("/z/"), QStringLiteral("z.txt"), 1);
    for (const QString& name : {QStringLiteral("inner.txt"), QStringLiteral("other.doc")}) {
        FileQuorvaneCompressed e;
        e.Name = name;
        e.FolderName = QStringLiteral("docs/");
        e.Size = 300;
        e.FileCompressedSize = 100;
        e.ParentFile = main.get_File(m_zip);
        e.IDParentFile = m_zip;
        main.set_FilesCompressed(e);
        if (!m_entry)
            m_entry = main.get_LastIDFileCompressed();
    }
    ASSERT_GT(m_entry, 0);
    sql(QStringLiteral("INSERT INTO Mp3TagsFile (IDFile, Title, Artist, Album, Year, Copyright, "
                       "Original, PlayTime) VALUES (%1, 'Song', 'Band', 'Disc', '1999', 1, 0, 215)")
            .arg(m_song));
    sql(QStringLiteral(
            "INSERT INTO PreviewFile (IDFile, PreviewText, Type) VALUES (%1, 'first lines', %2)")
            .arg(m_oneTxt)
            .arg(int(Preview::Text)));
    sql(QStringLiteral("INSERT INTO PreviewFileContained (IDFileContained, PreviewText, Type) "
                       "VALUES (%1, 'inner text', %2)")
            .arg(m_entry)
            .arg(int(Preview::Text)));
    PreparedStatement image = catalogue.db.prepare(
        QStringLiteral("INSERT INTO PreviewFile (IDFile, PreviewBinary, Type) VALUES (?, ?, ?)"),
        QStringLiteral("test.seed"));
    image.bind(0, m_song);
    image.bind(1, pngBytes());
    image.bind(2, int(Preview::Image));
    ASSERT_EQ(image.exec().Number, 0);
}

void CliTest::sql(const QString& statement) {
    HomeCatalogue catalogue(m_home);
    const ErrorObject e = catalogue.db.execute_Sql(statement, QStringLiteral("test.sql"));
    ASSERT_EQ(e.Number, 0) << e.Description.toStdString() << " in " << statement.toStdString();
}

qint64 CliTest::scalar(const QString& query) {
    HomeCatalogue catalogue(m_home);
    std::optional<Recordset> rs = catalogue.db.get_Recordset(query, QStringLiteral("test.scalar"));
    if (!rs || rs->RecordCount() == 0)
        return -1;
    rs->MoveFirst();
    return rs->value(0).toLongLong();
}

} // namespace QuorvaneTest
