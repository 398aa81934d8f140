#pragma once
// The catalogue's date type: an OLE automation date, a count of days since
// 1899-12-30 00:00 held in a double, the fraction being the time of day.
// The value 0 is the SDK's null date.

#include <QDateTime>
#include <compare>

namespace QuorvaneSDK {

class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(double days) : m_value(days) {}

    constexpr double toDouble() const { return m_value; }
    constexpr bool isNull() const { return m_value == 0.0; }

    // Local time; an invalid QDateTime gives the null date. Precision is one
    // millisecond.
    static Date fromDateTime(const QDateTime& dateTime);
    static Date fromDate(const QDate& date);
    // Date plus time of day in local time.
    static Date fromParts(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0);
    // The current local date and time.
    static Date now();
    // Today at midnight.
    static Date today();
    static constexpr Date null() { return Date(); }

    // The local date-time this value stands for. The null date gives
    // 1899-12-30 00:00, not an invalid value: callers test isNull() first.
    QDateTime toDateTime() const;
    QDate date() const;
    QTime time() const;

    friend constexpr auto operator<=>(const Date&, const Date&) = default;
    friend constexpr bool operator==(const Date&, const Date&) = default;

private:
    double m_value = 0.0;
};

} // namespace QuorvaneSDK
