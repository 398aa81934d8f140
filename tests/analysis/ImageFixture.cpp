#include "ImageFixture.h"

#include "TestEnvironment.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>
#include <cstdlib>

namespace ImageFixture {

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb(x * 255 / qMax(1, width - 1), y * 255 / qMax(1, height - 1), 96));
    return image;
}

QImage checkerboard(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

QByteArray encode(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

namespace {
// Packs LZW codes of a fixed width, least significant bit first.
class BitWriter {
public:
    void put(int code, int width) {
        for (int i = 0; i < width; ++i) {
            if (m_bit == 0)
                m_bytes.append('\0');
            if (code & (1 << i))
                m_bytes[m_bytes.size() - 1] = char(m_bytes.back() | (1 << m_bit));
            m_bit = (m_bit + 1) % 8;
        }
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    int m_bit = 0;
};

void le16(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}
} // namespace

// Every two pixels a clear code keeps the code width at 3 bits, so no real
// compression is needed to make a valid file.
QByteArray gif(const QImage& image) {
    const int w = image.width(), h = image.height();
    QByteArray out = "GIF89a";
    le16(out, w);
    le16(out, h);
    out.append(char(0x81)); // global colour table of 4 entries
    out.append('\0');
    out.append('\0');
    out.append(QByteArray::fromHex("000000ff000000ff00ffffff"));
    out.append(',');
    le16(out, 0);
    le16(out, 0);
    le16(out, w);
    le16(out, h);
    out.append('\0');
    out.append(char(2)); // minimum code size
    BitWriter bits;
    const int clear = 4, end = 5;
    for (int i = 0; i < w * h; ++i) {
        if (i % 2 == 0)
            bits.put(clear, 3);
        const QRgb c = image.pixel(i % w, i / w);
        const int index = (qRed(c) > 127 ? 1 : 0) | (qGreen(c) > 127 ? 2 : 0);
        bits.put(index == 3 ? 3 : index, 3);
    }
    bits.put(end, 3);
    const QByteArray data = bits.bytes();
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const QByteArray block = data.mid(pos, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    out.append(';');
    return out;
}

QByteArray withJpegSize(QByteArray jpeg, int width, int height) {
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<quint8>(jpeg[i + 1]);
        if (static_cast<quint8>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            qToBigEndian<quint16>(height, jpeg.data() + i + 5);
            qToBigEndian<quint16>(width, jpeg.data() + i + 7);
            break;
        }
    }
    return jpeg;
}

QByteArray withBmpSize(QByteArray bmp, int width, int height) {
    qToLittleEndian<qint32>(width, bmp.data() + 18);
    qToLittleEndian<qint32>(height, bmp.data() + 22);
    return bmp;
}

QString write(const QByteArray& data, const QString& name) {
    const QString path = QuorvaneTest::makeTempFolder(QStringLiteral("qv-img")) + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return {};
    return path;
}

double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size() || x.isNull())
        return 1e9;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace ImageFixture
