#include "foundation/Helpers.h"

#include "foundation/BaseFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace QuorvaneSDK {

namespace {

// OLE date of 1900-01-01 00:00 and the first day after 9999-12-31.
constexpr double kJan1900 = 2.0;
constexpr double kAfter9999 = 2958466.0;

QString trimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

QString subFolderOf(int kind) {
    switch (static_cast<AppFolder>(kind)) {
    case AppFolder::Export:
        return QStringLiteral("Export");
    case AppFolder::Temp:
        return QStringLiteral("Temp");
    case AppFolder::Help:
        return QStringLiteral("Help");
    case AppFolder::Sound:
        return QStringLiteral("Sound");
    case AppFolder::Uncompress:
        return QStringLiteral("Uncompress");
    default:
        return QString();
    }
}

} // namespace

QString CleanSqlText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0 || u == 1 || u == 9 || u == 10 || u == 13)
            continue;
        out.append(c);
    }
    return trimBlanks(out);
}

Date ClampDate1900(const Date& date) {
    const double d = date.toDouble();
    if (!std::isfinite(d) || d < kJan1900 || d >= kAfter9999)
        return Date(kJan1900);
    return date;
}

QString get_AppFolder(AppFolder kind) {
    return get_AppFolder(static_cast<int>(kind));
}

QString get_AppFolder(int kind) {
    const QString sub = subFolderOf(kind);
    const QString folder = baseFolder() + u'/' + (sub.isEmpty() ? QString() : sub + u'/');
    if (QDir(folder).isEmpty(QDir::Files | QDir::Hidden | QDir::System))
        QDir().mkpath(folder);
    return folder;
}

QString get_FolderOfPath(const QString& path) {
    const QString clean = CleanSqlText(path);
    const qsizetype slash = clean.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return clean.left(slash + 1);
}

QString add_TrailingSlash(const QString& path) {
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

bool exists_File(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile();
}

bool make_Folder(const QString& path) {
    if (path.isEmpty())
        return false;
    return QDir().mkdir(path);
}

void delete_File(const QString& path) {
    if (!path.isEmpty())
        QFile::remove(path);
}

} // namespace QuorvaneSDK
