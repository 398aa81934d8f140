#include "foundation/NX_Ini.h"

#include "foundation/IniDocument.h"

namespace QuorvaneSDK {

namespace {

bool writeKey(const QString& file, const QString& section, const QString& key, const QString& value,
              bool privateFile) {
    IniDocument doc;
    if (!doc.load(file))
        return false;
    if (!doc.setValue(section, key, value))
        return false;
    return doc.save(file, privateFile);
}

} // namespace

QString NX_Ini::ReadValue(const QString& IniFileName, const QString& Application,
                          const QString& Parameter) const {
    IniDocument doc;
    if (!doc.load(IniFileName))
        return QStringLiteral("");
    const QString v = doc.value(Application, Parameter);
    return v.isNull() ? QStringLiteral("") : v;
}

bool NX_Ini::WriteValue(const QString& IniFileName, const QString& Application,
                        const QString& Parameter, const QString& value) {
    return writeKey(IniFileName, Application, Parameter, value, false);
}

bool NX_Ini::WriteValuePrivate(const QString& IniFileName, const QString& Application,
                               const QString& Parameter, const QString& value) {
    return writeKey(IniFileName, Application, Parameter, value, true);
}

bool NX_Ini::DeleteKey(const QString& IniFileName, const QString& Application,
                       const QString& Parameter) {
    QString section = Application.trimmed();
    if (section.startsWith(u'['))
        section.remove(0, 1);
    if (section.endsWith(u']'))
        section.chop(1);
    if (Parameter.trimmed().isEmpty())
        return false;
    IniDocument doc;
    if (!doc.load(IniFileName))
        return false;
    if (!doc.removeKey(section, Parameter))
        return true; // nothing to remove: the key is not there, as asked
    return doc.save(IniFileName);
}

} // namespace QuorvaneSDK
