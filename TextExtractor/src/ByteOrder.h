#pragma once
// Little-endian reads from byte buffers whose bounds the caller has checked.

#include <QtGlobal>

namespace NX_TextExtractor {

inline quint16 le16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return quint16(b[0] | (b[1] << 8));
}

inline quint32 le32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
}

inline quint64 le64(const char* p) {
    return quint64(le32(p)) | (quint64(le32(p + 4)) << 32);
}

} // namespace NX_TextExtractor
