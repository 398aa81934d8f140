#include "analysis/mJPEGLibrary.h"

#include "analysis/ImageLimits.h"
#include "analysis/cDIBSection.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace QuorvaneSDK::mJPEGLibrary {

using namespace Analysis;

namespace {

// A JPEG reader that does not fall back to other formats.
void prepareJpegReader(QImageReader& reader) {
    reader.setFormat("jpeg");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    limitReader(reader);
}

QString errorSource() {
    QString program = QStringLiteral("Quorvane");
    if (QCoreApplication::instance())
        program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return program + QStringLiteral(".mIntelJPEGLibrary");
}

bool fail(ErrorObject* error, int code) {
    if (error) {
        *error = ErrorObject();
        error->Number = SaveErrorNumber;
        error->Source = errorSource();
        error->Description = QStringLiteral("Failed to save to JPG ") + QString::number(code);
        error->OccuredOn = Date::now();
    }
    return false;
}

// Codes reported after "Failed to save to JPG ": never 0.
constexpr int kNoPicture = -1;
constexpr int kReadOnlyTarget = -2;
constexpr int kEncodeFailed = -3;
constexpr int kCommitFailed = -4;

int encodeTo(QIODevice& device, const QImage& image, int quality) {
    QImageWriter writer(&device, "jpeg");
    writer.setQuality(qBound(1, quality, 100));
    if (writer.write(image))
        return 0;
    return writer.error() != QImageWriter::UnknownError ? static_cast<int>(writer.error())
                                                        : kEncodeFailed;
}

int fileErrorCode(const QFileDevice& file) {
    return file.error() != QFileDevice::NoError ? static_cast<int>(file.error()) : kCommitFailed;
}

// An existing file is replaced through a temporary file in the same folder,
// only once the new content is complete and on disk. A new file (a thumbnail
// in the work folder) is written directly and removed again if that fails.
int writeJpeg(const QImage& image, const QString& fileName, int quality, bool replacing) {
    if (replacing) {
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            return fileErrorCode(file);
        const int code = encodeTo(file, image, quality);
        if (code != 0) {
            file.cancelWriting();
            return code;
        }
        return file.commit() ? 0 : fileErrorCode(file);
    }
    QFile file(fileName);
    if (!file.open(QIODevice::NewOnly))
        return fileErrorCode(file);
    int code = encodeTo(file, image, quality);
    file.close();
    if (code == 0 && file.error() != QFileDevice::NoError)
        code = fileErrorCode(file);
    if (code != 0)
        file.remove();
    return code;
}

} // namespace

bool LoadJPG(cDIBSection& target, const QString& fileName) {
    if (!QFileInfo(fileName).isFile())
        return false;
    QImageReader reader(fileName);
    prepareJpegReader(reader);
    if (!reader.canRead() || !sizeAllowed(reader.size()) ||
        !holdsEnoughData(fileName, "jpeg", reader.size()))
        return false;
    QImage image;
    if (!reader.read(&image))
        return false;
    return target.CreateFromPicture(image);
}

bool SaveJPG(const cDIBSection& source, const QString& fileName, qint32 quality,
             ErrorObject* error) {
    if (source.isEmpty())
        return fail(error, kNoPicture);
    const QByteArray path = QFile::encodeName(fileName);
    struct stat before {};
    const bool existed = ::stat(path.constData(), &before) == 0;
    // A read-only file (owner write bit clear) is never replaced, not even
    // by a process whose rights would allow it.
    if (existed && (!S_ISREG(before.st_mode) || (before.st_mode & S_IWUSR) == 0))
        return fail(error, kReadOnlyTarget);

    const int code = writeJpeg(source.hDIB(), fileName, quality, existed);
    if (code != 0)
        return fail(error, code);

    if (existed) {
        // The replaced file's times and permissions carry over; its birth
        // time cannot be set on Linux.
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ::utimensat(AT_FDCWD, path.constData(), times, 0);
        ::chmod(path.constData(), before.st_mode & 07777);
    }
    return true;
}

std::shared_ptr<cDIBSection> LoadThumbnail(const QString& fileName, qint32 thumbWidth,
                                           qint32 thumbHeight, bool AutoFitSize,
                                           bool scaledDecoding) {
    if (!QFileInfo(fileName).isFile())
        return nullptr;
    QImageReader reader(fileName);
    prepareJpegReader(reader);
    if (!reader.canRead()) {
        cDIBSection picture;
        if (!picture.CreateFromFile(fileName))
            return nullptr;
        return picture.GetThumbnailDIB(thumbWidth, thumbHeight, AutoFitSize);
    }

    const QSize full = reader.size();
    if (!sizeAllowed(full, kMaxScaledSourcePixels) || !holdsEnoughData(fileName, "jpeg", full))
        return nullptr;
    const QSize thumb = cDIBSection::ThumbnailSize(full, thumbWidth, thumbHeight, AutoFitSize);
    if (thumb.isEmpty())
        return nullptr;
    // The largest reduction the decoder offers that keeps the thumbnail's size;
    // the last step is the same averaging as for a fully decoded picture.
    int divisor = 1;
    for (int d : {8, 4, 2}) {
        if (scaledDecoding && full.width() / d >= thumb.width() &&
            full.height() / d >= thumb.height()) {
            divisor = d;
            break;
        }
    }
    const QSize decoded(full.width() / divisor, full.height() / divisor);
    if (!sizeAllowed(decoded))
        return nullptr;
    if (divisor > 1)
        reader.setScaledSize(decoded);
    QImage image;
    if (!reader.read(&image))
        return nullptr;
    auto result = std::make_shared<cDIBSection>();
    if (!result->CreateFromPicture(image.size() == thumb ? image : smoothScaled(image, thumb)))
        return nullptr;
    return result;
}

} // namespace QuorvaneSDK::mJPEGLibrary
