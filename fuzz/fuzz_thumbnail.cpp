// Feeds arbitrary bytes as a picture file to the loaders and the thumbnail
// maker, the way the catalogue meets pictures on a medium.
#include "analysis/cDIBSection.h"
#include "analysis/mJPEGLibrary.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {
QTemporaryDir* folder = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.gui.imageio*=false");
    // The application lives until the process ends: destroying it from an
    // exit handler, after Qt's own globals are gone, crashes.
    new QGuiApplication(*argc, *argv);
    static QTemporaryDir work;
    folder = &work;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = folder->filePath(QStringLiteral("picture"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    namespace jpeg = QuorvaneSDK::mJPEGLibrary;
    QuorvaneSDK::cDIBSection picture;
    if (!jpeg::LoadJPG(picture, path))
        picture.CreateFromFile(path);
    if (auto thumb = picture.GetThumbnailDIB(250, 250, true)) {
        // A new file each time, as in the work folder (replacing one syncs to disk).
        const QString thumbPath = folder->filePath(QStringLiteral("thumb.jpg"));
        QFile::remove(thumbPath);
        jpeg::SaveJPG(*thumb, thumbPath, 30);
    }
    jpeg::LoadThumbnail(path, 250, 250, true, true);
    return 0;
}
