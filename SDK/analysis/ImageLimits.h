#pragma once
// Bounds on the pictures the analysis classes decode. A file's header can
// claim any size (30,000 x 30,000 is 2.7 GB of pixels); the size is checked
// before anything is decoded, and Qt's own allocation limit backs it up.

#include <QImage>
#include <QSize>

class QImageReader;

namespace QuorvaneSDK::Analysis {

// Largest picture held in memory (64 megapixels: 192 MB at 24 bits).
constexpr qint64 kMaxDecodedPixels = 64LL * 1024 * 1024;
// Largest JPEG accepted when it can be decoded at a reduced scale for a
// thumbnail (128 megapixels); the decoded picture still obeys the cap above.
constexpr qint64 kMaxScaledSourcePixels = 128LL * 1024 * 1024;

constexpr QImage::Format kPictureFormat = QImage::Format_RGB888;

bool sizeAllowed(QSize size, qint64 maxPixels = kMaxDecodedPixels);

// False when the file is far too short for the size its header claims, so
// that decoding it would mostly invent pixels at the cost of seconds: an
// uncompressed BMP shorter than its pixel rows (a 57-byte file claiming
// 56,360 x 1,054 pixels), a JPEG with less than a sixteenth of the two bits
// per 8 x 8 block that even the flattest picture needs. True otherwise.
bool holdsEnoughData(const QString& fileName, const QByteArray& format, QSize size);

// Sets the reader's allocation limit to what a capped picture needs.
void limitReader(QImageReader& reader);

// The image scaled to size by averaging. Qt's averaging scaler is some
// twenty times slower on 24-bit pixels than on 32-bit ones, so the work is
// done in 32 bits; the result is 32-bit.
QImage smoothScaled(const QImage& image, QSize size);

// The image as a 24-bit picture; transparent parts are laid on black, the
// colour of a fresh picture. Null when the image is null.
QImage toPicture(QImage image);

} // namespace QuorvaneSDK::Analysis
