// Feeds arbitrary bytes to the Word 97-2003 reader as a whole file.

#include "NX_TextExtractor.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = NX_TextExtractor::WordDocumentReader::extractText(bytes);
    // No text can be longer than the bytes that hold it.
    if (text.size() > qsizetype(size) * 2)
        __builtin_trap();
    return 0;
}
