#pragma once
// Display texts of the catalogue: byte counts with a unit and the names of
// the media types. Pure functions; Main forwards to them.

#include "foundation/Records.h"

#include <QLocale>

namespace QuorvaneSDK::Formatting {

// A byte count made readable. Units step 1024 bytes to the KB, then 1000 KB
// to the MB and 1000 MB to the GB (so 1 MB is 1,024,000 bytes); the value is
// rounded to one decimal, half to even. With leaveOriginal the value stays
// as given, in bytes, written without grouping.
FormattedSize FormatSize(double size, bool leaveOriginal = false);

// The digit grouping and decimal point FormatSize uses; the C locale
// ("1,234.5") until the program sets another.
void setNumberLocale(const QLocale& locale);
QLocale numberLocale();

// "Unknow", "CDRom", ... ; any value outside the enumeration gives "Unknow".
QString get_MediaTypeSTR(MediaType type);
QString get_MediaTypeSTR(qint32 type);
// The inverse, exact and case-sensitive; any other text gives Unknow.
MediaType get_MediaTypeENUM(const QString& name);

} // namespace QuorvaneSDK::Formatting
