// Helpers shared by the archive readers.

#include "catalogue/ArchiveText.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace QuorvaneSDK::ArchiveText;

TEST(ArchiveText, CodePage437CoversTheWholeUpperHalf) {
    EXPECT_EQ(fromCp437("abc"), "abc");
    EXPECT_EQ(fromCp437("\x80\x81\x9c\xe1\xff"),
              QString::fromUtf8("\xc3\x87\xc3\xbc\xc2\xa3\xc3\x9f\xc2\xa0"));
    EXPECT_EQ(fromCp437("\xb0\xdb\xe0\xfe"),
              QString::fromUtf8("\xe2\x96\x91\xe2\x96\x88\xce\xb1\xe2\x96\xa0"));
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all.append(char(b));
    const QString decoded = fromCp437(all);
    EXPECT_EQ(decoded.size(), 128);
    EXPECT_EQ(QString::fromUtf8(decoded.toUtf8()), decoded); // valid text throughout
}

TEST(ArchiveText, Utf8WhenValidElseCodePage437) {
    EXPECT_EQ(fromUtf8OrCp437("\xc3\xa9t\xc3\xa9"), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
    EXPECT_EQ(fromUtf8OrCp437("\x82t\x82"), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
}

TEST(ArchiveText, EntryPathParts) {
    struct Case {
        const char* stored;
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"a.txt", "a.txt", "", "a.txt"},
        {"docs\\sub\\a.txt", "docs/sub/a.txt", "docs/sub/", "a.txt"},
        {"docs/", "docs/", "docs/", ""},
        {"x/y", "x/y", "x/", "y"},
    };
    for (const Case& c : cases) {
        const QString path = normalisedEntryPath(c.stored);
        EXPECT_EQ(path, c.path);
        EXPECT_EQ(folderPart(path), c.folder);
        EXPECT_EQ(namePart(path), c.name);
    }
    EXPECT_EQ(normalisedEntryPath(QString("cut") + QChar(0) + "rest"), "cut");
}

TEST(ArchiveText, DosDateTimes) {
    const quint32 v = (29u << 25) | (7u << 21) | (14u << 16) | (10u << 11) | (20u << 5) | 15u;
    EXPECT_EQ(fromDosDateTime(v), QDateTime(QDate(2009, 7, 14), QTime(10, 20, 30)));
    EXPECT_EQ(toDosDateTime(QDateTime(QDate(2009, 7, 14), QTime(10, 20, 30))), v);
    const QDateTime fallback(QDate(1980, 1, 1), QTime(0, 0));
    for (quint32 bad : {0u,                                    // month 0
                        (2u << 21) | (30u << 16),              // 30 February
                        (1u << 21) | (1u << 16) | (24u << 11), // hour 24
                        (1u << 21) | (1u << 16) | (60u << 5),  // minute 60
                        (1u << 21) | (1u << 16) | 30u}) {      // second 60
        EXPECT_FALSE(isValidDosDateTime(bad)) << std::hex << bad;
        EXPECT_EQ(fromDosDateTime(bad), fallback) << std::hex << bad;
    }
    EXPECT_TRUE(isValidDosDateTime((1u << 21) | (30u << 16) | (2u << 25)));
    EXPECT_FALSE(isValidDosDateTime((2u << 21) | (29u << 16) | (1u << 25))); // 1981 not leap
    EXPECT_TRUE(isValidDosDateTime((2u << 21) | (29u << 16) | (0u << 25)));  // 1980 leap
}

TEST(ArchiveText, Crc32MatchesTheCheckValue) {
    EXPECT_EQ(crc32(QByteArray("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32(QByteArray("6789"), crc32(QByteArray("12345"))), 0xCBF43926u);
}

TEST(ArchiveText, StableTimeZoneRestoresTheEnvironment) {
    const QByteArray before = qgetenv("TZ");
    const bool wasSet = qEnvironmentVariableIsSet("TZ");
    qunsetenv("TZ");
    {
        const StableLocalTimeZone zone;
        EXPECT_EQ(qgetenv("TZ"), ":/etc/localtime");
    }
    EXPECT_FALSE(qEnvironmentVariableIsSet("TZ"));
    qputenv("TZ", "UTC");
    {
        const StableLocalTimeZone zone;
        EXPECT_EQ(qgetenv("TZ"), "UTC"); // a zone the user chose is left alone
    }
    EXPECT_EQ(qgetenv("TZ"), "UTC");
    if (wasSet)
        qputenv("TZ", before);
    else
        qunsetenv("TZ");
}
