#include "analysis/ImageLimits.h"

#include <QImageReader>
#include <QPainter>

namespace QuorvaneSDK::Analysis {

bool sizeAllowed(QSize size, qint64 maxPixels) {
    return size.width() > 0 && size.height() > 0 &&
           static_cast<qint64>(size.width()) * size.height() <= maxPixels;
}

void limitReader(QImageReader& reader) {
    // Decoders work in 32 bits a pixel before the conversion to 24 bits.
    constexpr qint64 bytes = kMaxDecodedPixels * 4;
    reader.setAllocationLimit(static_cast<int>(bytes / (1024 * 1024)) + 16);
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
