// Compaction of the catalogue and the explicit creation of a catalogue file.
#include "foundation/Database.h"

#include "foundation/DatabaseImpl.h"
#include "foundation/Errors.h"
#include "foundation/Reporting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace QuorvaneSDK {
namespace {

const QString kCompactRoutine = QStringLiteral("Database.CompactRepairDatabase");
const QString kCompactAccessRoutine = QStringLiteral("Database.CompactRepairDatabase_Access");

// A private connection to one SQLite file (not the kept one).
class FileConnection {
public:
    FileConnection(const QString& path, const QString& mode)
        : m_name(QStringLiteral("quorvane-file-") + QUuid::createUuid().toString(QUuid::Id128)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        url.setQuery(QStringLiteral("mode=") + mode);
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        m_open = db.open();
        if (!m_open)
            m_error = db.lastError();
    }
    ~FileConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_open; }
    QSqlError error() const { return m_error; }
    bool exec(const QString& sql, QString* firstValue = nullptr) {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        if (!q.exec(sql)) {
            m_error = q.lastError();
            return false;
        }
        if (firstValue)
            *firstValue = q.next() ? q.value(0).toString() : QString();
        return true;
    }

private:
    QString m_name;
    bool m_open = false;
    QSqlError m_error;
};

QString systemError(const QString& what) {
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// Makes backup a copy of path without a moment in which either name is
// missing or incomplete: a hard link (or a copy) under a temporary name,
// then an atomic rename over the old backup.
bool keepBackup(const QString& path, const QString& backup, QString* why) {
    const QString staging = backup + QStringLiteral(".new");
    QFile::remove(staging);
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(staging);
    if (::link(from.constData(), to.constData()) != 0 && !QFile::copy(path, staging)) {
        *why = systemError(QStringLiteral("Cannot copy the catalogue to ") + staging);
        return false;
    }
    if (std::rename(to.constData(), QFile::encodeName(backup).constData()) != 0) {
        *why = systemError(QStringLiteral("Cannot rename ") + staging);
        QFile::remove(staging);
        return false;
    }
    return true;
}

} // namespace

bool Database::CompactRepairDatabase() {
    if (d->batchDepth > 0) {
        ErrorObject e =
            captureError(kErrorBusyInBatch, QStringLiteral("Database"),
                         QStringLiteral("Compaction is not possible while a batch is open"));
        reportError(e, d->className, kCompactRoutine, QString(), false);
        return false;
    }
    if (d->dialect == SqlSyntax::Access2000)
        return compactSqlite();
    if (d->dialect == SqlSyntax::SqlServer)
        return local().CompactRepairDatabase_SqlServer(d->className).Number == 0;
    return false;
}

bool Database::compactSqlite() {
    closeConnection();
    const QString path = get_DBHostPath();
    if (!QFileInfo(path).isFile()) {
        ErrorObject e = captureError(kErrorFileMissing, QStringLiteral("Database"),
                                     QStringLiteral("File not found: ") + path);
        reportError(e, d->className, kCompactRoutine, QStringLiteral("Database path non trovato!"),
                    false);
        return false;
    }
    const QString compacted = path + QStringLiteral(".compacting");
    const QString backup = path + QStringLiteral(".bak");
    auto fail = [&](const ErrorObject& captured) {
        ErrorObject e = captured;
        QFile::remove(compacted);
        reportError(e, d->className, kCompactAccessRoutine, path, false);
        return false;
    };
    if (QFileInfo::exists(compacted) && !QFile::remove(compacted))
        return fail(captureError(kErrorFileMissing, QStringLiteral("Database"),
                                 QStringLiteral("Cannot remove the stale file ") + compacted));
    {
        // Write the compacted copy beside the catalogue and check it.
        FileConnection source(path, QStringLiteral("rw"));
        if (!source.isOpen())
            return fail(captureSqlError(source.error()));
        if (!source.exec(QStringLiteral("VACUUM INTO '") + CorreggiApice(compacted) + "'"))
            return fail(captureSqlError(source.error()));
    }
    {
        FileConnection check(compacted, QStringLiteral("ro"));
        QString verdict;
        if (!check.isOpen() || !check.exec(QStringLiteral("PRAGMA quick_check"), &verdict))
            return fail(captureSqlError(check.error()));
        if (verdict != QLatin1String("ok"))
            return fail(
                captureError(11, QStringLiteral("SQLite"),
                             QStringLiteral("The compacted copy failed its check: ") + verdict));
    }
    QString why;
    if (!keepBackup(path, backup, &why))
        return fail(captureError(errno ? errno : 1, QStringLiteral("Database"), why));
    // rename() replaces the catalogue atomically: readers see the old or
    // the new file, never none.
    if (std::rename(QFile::encodeName(compacted).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return fail(captureError(errno ? errno : 1, QStringLiteral("Database"),
                                 systemError(QStringLiteral("Cannot replace ") + path)));
    return true;
}

bool Database::createCatalogueFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return false;
    auto fail = [&](ErrorObject e) {
        reportError(e, QStringLiteral("QuorvaneSDK"),
                    QStringLiteral("Database.createCatalogueFile"), path, false);
        return false;
    };
    if (!QDir().mkpath(info.absolutePath()))
        return fail(
            captureError(kErrorFileMissing, QStringLiteral("Database"),
                         QStringLiteral("Cannot create the folder ") + info.absolutePath()));
    FileConnection file(path, QStringLiteral("rwc"));
    // Writing the schema version makes SQLite write the file's header now.
    if (!file.isOpen() || !file.exec(QStringLiteral("PRAGMA user_version = 0")) ||
        !file.exec(QStringLiteral("VACUUM"))) {
        Errors::setPendingError(1, QStringLiteral("SQLite"), file.error().text());
        return fail(Errors::shared().set_CurrentError());
    }
    return QFileInfo::exists(path);
}

} // namespace QuorvaneSDK
