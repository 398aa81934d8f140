// Two processes append files, and entries that hang on each file, into one
// PostgreSQL catalogue at the same time. Every entry must land on its own
// file: the key each writer uses is the key of its own insert.
//
// The parent test starts this test program twice with a filter that runs
// only TwoWriters.ChildAppends and the environment below; the child is
// skipped in an ordinary run.

#include "SdkTestSupport.h"

#include "catalogue/Main.h"
#include "foundation/Database.h"
#include "foundation/SchemaUpgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

const char* const kDbVar = "QUORVANE_WRITER_DB";
const char* const kTagVar = "QUORVANE_WRITER_TAG";
const char* const kMediaVar = "QUORVANE_WRITER_MEDIA";
const char* const kCountVar = "QUORVANE_WRITER_COUNT";
const char* const kSyncVar = "QUORVANE_WRITER_SYNC"; // folder of the start barrier

bool waitForFile(const QString& path, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(path)) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(2);
    }
    return true;
}

TEST(TwoWriters, ChildAppends) {
    const QString dbName = qEnvironmentVariable(kDbVar);
    if (dbName.isEmpty())
        GTEST_SKIP()
            << "runs only as a writer started by TwoWriters.AttachDependentRowsToTheirOwnFiles";
    const QString tag = qEnvironmentVariable(kTagVar);
    const qint32 media = qEnvironmentVariableIntValue(kMediaVar);
    const int count = qEnvironmentVariableIntValue(kCountVar);
    const QString sync = qEnvironmentVariable(kSyncVar);
    const PgServer server = pgServer();
    ASSERT_TRUE(server.available);

    Database db;
    db.set_DBPredefinito(SqlSyntax::SqlServer);
    db.set_HostPath(server.hostWithPort());
    db.set_DBName(dbName);
    db.set_DBUserName(server.user);
    db.set_DBPassword(server.password);
    ASSERT_TRUE(db.test_Connection());
    Main main;

    QFile ready(sync + QStringLiteral("/ready-") + tag);
    ASSERT_TRUE(ready.open(QIODevice::WriteOnly));
    ready.close();
    ASSERT_TRUE(waitForFile(sync + QStringLiteral("/go"), 60000));

    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("%1-%2").arg(tag).arg(i);
        FileQuorvane f;
        f.Media.id = media;
        f.FolderName = QStringLiteral("/w/");
        f.Name = name;
        f.Size = i;
        main.set_Files(f);
        const qint32 id = main.get_LastIDFile();
        ASSERT_GT(id, 0) << name.toStdString();

        FileQuorvaneCompressed c;
        c.ParentFile.id = id;
        c.Name = name + QStringLiteral("-entry");
        main.set_FilesCompressed(c);
        ASSERT_GT(main.get_LastIDFileCompressed(), 0) << name.toStdString();
    }
    db.closeConnection();
}

TEST(TwoWriters, AttachDependentRowsToTheirOwnFiles) {
    QUORVANE_REQUIRE_PG();
    EngineDatabase catalogue(Engine::PostgreSQL);
    ASSERT_TRUE(catalogue.ready()) << catalogue.error().toStdString();
    ASSERT_TRUE(SchemaUpgrade(catalogue.db()).run().ok());
    const qint32 media = [&] {
        Main main;
        Media m;
        m.Label = QStringLiteral("shared");
        m.SerialNumber = QStringLiteral("SHARED-1");
        m.EAN13 = main.get_EAN13(Item::Media);
        EXPECT_TRUE(main.set_Media(m));
        return main.get_Media(m.SerialNumber, QString(), 0, false).id;
    }();
    ASSERT_GT(media, 0);

    const int count = 400;
    const QString sync = makeTempFolder(QStringLiteral("qv-writers"));
    QList<QProcess*> writers;
    for (const char* tag : {"A", "B"}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kDbVar), catalogue.pgDatabase());
        env.insert(QString::fromLatin1(kTagVar), QString::fromLatin1(tag));
        env.insert(QString::fromLatin1(kMediaVar), QString::number(media));
        env.insert(QString::fromLatin1(kCountVar), QString::number(count));
        env.insert(QString::fromLatin1(kSyncVar), sync);
        env.remove(QStringLiteral("QUORVANE_HOME")); // each writer gets its own
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=TwoWriters.ChildAppends")});
        writers.append(p);
    }
    const bool bothReady = waitForFile(sync + QStringLiteral("/ready-A"), 60000) &&
                           waitForFile(sync + QStringLiteral("/ready-B"), 60000);
    QFile go(sync + QStringLiteral("/go"));
    EXPECT_TRUE(go.open(QIODevice::WriteOnly));
    go.close();
    for (QProcess* p : writers) {
        EXPECT_TRUE(p->waitForFinished(180000));
        const QByteArray output = p->readAll();
        EXPECT_EQ(p->exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
        delete p;
    }
    ASSERT_TRUE(bothReady);

    Database& db = catalogue.db();
    auto scalar = [&db](const QString& sql) -> qint64 {
        const std::optional<Recordset> rs = db.get_Recordset(sql, QStringLiteral("test"));
        return rs && rs->RecordCount() > 0 ? rs->value(0).toLongLong() : -1;
    };
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files")), 2 * count);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM FilesContained")), 2 * count);
    // Every entry hangs on the file it was written for.
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT Count(*) FROM FilesContained c JOIN Files f ON "
                              "f.IDFile = c.IDFile WHERE c.FileName <> f.FileName || '-entry'")),
        0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT Count(*) FROM Files f WHERE (SELECT Count(*) FROM "
                                    "FilesContained c WHERE c.IDFile = f.IDFile) <> 1")),
              0);
    // The writers really ran at the same time: A's keys fall between B's.
    const qint64 interleaved = scalar(QStringLiteral(
        "SELECT Count(*) FROM Files WHERE FileName LIKE 'A-%' AND IDFile > (SELECT Min(IDFile) "
        "FROM Files WHERE FileName LIKE 'B-%') AND IDFile < (SELECT Max(IDFile) FROM Files WHERE "
        "FileName LIKE 'B-%')"));
    EXPECT_GT(interleaved, 0);
    std::cout << "[          ] writer A rows among writer B's keys: " << interleaved << "\n";
}

} // namespace
