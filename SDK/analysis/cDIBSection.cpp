#include "analysis/cDIBSection.h"

#include "analysis/ImageLimits.h"
#include "analysis/mJPEGLibrary.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <cmath>
#include <optional>

namespace QuorvaneSDK {

using namespace Analysis;

namespace {

// Nearest whole number, a tie going to the even one.
qint64 roundEven(double value) {
    return static_cast<qint64>(std::nearbyint(value));
}

std::optional<QPainter::CompositionMode> compositionFor(qint32 rop) {
    switch (static_cast<quint32>(rop)) {
    case 0x00CC0020:
        return QPainter::CompositionMode_Source; // copy
    case 0x00EE0086:
        return QPainter::RasterOp_SourceOrDestination; // paint
    case 0x008800C6:
        return QPainter::RasterOp_SourceAndDestination; // and
    case 0x00660046:
        return QPainter::RasterOp_SourceXorDestination; // invert
    case 0x00330008:
        return QPainter::RasterOp_NotSource; // not copy
    default:
        return std::nullopt;
    }
}

// Formats the general picture loader reads as bitmaps; icons and vector
// pictures are not bitmaps and are refused.
bool isBitmapFormat(const QByteArray& format) {
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "jpg";
}

} // namespace

bool cDIBSection::CreateDIB(qint32 Width, qint32 Height, QImage& hDIB) const {
    if (!sizeAllowed(QSize(Width, Height)))
        return false;
    QImage image(Width, Height, kPictureFormat);
    if (image.isNull())
        return false;
    image.fill(Qt::black);
    hDIB = image;
    return true;
}

bool cDIBSection::Create(qint32 Width, qint32 Height) {
    ClearUp();
    return CreateDIB(Width, Height, m_image);
}

bool cDIBSection::CreateFromFile(const QString& FileName) {
    if (!QFileInfo(FileName).isFile())
        return false;
    QImageReader reader(FileName);
    reader.setDecideFormatFromContent(true);
    limitReader(reader);
    const QByteArray format = reader.format();
    const QSize size = reader.size();
    if (!isBitmapFormat(format) || !sizeAllowed(size) || !holdsEnoughData(FileName, format, size))
        return false;
    QImage image;
    if (!reader.read(&image))
        return false;
    ClearUp();
    m_image = toPicture(std::move(image));
    return !m_image.isNull();
}

bool cDIBSection::CreateFromHandle(const QImage& hImage, qint32 lSrcLeft, qint32 lSrcTop,
                                   qint32 lSrcWidth, qint32 lSrcHeight) {
    return copyFrom(hImage, lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight);
}

bool cDIBSection::CreateFromPicture(const QImage& picThis, qint32 lSrcLeft, qint32 lSrcTop,
                                    qint32 lSrcWidth, qint32 lSrcHeight) {
    return copyFrom(picThis, lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight);
}

// Parts outside the source stay black, as in a fresh picture.
bool cDIBSection::copyFrom(const QImage& source, qint32 left, qint32 top, qint32 width,
                           qint32 height) {
    if (source.isNull())
        return false;
    if (width < 0)
        width = source.width();
    if (height < 0)
        height = source.height();
    const QRect part(left, top, width, height);
    if (part == source.rect() && sizeAllowed(part.size())) {
        ClearUp();
        m_image = toPicture(source);
        return !m_image.isNull();
    }
    if (!Create(width, height))
        return false;
    QPainter painter(&m_image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), source, part);
    return true;
}

QSize cDIBSection::ThumbnailSize(QSize image, qint32 thumbWidth, qint32 thumbHeight,
                                 bool AutoFitSize) {
    const qint64 w = image.width();
    const qint64 h = image.height();
    if (w <= 0 || h <= 0)
        return {};
    if (!AutoFitSize)
        return thumbWidth > 0 && thumbHeight > 0 ? QSize(thumbWidth, thumbHeight) : QSize();
    if (w <= thumbWidth && h <= thumbHeight)
        return image; // never enlarged
    if (thumbWidth <= 0 || thumbHeight <= 0)
        return {};
    qint64 f = 0;
    if (h >= w) {
        f = qMax<qint64>(1, roundEven(double(h) / thumbHeight));
        if (thumbWidth < double(w) / f)
            f = roundEven(double(w) / thumbWidth);
    } else {
        f = qMax<qint64>(1, roundEven(double(w) / thumbWidth));
        if (thumbHeight < double(h) / f)
            f = roundEven(double(h) / thumbHeight);
    }
    // A box that is not square can make f round to 0 on the deciding side.
    f = qMax<qint64>(1, f);
    return QSize(static_cast<int>(qMax<qint64>(1, roundEven(double(w) / f))),
                 static_cast<int>(qMax<qint64>(1, roundEven(double(h) / f))));
}

