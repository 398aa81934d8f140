#pragma once
// How the settings files spell Booleans, numbers and dates.

#include "foundation/OleDate.h"

#include <QString>
#include <optional>

namespace QuorvaneSDK {

// "True"/"False" in any case; a number is true when it is not 0 (as "-1");
// any other text is false.
bool settingsBool(const QString& text);
QString settingsBoolText(bool value);

// The leading numeric part of the text (sign, digits, fraction, exponent;
// blanks around it ignored), 0 when there is none.
double settingsLeadingNumber(const QString& text);
// The leading number rounded half to even, as the 16-bit integer settings
// hold; nullopt when it falls outside [minimum, maximum].
std::optional<qint16> settingsInt16(const QString& text, qint16 minimum = -32768,
                                    qint16 maximum = 32767);

// One fixed form, whatever the computer's regional settings:
// "2010-01-17" for a date at midnight, "2010-01-17 13:05:09" otherwise,
// with ".zzz" milliseconds only when there are any.
QString settingsDateText(const Date& date);
// Reads the forms above (and ISO 8601 with "T"); nullopt when the text is
// no date.
std::optional<Date> settingsDate(const QString& text);

} // namespace QuorvaneSDK
