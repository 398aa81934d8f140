// settings [KEY [VALUE]]: the application settings of Quorvane.ini.

#include "ArgParser.h"
#include "CliErrors.h"
#include "Commands.h"
#include "Output.h"

#include "foundation/Impostazioni.h"
#include "foundation/SettingsText.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <functional>

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

const char* const kHelp =
    "Usage: quorvane-cli settings [--json]\n"
    "       quorvane-cli settings KEY\n"
    "       quorvane-cli settings KEY VALUE\n"
    "\n"
    "Without KEY: every setting. With KEY (any letter case): its value. With\n"
    "VALUE: changes it. Switches take true/false (yes/no, on/off, 1/0),\n"
    "numbers a whole number, dates yyyy-MM-dd[ HH:mm:ss].\n";

enum class Kind { Boolean, Number, Text, DateValue };

struct Setting {
    const char* key;
    Kind kind;
    std::function<QJsonValue(const SetUp&)> get;
    std::function<void(SetUp&, const QJsonValue&)> set;
    qint16 minimum = 0;
};

template <typename T>
Setting field(const char* key, Kind kind, T SetUp::*member, qint16 minimum = 0) {
    Setting s{key, kind, nullptr, nullptr, minimum};
    if constexpr (std::is_same_v<T, bool>) {
        s.get = [member](const SetUp& v) { return QJsonValue(v.*member); };
        s.set = [member](SetUp& v, const QJsonValue& x) { v.*member = x.toBool(); };
    } else if constexpr (std::is_same_v<T, qint16>) {
        s.get = [member](const SetUp& v) { return QJsonValue(int(v.*member)); };
        s.set = [member](SetUp& v, const QJsonValue& x) { v.*member = qint16(x.toInt()); };
    } else if constexpr (std::is_same_v<T, QString>) {
        s.get = [member](const SetUp& v) { return QJsonValue(v.*member); };
        s.set = [member](SetUp& v, const QJsonValue& x) { v.*member = x.toString(); };
    } else {
        s.get = [member](const SetUp& v) { return QJsonValue(settingsDateText(v.*member)); };
        s.set = [member](SetUp& v, const QJsonValue& x) {
            v.*member = *settingsDate(x.toString());
        };
    }
    return s;
}

const QList<Setting>& settings() {
    static const QList<Setting> list{
        field("ScanSubFolders", Kind::Boolean, &SetUp::ScanSubFolders),
        field("ScanOnlyFolders", Kind::Boolean, &SetUp::ScanOnlyFolders),
        field("ScanCompressedFiles", Kind::Boolean, &SetUp::ScanCompressedFiles),
        field("ScanCompressedFilesMaxSize", Kind::Number, &SetUp::ScanCompressedFilesMaxSize),
        field("WordIndex", Kind::Boolean, &SetUp::CreateWordIndex),
        field("CreateWordMaxWords", Kind::Number, &SetUp::CreateWordMaxWords, -1),
        field("ExtractTextOnly", Kind::Boolean, &SetUp::ExtractTextOnly),
        field("ExtractTextOnlyFrom", Kind::Text, &SetUp::ExtractTextOnlyFrom),
        field("ImportPreviewText", Kind::Boolean, &SetUp::ImportPreviewText),
        field("ImportPreviewImage", Kind::Boolean, &SetUp::ImportPreviewImage),
        field("PreviewMaxSize", Kind::Number, &SetUp::ImportPreviewMaxSize),
        field("LastGroupSelected", Kind::Text, &SetUp::LastGroupSelected),
        field("LastBackupWarning", Kind::DateValue, &SetUp::LastBackupWarning),
        field("LastCompressWarning", Kind::DateValue, &SetUp::LastCompressWarning),
        field("CleanJunk", Kind::DateValue, &SetUp::CleanJunk),
    };
    return list;
}

QString shown(const QJsonValue& v) {
    if (v.isBool())
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toVariant().toString();
}

const Setting& find(const QString& key) {
    for (const Setting& s : settings())
        if (key.compare(QLatin1String(s.key), Qt::CaseInsensitive) == 0)
            return s;
    throw UsageError(
        QStringLiteral("unknown setting \"%1\" (run 'quorvane-cli settings' for the list)")
            .arg(key));
}

QJsonValue parseValue(const Setting& s, const QString& text) {
    const QString t = text.trimmed().toLower();
    switch (s.kind) {
    case Kind::Boolean:
        if (t == "true" || t == "yes" || t == "on" || t == "1" || t == "-1")
            return true;
        if (t == "false" || t == "no" || t == "off" || t == "0")
            return false;
        throw UsageError(QStringLiteral("%1 takes true or false, not \"%2\"").arg(s.key, text));
    case Kind::Number: {
        bool ok = false;
        const int n = t.toInt(&ok);
        if (!ok || n < s.minimum || n > 32767)
            throw UsageError(QStringLiteral("%1 takes a whole number from %2 to 32767, not \"%3\"")
                                 .arg(s.key)
                                 .arg(s.minimum)
                                 .arg(text));
        return n;
    }
    case Kind::Text:
        return text.trimmed();
    case Kind::DateValue:
        if (!settingsDate(text))
            throw UsageError(
                QStringLiteral("%1 takes a date yyyy-MM-dd, not \"%2\"").arg(s.key, text));
        return text.trimmed();
    }
    return {};
}

} // namespace

int runSettings(const QStringList& args) {
    const ParsedArgs a = parseArgs(args, {{QStringLiteral("json")}});
    if (a.has(QStringLiteral("help")))
        return printHelp(kHelp);
    const QStringList& p = a.positionals;
    if (p.size() > 2)
        throw UsageError(QStringLiteral("settings takes at most KEY and VALUE (try --help)"));
    Impostazioni store;
    SetUp values = store.get_Values(true);
    if (p.isEmpty()) {
        QJsonObject o;
        QString text;
        for (const Setting& s : settings()) {
            o.insert(QLatin1String(s.key), s.get(values));
            text += QStringLiteral("%1=%2\n").arg(QLatin1String(s.key), shown(s.get(values)));
        }
        a.has(QStringLiteral("json")) ? printJson(QJsonDocument(o)) : printOut(text);
        return ExitOk;
    }
    const Setting& s = find(p.first());
    if (p.size() == 1) {
        if (a.has(QStringLiteral("json")))
            printJson(QJsonDocument(QJsonObject{{QLatin1String(s.key), s.get(values)}}));
        else
            printOut(shown(s.get(values)));
        return ExitOk;
    }
    s.set(values, parseValue(s, p.at(1)));
    if (!store.set_Values(values, true))
        throw WorkError(QStringLiteral("cannot write %1").arg(Impostazioni::settingsFile()));
    printMessage(QStringLiteral("%1 set to %2").arg(QLatin1String(s.key), shown(s.get(values))));
    return ExitOk;
}

} // namespace QuorvaneCli
