#pragma once

#include <QString>
#include <QStringList>

// The upgrade scripts that ship inside the library (Qt resources under
// ":/dati/Access" and ":/dati/SqlServer") and their copies on disk.
namespace QuorvaneSDK {

// The resource folder of the shipped scripts (":/dati").
QString shippedScriptsRoot();

// Copies every shipped file to <base>/dati/<dialect folder>/ when no file of
// that name is there; files already present are left alone, so an edited or
// added script is never overwritten. Returns the problems met (empty when
// everything is in place).
QStringList installShippedScripts(const QString& base);

} // namespace QuorvaneSDK
