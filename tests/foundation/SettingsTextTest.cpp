// How settings files spell Booleans, numbers and dates.
#include "foundation/SettingsText.h"

#include <gtest/gtest.h>

using namespace QuorvaneSDK;

TEST(SettingsText, Booleans) {
    struct Case {
        const char* text;
        bool value;
    };
    const Case cases[] = {{"True", true}, {"true", true},   {" TRUE ", true}, {"-1", true},
                          {"1", true},    {"False", false}, {"false", false}, {"0", false},
                          {"", false},    {"yes", false},   {"Truex", false}, {"on", false}};
    for (const Case& c : cases)
        EXPECT_EQ(settingsBool(c.text), c.value) << c.text;
    EXPECT_EQ(settingsBoolText(true), "True");
    EXPECT_EQ(settingsBoolText(false), "False");
}

TEST(SettingsText, LeadingNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"100", 100}, {"  42  ", 42}, {"12abc", 12}, {"abc", 0},
                          {"", 0},      {"-7", -7},     {"+3", 3},     {"2.5", 2.5},
                          {".5", 0.5},  {"1e3", 1000},  {"1e", 1},     {"1.2.3", 1.2},
                          {"-", 0},     {".", 0},       {"3 4", 3},    {"١٢", 0}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(settingsLeadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(SettingsText, Int16RangeAndRounding) {
    EXPECT_EQ(settingsInt16("32767"), 32767);
    EXPECT_EQ(settingsInt16("-32768"), -32768);
    EXPECT_FALSE(settingsInt16("32768").has_value());
    EXPECT_FALSE(settingsInt16("-32769").has_value());
    EXPECT_EQ(settingsInt16("2.5"), 2);
    EXPECT_EQ(settingsInt16("3.5"), 4);
    EXPECT_EQ(settingsInt16("x"), 0);
    EXPECT_FALSE(settingsInt16("-1", 0, 100).has_value());
    EXPECT_FALSE(settingsInt16("1e300").has_value());
}

TEST(SettingsText, DatesReadBackToTheSameDate) {
    const Date cases[] = {
        Date::fromParts(2010, 1, 17),
        Date::fromParts(2010, 1, 17, 13, 5, 9),
        Date::fromParts(1900, 1, 1),
        Date::fromParts(2099, 12, 31, 23, 59, 59),
        Date::fromDateTime(QDateTime(QDate(2024, 2, 29), QTime(8, 7, 6, 543))),
        Date::today(),
        Date(), // the null date
    };
    for (const Date& d : cases) {
        const QString text = settingsDateText(d);
        const std::optional<Date> back = settingsDate(text);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(*back, d) << text.toStdString();
    }
    EXPECT_EQ(settingsDateText(Date::fromParts(2010, 1, 17)), "2010-01-17");
    EXPECT_EQ(settingsDateText(Date::fromParts(2010, 1, 17, 13, 5, 9)), "2010-01-17 13:05:09");
    EXPECT_EQ(settingsDate("2010-01-17T13:05:09"), Date::fromParts(2010, 1, 17, 13, 5, 9));
    for (const char* bad : {"", "yesterday", "17/01/2010", "2010-13-01", "2010-02-30"})
        EXPECT_FALSE(settingsDate(bad).has_value()) << bad;
}
