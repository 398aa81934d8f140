#include "analysis/AssociationsClass.h"

#include "analysis/ExtensionMimeType.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace QuorvaneSDK {

namespace {

// Sessions without a desktop (the offscreen platform, a scan started from a
// terminal) name no icon theme; then the installed freedesktop themes serve.
void ensureIconTheme() {
    if (!QIcon::themeName().isEmpty())
        return;
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& dir :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory))
        if (!paths.contains(dir))
            paths.append(dir);
    for (const QString& theme : {QStringLiteral("Adwaita"), QStringLiteral("hicolor")}) {
        for (const QString& base : paths) {
            if (QFileInfo::exists(base + u'/' + theme + QStringLiteral("/index.theme"))) {
                QIcon::setThemeSearchPaths(paths);
                QIcon::setThemeName(theme);
                return;
            }
        }
    }
}

// Icons need a GUI application (a command-line client has none).
QImage themeIcon(const QMimeType& type) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    ensureIconTheme();
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        return {};
    return icon.pixmap(AssociationsClass::IconSize).toImage();
}

} // namespace

void AssociationsClass::GetInfoExtension(const QString& Extension, QString& ExtensionDescription,
                                         QString& ExtType, QImage& SmallIcon) const {
    const QMimeType type = ExtensionMime::typeFor(Extension);
    if (type.isValid()) {
        ExtensionDescription = type.name();
        ExtType = type.name();
    }
    // An unknown extension still gets the icon of unknown files.
    const QImage icon = themeIcon(type.isValid() ? type
                                                 : QMimeDatabase().mimeTypeForName(
                                                       QStringLiteral("application/octet-stream")));
    if (!icon.isNull())
        SmallIcon = icon;
}

QuorvaneSDK::Extension AssociationsClass::get_Info(const QString& extension) const {
    QuorvaneSDK::Extension info;
    info.Extension = ExtensionMime::withDot(extension.toLower());
    GetInfoExtension(info.Extension, info.ExtensionDescription, info.ExtType, info.SmallIcon);
    return info;
}

} // namespace QuorvaneSDK