std::shared_ptr<cDIBSection> cDIBSection::GetThumbnailDIB(qint32 thumbWidth, qint32 thumbHeight,
                                                          bool AutoFitSize) const {
    if (m_image.isNull())
        return nullptr;
    const QSize size = ThumbnailSize(m_image.size(), thumbWidth, thumbHeight, AutoFitSize);
    if (!sizeAllowed(size))
        return nullptr;
    auto thumb = std::make_shared<cDIBSection>();
    thumb->m_image = size == m_image.size() ? m_image : toPicture(smoothScaled(m_image, size));
    if (thumb->m_image.size() != size)
        return nullptr;
    return thumb;
}

bool cDIBSection::LoadPictureBlt(const QImage& lSrcDC, qint32 lDestLeft, qint32 lDestTop,
                                 qint32 lDestWidth, qint32 lDestHeight, qint32 lSrcLeft,
                                 qint32 lSrcTop, qint32 eRop) {
    const auto mode = compositionFor(eRop);
    if (m_image.isNull() || lSrcDC.isNull() || !mode)
        return false;
    if (lDestWidth < 0)
        lDestWidth = m_image.width();
    if (lDestHeight < 0)
        lDestHeight = m_image.height();
    QPainter painter(&m_image);
    painter.setCompositionMode(*mode);
    painter.drawImage(QPoint(lDestLeft, lDestTop), lSrcDC,
                      QRect(lSrcLeft, lSrcTop, lDestWidth, lDestHeight));
    return true;
}

bool cDIBSection::PaintPicture(QPainter* lhDC, UseAPIPaintPicture APIProc, qint32 lDestLeft,
                               qint32 lDestTop, qint32 lDestWidth, qint32 lDestHeight,
                               qint32 lSrcLeft, qint32 lSrcTop, qint32 lSrcWidth, qint32 lSrcHeight,
                               qint32 eRop) const {
    const auto mode = compositionFor(eRop);
    if (!lhDC || !lhDC->isActive() || m_image.isNull() || !mode)
        return false;
    if (APIProc != UseAPIPaintPicture::APIBitBlt && APIProc != UseAPIPaintPicture::APIStretchBlt)
        return false;
    if (lDestWidth < 0)
        lDestWidth = m_image.width();
    if (lDestHeight < 0)
        lDestHeight = m_image.height();
    if (lSrcWidth < 0)
        lSrcWidth = m_image.width();
    if (lSrcHeight < 0)
        lSrcHeight = m_image.height();

    lhDC->save();
    lhDC->setCompositionMode(*mode);
    bool painted = true;
    if (APIProc == UseAPIPaintPicture::APIBitBlt) {
        lhDC->drawImage(QPoint(lDestLeft, lDestTop), m_image,
                        QRect(lSrcLeft, lSrcTop, lDestWidth, lDestHeight));
    } else if (lDestWidth > 0 && lDestHeight > 0) {
        // Averaging rather than the painter's bilinear filter, which skips
        // pixels when it shrinks a picture a lot.
        const QSize dest(lDestWidth, lDestHeight);
        painted = sizeAllowed(dest);
        if (painted) {
            const QImage part = m_image.copy(lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight);
            lhDC->drawImage(QPoint(lDestLeft, lDestTop), smoothScaled(part, dest));
        }
    }
    lhDC->restore();
    return painted;
}

void cDIBSection::ClearUp() {
    m_image = QImage();
}

qint32 cDIBSection::BytesPerScanLine() const {
    const qint64 w = m_image.width();
    return w <= 0 ? 0 : static_cast<qint32>(((24 * w + 31) / 32) * 4);
}

QPaintDevice* cDIBSection::hDC() {
    return m_image.isNull() ? nullptr : &m_image;
}

uchar* cDIBSection::DIBSectionBitsPtr() {
    return m_image.isNull() ? nullptr : m_image.bits();
}

} // namespace QuorvaneSDK
