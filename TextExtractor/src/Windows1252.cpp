#include "NX_TextExtractor/Windows1252.h"

namespace NX_TextExtractor {

namespace {
// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
struct Table {
    char16_t map[256];
    constexpr Table() : map() {
        for (int i = 0; i < 256; ++i)
            map[i] = (i >= 0x80 && i < 0xA0) ? kHighControls[i - 0x80] : char16_t(i);
    }
};
constexpr Table kTable;
} // namespace

char16_t fromWindows1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

QString fromWindows1252(QByteArrayView bytes, bool dropNul) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    qsizetype n = 0;
    if (dropNul) {
        for (const char c : bytes)
            if (c != 0)
                dst[n++] = QChar(kTable.map[static_cast<unsigned char>(c)]);
    } else {
        for (const char c : bytes)
            dst[n++] = QChar(kTable.map[static_cast<unsigned char>(c)]);
    }
    out.truncate(n);
    return out;
}

} // namespace NX_TextExtractor
