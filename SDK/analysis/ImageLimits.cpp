#include "analysis/ImageLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace QuorvaneSDK::Analysis {

bool sizeAllowed(QSize size, qint64 maxPixels) {
    return size.width() > 0 && size.height() > 0 &&
           static_cast<qint64>(size.width()) * size.height() <= maxPixels;
}

namespace {
bool bmpDataComplete(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(34);
    if (head.size() < 26 || !head.startsWith("BM"))
        return true;
    const auto* b = reinterpret_cast<const uchar*>(head.constData());
    const qint64 dataOffset = qFromLittleEndian<quint32>(b + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(b + 14);
    qint64 width = 0, height = 0, bits = 0;
    quint32 compression = 0;
    if (headerSize == 12) { // the old OS/2 header: 16-bit sizes, never compressed
        width = qFromLittleEndian<quint16>(b + 18);
        height = qFromLittleEndian<quint16>(b + 20);
        bits = qFromLittleEndian<quint16>(b + 24);
    } else if (headerSize >= 40 && head.size() >= 34) {
        width = qFromLittleEndian<qint32>(b + 18);
        height = qAbs(static_cast<qint64>(qFromLittleEndian<qint32>(b + 22)));
        bits = qFromLittleEndian<quint16>(b + 28);
        compression = qFromLittleEndian<quint32>(b + 30);
    } else {
        return true;
    }
    // Run-length and embedded JPEG/PNG data may legitimately be short.
    if (compression != 0 && compression != 3 && compression != 6)
        return true;
    const qint64 stride = ((bits * width + 31) / 32) * 4;
    return file.size() >= dataOffset + stride * height;
}
} // namespace

bool holdsEnoughData(const QString& fileName, const QByteArray& format, QSize size) {
    if (format == "bmp")
        return bmpDataComplete(fileName);
    if (format == "jpeg" || format == "jpg") {
        const qint64 pixels = static_cast<qint64>(size.width()) * size.height();
        return QFileInfo(fileName).size() >= pixels / 4096;
    }
    return true;
}

void limitReader(QImageReader& reader) {
    // Decoders work in 32 bits a pixel before the conversion to 24 bits.
    constexpr qint64 bytes = kMaxDecodedPixels * 4;
    reader.setAllocationLimit(static_cast<int>(bytes / (1024 * 1024)) + 16);
}

QImage smoothScaled(const QImage& image, QSize size) {
    const QImage::Format format = image.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
        format == QImage::Format_ARGB32_Premultiplied)
        return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image
        .convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                 : QImage::Format_RGB32)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage toPicture(QImage image) {
    if (image.isNull())
        return {};
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), kPictureFormat);
        flat.fill(Qt::black);
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
        painter.end();
        return flat;
    }
    if (image.format() != kPictureFormat)
        image.convertTo(kPictureFormat);
    return image;
}

} // namespace QuorvaneSDK::Analysis
