#pragma once
// Text read from files is decoded one byte per character as Windows-1252,
// the ANSI code page this system uses for raw bytes.

#include <QByteArrayView>
#include <QString>

namespace NX_TextExtractor {

// The character a single Windows-1252 byte stands for. The five bytes the
// code page leaves undefined map to the C1 control of the same value.
char16_t fromWindows1252(unsigned char byte);

// Decodes bytes one to one; with dropNul, NUL bytes are left out.
QString fromWindows1252(QByteArrayView bytes, bool dropNul = false);

} // namespace NX_TextExtractor
