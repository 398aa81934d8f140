// Feeds arbitrary bytes to the type rules and to word splitting: the first
// byte picks the word length bounds, the next few bytes a file name ending,
// the rest is the file's content.

#include "NX_TextExtractor.h"

#include <cstddef>
#include <cstdint>

using namespace NX_TextExtractor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const int smaller = int(data[0] % 8) - 2;
    const int larger = int(data[0] / 8) % 32;
    const size_t nameLen = data[1] % 8;
    if (size < 2 + nameLen)
        return 0;
    const QByteArrayView name(reinterpret_cast<const char*>(data + 2), qsizetype(nameLen));
    const QByteArrayView content(reinterpret_cast<const char*>(data + 2 + nameLen),
                                 qsizetype(size - 2 - nameLen));

    const FileType type = Extractor::classifyHead(content, fromWindows1252(name));
    if (type.Type == TypesFile::TextFile || type.Type == TypesFile::UnknownBinaryFile ||
        type.Type == TypesFile::UnknownTextFile)
        __builtin_trap(); // never returned by the rules

    const QString text = fromWindows1252(content);
    const QStringList words = Extractor::splitWords(text, smaller, larger);
    for (const QString& w : words) {
        if (w.isEmpty() || w.size() <= smaller || w.size() > larger)
            __builtin_trap();
        for (const QChar c : w)
            if (c < u'a' || c > u'z')
                __builtin_trap();
    }
    const QString normal = Extractor::normalizeBlanks(text);
    if (normal.startsWith(u' ') || normal.endsWith(u' ') || normal.size() > text.size())
        __builtin_trap();
    return 0;
}
