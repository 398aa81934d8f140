#include "foundation/UpgradeScripts.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace QuorvaneSDK {
namespace {

// The piece with string literals, quoted names and comments blanked out, so
// that a ";" or a keyword inside them is not taken for code.
QString codeOnly(const QString& piece) {
    QString code;
    code.reserve(piece.size());
    const qsizetype n = piece.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = piece.at(i);
        if (c == u'\'' || c == u'"') {
            // '' (or "") inside a literal is an escaped quote: the scan simply
            // closes and reopens the literal, which gives the same result.
            const qsizetype close = piece.indexOf(c, i + 1);
            i = close < 0 ? n : close + 1;
            code += u' ';
        } else if (piece.mid(i, 2) == QLatin1String("--")) {
            const qsizetype eol = piece.indexOf(u'\n', i);
            i = eol < 0 ? n : eol;
        } else if (piece.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype close = piece.indexOf(QLatin1String("*/"), i + 2);
            i = close < 0 ? n : close + 2;
            code += u' ';
        } else {
            code += c;
            ++i;
        }
    }
    return code;
}

bool isSeparatorLine(const QString& line) {
    const QString t = line.trimmed();
    return t == QLatin1String(";;") || t.compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList UpgradeScriptSet::toRun() const {
    QStringList names;
    for (int slot = 0; slot < LastSlot; ++slot) {
        if (!slotNames.at(slot).trimmed().isEmpty())
            names << slotNames.at(slot);
    }
    return names;
}

int upgradeScriptSlot(const QString& name) {
    if (!name.trimmed().toLower().contains(QLatin1String(".sql")))
        return -1;
    const QString lower = name.toLower();
    if (lower == QLatin1String("upgrade02.sql") || lower == QLatin1String("upgrade03.sql"))
        return -1;
    QString rest = name;
    rest.remove(QStringLiteral("upgrade"), Qt::CaseSensitive);
    rest.remove(QStringLiteral(".sql"), Qt::CaseSensitive);
    qint64 number = 0;
    for (const QChar c : rest) {
        if (c < u'0' || c > u'9')
            break;
        number = number * 10 + (c.unicode() - u'0');
        if (number > UpgradeScriptSet::LastSlot)
            return UpgradeScriptSet::LastSlot + 1;
    }
    return int(number);
}

UpgradeScriptSet collectUpgradeScripts(QStringList names) {
    std::sort(names.begin(), names.end());
    UpgradeScriptSet set;
    for (const QString& name : names) {
        const int slot = upgradeScriptSlot(name);
        if (slot < 0)
            continue;
        if (slot > UpgradeScriptSet::LastSlot)
            set.outOfRange << name;
        else
            set.slotNames[slot] = name;
    }
    return set;
}

UpgradeScriptSet collectUpgradeScriptsInFolder(const QString& folder) {
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    return collectUpgradeScripts(dir.entryList(QDir::Files, QDir::NoSort));
}

QStringList splitScriptStatements(QString script) {
    if (script.startsWith(QChar(0xFEFF)))
        script.remove(0, 1);
    script.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    script.replace(u'\r', u'\n');

    QStringList pieces;
    QString current;
    const auto flush = [&] {
        const QString piece = current.trimmed();
        if (!codeOnly(piece).trimmed().isEmpty())
            pieces << piece;
        current.clear();
    };
    for (const QString& line : script.split(u'\n')) {
        if (isSeparatorLine(line)) {
            flush();
        } else {
            current += line;
            current += u'\n';
        }
    }
    flush();
    return pieces;
}

QString checkSingleStatement(const QString& piece) {
    const QString code = codeOnly(piece);
    if (code.contains(QLatin1String("$$")))
        return {};
    static const QRegularExpression body(QStringLiteral("\\bBEGIN\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (body.match(code).hasMatch())
        return {};
    const qsizetype semicolon = code.indexOf(u';');
    if (semicolon < 0)
        return {};
    QString after = code.mid(semicolon + 1);
    after.remove(u';');
    if (after.trimmed().isEmpty())
        return {};
    return QStringLiteral("the piece holds more than one statement; separate statements "
                          "with a line holding only ;;");
}

} // namespace QuorvaneSDK
