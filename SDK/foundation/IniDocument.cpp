#include "foundation/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace QuorvaneSDK {

namespace {

bool isComment(const QString& trimmed) {
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

// The section name of a header line, or a null string for any other line.
QString headerName(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return QString();
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return QString();
    return t.mid(1, close - 1).trimmed();
}

// Splits "key = value"; false for comments, headers and lines without "=".
bool splitKey(const QString& line, QString* key, QString* raw) {
    const QString t = line.trimmed();
    if (t.isEmpty() || isComment(t) || t.startsWith(u'['))
        return false;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    if (raw)
        *raw = line.mid(eq + 1);
    return !key->isEmpty();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

} // namespace

QString quoteIniValue(const QString& value) {
    const bool blanksAround =
        !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool looksQuoted = value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"');
    if (blanksAround || looksQuoted)
        return u'"' + value + u'"';
    return value;
}

QString unquoteIniValue(const QString& raw) {
    const QString t = raw.trimmed();
    if (t.size() >= 2 && t.startsWith(u'"') && t.endsWith(u'"'))
        return t.mid(1, t.size() - 2);
    return t;
}

bool IniDocument::load(const QString& path) {
    lines_.clear();
    eol_ = QStringLiteral("\n");
    bom_ = false;
    const QFileInfo info(path);
    if (!info.exists())
        return !info.isSymLink(); // a dangling link is not a missing file
    if (info.isDir())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bom_ = true;
        bytes.remove(0, 3);
    }
    const QString text = decode(bytes);
    if (text.contains(QStringLiteral("\r\n")))
        eol_ = QStringLiteral("\r\n");
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    lines_ = normalised.split(u'\n');
    // A final line break does not make a line of its own.
    if (!lines_.isEmpty() && lines_.back().isEmpty())
        lines_.removeLast();
    return true;
}

QString IniDocument::text() const {
    QString out;
    for (const QString& line : lines_)
        out += line + eol_;
    return out;
}

bool IniDocument::save(const QString& path, bool privateFile) const {
    const QFileInfo info(path);
    if (!info.dir().exists() && !QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    if (bom_)
        bytes = "\xEF\xBB\xBF";
    bytes += text().toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (privateFile)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.commit();
}

IniDocument::Range IniDocument::findSection(const QString& section) const {
    Range r;
    const QString wanted = section.trimmed();
    for (int i = 0; i < lines_.size(); ++i) {
        const QString name = headerName(lines_[i]);
        if (name.isNull())
            continue;
        if (r.header >= 0)
            break;
        if (sameName(name, wanted)) {
            r.header = i;
            r.end = i + 1;
        }
    }
    if (r.header < 0)
        return r;
    // New keys go after the section's last non-blank line, so that the blank
    // line separating it from the next section stays where it is.
    for (int i = r.header + 1; i < lines_.size() && headerName(lines_[i]).isNull(); ++i) {
        if (!lines_[i].trimmed().isEmpty())
            r.end = i + 1;
    }
    return r;
}

int IniDocument::findKey(const Range& range, const QString& key) const {
    if (range.header < 0)
        return -1;
    const QString wanted = key.trimmed();
    for (int i = range.header + 1; i < range.end; ++i) {
        QString name;
        if (splitKey(lines_[i], &name, nullptr) && sameName(name, wanted))
            return i;
    }
    return -1;
}

bool IniDocument::hasSection(const QString& section) const {
    return findSection(section).header >= 0;
}

QString IniDocument::value(const QString& section, const QString& key) const {
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return QString();
    QString name, raw;
    splitKey(lines_[line], &name, &raw);
    QString v = unquoteIniValue(raw);
    if (v.isNull())
        v = QStringLiteral("");
    return v;
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    if (s.isEmpty() || s.contains(u']') || hasLineBreak(s))
        return false;
    if (k.isEmpty() || k.contains(u'=') || hasLineBreak(k) || isComment(k) || k.startsWith(u'['))
        return false;
    if (hasLineBreak(value))
        return false;
    const QString line = k + u'=' + quoteIniValue(value);
    Range r = findSection(s);
    if (r.header < 0) {
        if (!lines_.isEmpty() && !lines_.back().trimmed().isEmpty())
            lines_.append(QString());
        lines_.append(u'[' + s + u']');
        lines_.append(line);
        return true;
    }
    const int existing = findKey(r, k);
    if (existing >= 0) {
        // Keep the name as the file spells it.
        QString name;
        splitKey(lines_[existing], &name, nullptr);
        lines_[existing] = name + u'=' + quoteIniValue(value);
    } else {
        lines_.insert(r.end, line);
    }
    return true;
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
    const Range r = findSection(section);
    if (r.header < 0)
        return false;
    for (int line = findKey(r, key); line >= 0; line = findKey(findSection(section), key))
        lines_.removeAt(line);
    return true;
}

} // namespace QuorvaneSDK
