#include "foundation/OleDate.h"

#include <cmath>

namespace QuorvaneSDK {
namespace {

constexpr double kMsPerDay = 86400000.0;

QDate epoch() {
    return QDate(1899, 12, 30);
}

} // namespace

Date Date::fromDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid())
        return Date();
    const QDateTime local = dateTime.toLocalTime();
    const double days = static_cast<double>(epoch().daysTo(local.date()));
    const double fraction = local.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight, so
    // its sign is the opposite of the day count's (-1.25 = 1899-12-29 06:00).
    return Date(days < 0 ? days - fraction : days + fraction);
}

Date Date::fromDate(const QDate& date) {
    if (!date.isValid())
        return Date();
    return Date(static_cast<double>(epoch().daysTo(date)));
}

Date Date::fromParts(int year, int month, int day, int hour, int minute, int second) {
    return fromDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

Date Date::now() {
    return fromDateTime(QDateTime::currentDateTime());
}

Date Date::today() {
    return fromDate(QDate::currentDate());
}

QDateTime Date::toDateTime() const {
    return QDateTime(date(), time());
}

QDate Date::date() const {
    if (!std::isfinite(m_value))
        return epoch();
    double whole = std::trunc(m_value);
    // A fraction that rounds up to a full day moves to the next day.
    const double ms = std::round(std::fabs(m_value - whole) * kMsPerDay);
    if (ms >= kMsPerDay)
        whole += m_value < 0 ? -1.0 : 1.0;
    return epoch().addDays(static_cast<qint64>(whole));
}

QTime Date::time() const {
    if (!std::isfinite(m_value))
        return QTime(0, 0);
    const double whole = std::trunc(m_value);
    qint64 ms = static_cast<qint64>(std::round(std::fabs(m_value - whole) * kMsPerDay));
    if (ms >= static_cast<qint64>(kMsPerDay))
        ms = 0;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

} // namespace QuorvaneSDK
