#pragma once
// Text stored in files as single bytes of the Western Windows code page
// (1252): each byte becomes one character, so positions and widths counted in
// bytes stay valid in characters.

#include <QByteArray>
#include <QString>

namespace QuorvaneSDK::Analysis {

QString decodeAnsi(const QByteArray& bytes);

// Cut to width or padded with spaces up to it, as a fixed-width field keeps text.
QString fixedWidth(const QString& text, int width);

// Leading and trailing spaces removed; other blanks and control characters stay.
QString trimSpaces(const QString& text);

} // namespace QuorvaneSDK::Analysis
