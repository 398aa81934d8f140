#include "foundation/Impostazioni.h"

#include "foundation/BaseFolder.h"
#include "foundation/IniDocument.h"
#include "foundation/Istanza.h"
#include "foundation/Misc.h"
#include "foundation/Reporting.h"
#include "foundation/SettingsText.h"

#include <mutex>

namespace QuorvaneSDK {

namespace {

const QString kRemind = QStringLiteral("Remind");
const QString kPreferences = QStringLiteral("Preferences");

std::mutex& sharedMutex() {
    static std::mutex m;
    return m;
}

SetUp& sharedRecord() {
    static SetUp record;
    return record;
}

// The error report names the program's version as the program last handed
// it over.
const bool kReportsKnowProgramVersion = [] {
    reportContext().programVersion = [] {
        std::lock_guard lock(sharedMutex());
        return sharedRecord().VersioneQuorvane;
    };
    return true;
}();

// Reads the persisted fields from the document, each with its own default.
// Dates missing from the file are today's and are collected in *dirty so
// the caller writes them back.
class FieldReader {
public:
    FieldReader(IniDocument& doc, bool* dirty) : doc_(doc), dirty_(dirty) {}

    void date(const QString& section, const QString& key, Date& field) {
        const QString text = raw(section, key);
        if (text.isEmpty()) {
            field = Date::today();
            doc_.setValue(section, key, settingsDateText(field));
            *dirty_ = true;
            return;
        }
        field = settingsDate(text).value_or(Date());
    }
    void boolean(const QString& key, bool& field, bool fallback) {
        const QString text = raw(kPreferences, key);
        field = text.isEmpty() ? fallback : settingsBool(text);
    }
    // A value that is not numeric reads as 0; one outside 0..32767 gets the
    // default, so a single bad key never costs the other settings.
    void number(const QString& key, qint16& field, qint16 fallback) {
        const QString text = raw(kPreferences, key);
        field = text.isEmpty() ? fallback : settingsInt16(text, 0, 32767).value_or(fallback);
    }
    void text(const QString& key, QString& field, const QString& fallback) {
        const QString text = raw(kPreferences, key);
        field = text.isEmpty() ? fallback : text;
    }

private:
    QString raw(const QString& section, const QString& key) const {
        return doc_.value(section, key).trimmed();
    }
    IniDocument& doc_;
    bool* dirty_;
};

SetUp rebuild(const SetUp& previous) {
    SetUp record = Impostazioni::defaults();
    record.VersioneQuorvaneSDK = Misc::SDK_Version();
    record.VersioneQuorvane = previous.VersioneQuorvane;
    const Istanza instance;
    record.Istanza = instance.get_Istanza(instance.get_IstanzaLocale());

    IniDocument doc;
    const QString file = Impostazioni::settingsFile();
    if (!doc.load(file)) {
        ErrorObject e =
            captureError(5, QStringLiteral("QuorvaneSDK"), QStringLiteral("Cannot read ") + file);
        reportError(e, QStringLiteral("QuorvaneSDK"),
                    QStringLiteral("Impostazioni.get_ImpostazioniClient"));
        return record;
    }
    const SetUp d = Impostazioni::defaults();
    bool dirty = false;
    FieldReader r(doc, &dirty);
    r.date(kRemind, QStringLiteral("LastBackupWarning"), record.LastBackupWarning);
    r.date(kPreferences, QStringLiteral("LastCompressWarning"), record.LastCompressWarning);
    r.date(kRemind, QStringLiteral("CleanJunk"), record.CleanJunk);
    r.boolean(QStringLiteral("WordIndex"), record.CreateWordIndex, d.CreateWordIndex);
    r.boolean(QStringLiteral("ScanCompressedFiles"), record.ScanCompressedFiles,
              d.ScanCompressedFiles);
    r.number(QStringLiteral("ScanCompressedFilesMaxSize"), record.ScanCompressedFilesMaxSize,
             d.ScanCompressedFilesMaxSize);
    r.number(QStringLiteral("CreateWordMaxWords"), record.CreateWordMaxWords, d.CreateWordMaxWords);
    r.boolean(QStringLiteral("ExtractTextOnly"), record.ExtractTextOnly, d.ExtractTextOnly);
    r.text(QStringLiteral("ExtractTextOnlyFrom"), record.ExtractTextOnlyFrom,
           d.ExtractTextOnlyFrom);
    record.ExtractTextOnlyFrom = record.ExtractTextOnlyFrom.toLower();
    r.boolean(QStringLiteral("ImportPreviewText"), record.ImportPreviewText, d.ImportPreviewText);
    r.boolean(QStringLiteral("ImportPreviewImage"), record.ImportPreviewImage,
              d.ImportPreviewImage);
    r.number(QStringLiteral("PreviewMaxSize"), record.ImportPreviewMaxSize, d.ImportPreviewMaxSize);
    r.text(QStringLiteral("LastGroupSelected"), record.LastGroupSelected, QString());
    r.boolean(QStringLiteral("ScanOnlyFolders"), record.ScanOnlyFolders, d.ScanOnlyFolders);
    r.boolean(QStringLiteral("ScanSubFolders"), record.ScanSubFolders, d.ScanSubFolders);
    if (dirty)
        doc.save(file); // a failed write-back is not reported
    return record;
}

bool writeFields(const SetUp& v) {
    IniDocument doc;
    const QString file = Impostazioni::settingsFile();
    if (!doc.load(file))
        return false;
    const auto pref = [&](const char* key, const QString& value) {
        doc.setValue(kPreferences, QLatin1String(key), value);
    };
    doc.setValue(kRemind, QStringLiteral("LastBackupWarning"),
                 settingsDateText(v.LastBackupWarning));
    pref("LastCompressWarning", settingsDateText(v.LastCompressWarning));
    doc.setValue(kRemind, QStringLiteral("CleanJunk"), settingsDateText(v.CleanJunk));
    pref("WordIndex", settingsBoolText(v.CreateWordIndex));
    pref("ScanCompressedFiles", settingsBoolText(v.ScanCompressedFiles));
    pref("ScanCompressedFilesMaxSize", QString::number(v.ScanCompressedFilesMaxSize));
    pref("CreateWordMaxWords", QString::number(v.CreateWordMaxWords));
    pref("ExtractTextOnly", settingsBoolText(v.ExtractTextOnly));
    pref("ExtractTextOnlyFrom", v.ExtractTextOnlyFrom);
    pref("ImportPreviewText", settingsBoolText(v.ImportPreviewText));
    pref("ImportPreviewImage", settingsBoolText(v.ImportPreviewImage));
    pref("PreviewMaxSize", QString::number(v.ImportPreviewMaxSize));
    pref("LastGroupSelected", v.LastGroupSelected);
    pref("ScanOnlyFolders", settingsBoolText(v.ScanOnlyFolders));
    pref("ScanSubFolders", settingsBoolText(v.ScanSubFolders));
    return doc.save(file);
}

} // namespace

QString Impostazioni::settingsFile() {
    return baseFolder() + QStringLiteral("/Quorvane.ini");
}

SetUp Impostazioni::defaults() {
    SetUp d;
    d.ScanCompressedFiles = false;
    d.ScanCompressedFilesMaxSize = 100;
    d.CreateWordIndex = false;
    d.CreateWordMaxWords = 200;
    d.ExtractTextOnly = true;
    d.ExtractTextOnlyFrom = QStringLiteral("txt,diz,nfo,doc");
    d.ImportPreviewText = true;
    d.ImportPreviewImage = true;
    d.ImportPreviewMaxSize = 10;
    d.ScanSubFolders = true;
    // Folders only would catalogue a medium without a single file: a fresh
    // installation records files.
    d.ScanOnlyFolders = false;
    d.LastBackupWarning = d.LastCompressWarning = d.CleanJunk = Date::today();
    return d;
}

SetUp Impostazioni::get_Values(bool ReadFromDB) {
    if (!loaded_ || ReadFromDB) {
        SetUp previous;
        {
            std::lock_guard lock(sharedMutex());
            previous = sharedRecord();
        }
        SetUp fresh;
        try {
            fresh = rebuild(previous);
        } catch (const std::exception& ex) {
            ErrorObject e = captureException(ex, QStringLiteral("QuorvaneSDK"));
            reportError(e, QStringLiteral("QuorvaneSDK"),
                        QStringLiteral("Impostazioni.get_ImpostazioniClient"));
            fresh = defaults();
            fresh.VersioneQuorvane = previous.VersioneQuorvane;
        }
        std::lock_guard lock(sharedMutex());
        sharedRecord() = fresh;
        loaded_ = true;
    }
    std::lock_guard lock(sharedMutex());
    sharedRecord().VersioneQuorvaneSDK = Misc::SDK_Version();
    return sharedRecord();
}

bool Impostazioni::set_Values(SetUp& Values, bool WriteOnDB) {
    Values.VersioneQuorvaneSDK = Misc::SDK_Version();
    {
        std::lock_guard lock(sharedMutex());
        sharedRecord() = Values;
    }
    // What was just set is this object's view now; reloading the file on the
    // next get would hand back older values.
    loaded_ = true;
    if (!WriteOnDB)
        return true;
    return writeFields(Values);
}

} // namespace QuorvaneSDK
