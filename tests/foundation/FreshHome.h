#pragma once
// Points QUORVANE_HOME at a fresh empty folder for the life of the object,
// so a test sees no settings file left by another test of the program.

#include "../support/TestEnvironment.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <sys/stat.h>

class FreshHome {
public:
    FreshHome() : previous_(qgetenv("QUORVANE_HOME")) {
        path_ = QuorvaneTest::makeTempFolder(QStringLiteral("qv-home"));
        qputenv("QUORVANE_HOME", path_.toUtf8());
    }
    ~FreshHome() { qputenv("QUORVANE_HOME", previous_); }
    FreshHome(const FreshHome&) = delete;
    FreshHome& operator=(const FreshHome&) = delete;

    const QString& path() const { return path_; }
    QString file(const QString& name) const { return path_ + QStringLiteral("/") + name; }

private:
    QByteArray previous_;
    QString path_;
};

// Permission bits of a file, -1 when it does not exist.
inline int fileMode(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return static_cast<int>(st.st_mode & 0777);
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline void putFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
