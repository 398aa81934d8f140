#include "catalogue/Formatting.h"

#include <array>
#include <cmath>
#include <mutex>

namespace QuorvaneSDK::Formatting {

namespace {

std::mutex localeMutex;

QLocale& configuredLocale() {
    static QLocale locale = QLocale::c();
    return locale;
}

// Digits of a non-negative whole number with the locale's grouping; 0 gives
// "" as a "#,###" placeholder shows no leading zero.
QString groupedDigits(qint64 whole, const QLocale& locale) {
    if (whole <= 0)
        return {};
    const QString digits = QString::number(whole);
    const QString separator = locale.groupSeparator();
    QString out;
    out.reserve(digits.size() + digits.size() / 3 * separator.size());
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits.at(i);
    }
    return out;
}

// Plain text of a number without grouping ("1234.5", "6000000000000").
QString plainNumber(double value, const QLocale& locale) {
    QString text = std::fabs(value) < 1e15
                       ? QString::number(value, 'f', QLocale::FloatingPointShortest)
                       : QString::number(value, 'g', QLocale::FloatingPointShortest);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

// "#,###.#" when the value has a fraction, "#,###" otherwise.
QString patternText(double value, const QLocale& locale) {
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);
    if (!std::isfinite(magnitude))
        return plainNumber(value, locale);
    const bool fractional = value - std::floor(value) > 0;
    const qint64 tenths = std::llround(magnitude * 10.0);
    QString text = negative && tenths != 0 ? QStringLiteral("-") : QString();
    text += groupedDigits(tenths / 10, locale);
    if (fractional && tenths % 10 != 0)
        text += locale.decimalPoint() + QString::number(tenths % 10);
    return text;
}

const std::array<const char*, 9> kMediaTypeNames = {
    "Unknow",  "CDRom",      "NETWORK",   "Removable", "PCMCIA",
    "AudioCD", "FloppyDisk", "SmartCard", "FixedHD",
};

} // namespace

void setNumberLocale(const QLocale& locale) {
    std::lock_guard lock(localeMutex);
    configuredLocale() = locale;
}

QLocale numberLocale() {
    std::lock_guard lock(localeMutex);
    return configuredLocale();
}

FormattedSize FormatSize(double size, bool leaveOriginal) {
    const QLocale locale = numberLocale();
    FormattedSize result;
    if (leaveOriginal) {
        result.Size = size;
        result.Formatted = plainNumber(size, locale);
        result.Unity = QStringLiteral(" B");
        result.UnityEnum = SizeType::bytes;
        return result;
    }

    double x = size;
    QString unit = QStringLiteral(" B");
    SizeType unitEnum = SizeType::bytes;
    if (x > 1024) {
        x /= 1024;
        unit = QStringLiteral(" KB");
        unitEnum = SizeType::KBytes;
        if (x > 1000) {
            x /= 1000;
            unit = QStringLiteral(" MB");
            unitEnum = SizeType::MBytes;
            if (x > 1000) {
                x /= 1000;
                unit = QStringLiteral(" GB");
                unitEnum = SizeType::GBytes;
            }
        }
    }
    // nearbyint follows the default rounding mode: half to even.
    if (std::isfinite(x))
        x = std::nearbyint(x * 10.0) / 10.0;

    result.Size = x;
    result.Unity = unit;
    result.UnityEnum = unitEnum;
    result.Formatted = patternText(x, locale) + unit;
    return result;
}

QString get_MediaTypeSTR(qint32 type) {
    if (type < 0 || type >= static_cast<qint32>(kMediaTypeNames.size()))
        return QString::fromLatin1(kMediaTypeNames[0]);
    return QString::fromLatin1(kMediaTypeNames[static_cast<size_t>(type)]);
}

QString get_MediaTypeSTR(MediaType type) {
    return get_MediaTypeSTR(static_cast<qint32>(type));
}

MediaType get_MediaTypeENUM(const QString& name) {
    static const std::array<std::pair<const char*, MediaType>, 9> order = {{
        {"AudioCD", MediaType::AudioCD},
        {"CDRom", MediaType::CDRom},
        {"FixedHD", MediaType::FixedHD},
        {"FloppyDisk", MediaType::FloppyDisk},
        {"NETWORK", MediaType::NETWORK},
        {"PCMCIA", MediaType::PCMCIA},
        {"Removable", MediaType::Removable},
        {"Unknow", MediaType::Unknow},
        {"SmartCard", MediaType::SmartCard},
    }};
    for (const auto& [text, value] : order) {
        if (name == QLatin1String(text))
            return value;
    }
    return MediaType::Unknow;
}

} // namespace QuorvaneSDK::Formatting
