#include "foundation/SettingsText.h"

#include <QDateTime>
#include <cmath>

namespace QuorvaneSDK {

bool settingsBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    return ok && number != 0.0;
}

QString settingsBoolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

double settingsLeadingNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    const auto digitAt = [&](qsizetype k) {
        return k < t.size() && t[k].isDigit() && t[k].unicode() < 128;
    };
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    const qsizetype startDigits = i;
    while (digitAt(i))
        ++i;
    bool anyDigit = i > startDigits;
    if (i < t.size() && t[i] == u'.') {
        qsizetype j = i + 1;
        while (digitAt(j))
            ++j;
        anyDigit = anyDigit || j > i + 1;
        i = j;
    }
    if (!anyDigit)
        return 0.0;
    qsizetype end = i;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < t.size() && (t[j] == u'+' || t[j] == u'-'))
            ++j;
        if (digitAt(j)) {
            while (digitAt(j))
                ++j;
            end = j;
        }
    }
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

std::optional<qint16> settingsInt16(const QString& text, qint16 minimum, qint16 maximum) {
    const double rounded = std::nearbyint(settingsLeadingNumber(text)); // half to even
    if (rounded < minimum || rounded > maximum)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

QString settingsDateText(const Date& date) {
    const QDateTime dt = date.toDateTime();
    const QTime time = dt.time();
    if (time == QTime(0, 0))
        return dt.toString(QStringLiteral("yyyy-MM-dd"));
    if (time.msec() != 0)
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<Date> settingsDate(const QString& text) {
    const QString t = text.trimmed();
    static const char* const formats[] = {"yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss",
                                          "yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss",
                                          "yyyy-MM-ddTHH:mm:ss.zzz"};
    for (const char* format : formats) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(format));
        if (dt.isValid())
            return Date::fromDateTime(dt);
    }
    return std::nullopt;
}

} // namespace QuorvaneSDK
