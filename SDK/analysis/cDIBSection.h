#pragma once
// An off-screen 24-bit picture: loaded from a file, scaled into thumbnails and
// painted onto a QPainter. Rows are 3 bytes a pixel (red, green, blue), each
// row padded to a multiple of 4 bytes; rows run top to bottom.
// Sizes are capped (ImageLimits.h) so that a file claiming an enormous size
// gives false instead of exhausting memory. Nothing here throws.

#include "foundation/Enums.h"

#include <QImage>
#include <QString>
#include <memory>

class QPainter;
class QPaintDevice;

namespace QuorvaneSDK {

class cDIBSection {
public:
    // Plain copy; other raster operations are mapped to QPainter's.
    static constexpr qint32 SRCCOPY = 0x00CC0020;

    cDIBSection() = default;

    // A new black picture of that size, replacing any previous content.
    bool Create(qint32 Width, qint32 Height);
    // Makes a black 24-bit image of that size in hDIB; false when the size is
    // not positive or above the cap.
    bool CreateDIB(qint32 Width, qint32 Height, QImage& hDIB) const;
    // Loads a BMP, GIF or JPEG file (the format found from the content); an
    // icon, a vector picture or any other format gives false.
    bool CreateFromFile(const QString& FileName);
    // Copies the given part of a picture 1:1 into a new picture of that size;
    // a negative width or height means the picture's own. Whatever lies
    // outside the picture stays black.
    bool CreateFromHandle(const QImage& hImage, qint32 lSrcLeft = 0, qint32 lSrcTop = 0,
                          qint32 lSrcWidth = -1, qint32 lSrcHeight = -1);
    bool CreateFromPicture(const QImage& picThis, qint32 lSrcLeft = 0, qint32 lSrcTop = 0,
                           qint32 lSrcWidth = -1, qint32 lSrcHeight = -1);

    // The picture scaled by averaging: to exactly the box when AutoFitSize is
    // false, else by one whole-number factor (see ThumbnailSize); nothing when
    // this picture is empty.
    std::shared_ptr<cDIBSection> GetThumbnailDIB(qint32 thumbWidth, qint32 thumbHeight,
                                                 bool AutoFitSize = true) const;
    // The size GetThumbnailDIB gives an image of that size (empty when none).
    static QSize ThumbnailSize(QSize image, qint32 thumbWidth, qint32 thumbHeight,
                               bool AutoFitSize = true);

    // Copies pixels of another picture into this one, 1:1; a negative width or
    // height means this picture's own.
    bool LoadPictureBlt(const QImage& lSrcDC, qint32 lDestLeft = 0, qint32 lDestTop = 0,
                        qint32 lDestWidth = -1, qint32 lDestHeight = -1, qint32 lSrcLeft = 0,
                        qint32 lSrcTop = 0, qint32 eRop = SRCCOPY);
    // Paints this picture onto the painter's device: APIBitBlt copies 1:1,
    // APIStretchBlt stretches the source rectangle onto the destination with
    // averaging; any other mode paints nothing and gives false.
    bool PaintPicture(QPainter* lhDC, UseAPIPaintPicture APIProc = UseAPIPaintPicture::APIBitBlt,
                      qint32 lDestLeft = 0, qint32 lDestTop = 0, qint32 lDestWidth = -1,
                      qint32 lDestHeight = -1, qint32 lSrcLeft = 0, qint32 lSrcTop = 0,
                      qint32 lSrcWidth = -1, qint32 lSrcHeight = -1, qint32 eRop = SRCCOPY) const;

    // Releases the picture; the object is empty afterwards.
    void ClearUp();

    qint32 Width() const { return m_image.width(); }
    qint32 Height() const { return m_image.height(); }
    qint32 BytesPerScanLine() const;
    qint32 ColorBit() const { return 24; }
    qint32 DataSize() const { return BytesPerScanLine() * Height(); }
    // The picture as something a QPainter can draw on (null when empty).
    QPaintDevice* hDC();
    // The picture itself (a null image when empty).
    const QImage& hDIB() const { return m_image; }
    // First byte of the pixel rows, nullptr when empty.
    uchar* DIBSectionBitsPtr();
    bool isEmpty() const { return m_image.isNull(); }

private:
    bool copyFrom(const QImage& source, qint32 left, qint32 top, qint32 width, qint32 height);

    QImage m_image; // Format_RGB888, or null
};

} // namespace QuorvaneSDK
