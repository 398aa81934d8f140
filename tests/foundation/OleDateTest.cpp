#include "foundation/OleDate.h"

#include <gtest/gtest.h>

using namespace QuorvaneSDK;

TEST(OleDate, NullDateIsTheEpoch) {
    EXPECT_TRUE(Date().isNull());
    EXPECT_EQ(Date().toDateTime(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_TRUE(Date::fromDateTime(QDateTime()).isNull());
}

TEST(OleDate, KnownValues) {
    struct Case {
        QDateTime when;
        double days;
    } cases[] = {
        {QDateTime(QDate(1899, 12, 31), QTime(0, 0)), 1.0},
        {QDateTime(QDate(1900, 1, 1), QTime(12, 0)), 2.5},
        {QDateTime(QDate(2010, 1, 17), QTime(0, 0)), 40195.0},
        {QDateTime(QDate(2010, 1, 17), QTime(18, 0)), 40195.75},
        {QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
        {QDateTime(QDate(1800, 1, 1), QTime(0, 0)), -36522.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when.toString(Qt::ISODate).toStdString());
        EXPECT_DOUBLE_EQ(Date::fromDateTime(c.when).toDouble(), c.days);
        EXPECT_EQ(Date(c.days).toDateTime(), c.when);
    }
}

TEST(OleDate, RoundTripKeepsSeconds) {
    const QDateTime t(QDate(2023, 7, 4), QTime(23, 59, 59));
    EXPECT_EQ(Date::fromDateTime(t).toDateTime(), t);
    EXPECT_EQ(Date::fromParts(2023, 7, 4, 23, 59, 59).toDateTime(), t);
    EXPECT_EQ(Date::fromDate(QDate(2023, 7, 4)).toDateTime(),
              QDateTime(QDate(2023, 7, 4), QTime(0, 0)));
    // a fraction a hair below a whole day rounds to the next midnight
    EXPECT_EQ(Date(40195.9999999999).toDateTime(), QDateTime(QDate(2010, 1, 18), QTime(0, 0)));
    EXPECT_LT(Date(1.0), Date(2.0));
}
