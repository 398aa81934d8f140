#pragma once
// Pictures for the thumbnail tests, made by code: gradients and checkerboards
// written as JPEG, BMP, GIF or icon files, and headers that lie about the size.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace ImageFixture {

// A colour gradient (red across, green down), 32-bit.
QImage gradient(int width, int height);
// Black and white squares of one pixel.
QImage checkerboard(int width, int height);

// Encodes with Qt ("jpeg", "bmp", "png", "ico"); empty on failure.
QByteArray encode(const QImage& image, const char* format, int quality = 90);
// A GIF of the image reduced to four colours (black, red, green, white).
QByteArray gif(const QImage& image);

// The JPEG with the size in its frame header replaced.
QByteArray withJpegSize(QByteArray jpeg, int width, int height);
// The BMP with the size in its info header replaced.
QByteArray withBmpSize(QByteArray bmp, int width, int height);

// Writes the bytes to a new file in a fresh temporary folder.
QString write(const QByteArray& data, const QString& name);

// Mean absolute difference of the colour channels of two same-sized images.
double meanDifference(const QImage& a, const QImage& b);

} // namespace ImageFixture
