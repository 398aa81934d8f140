#include "catalogue/Formatting.h"
#include "catalogue/Costants.h"

#include <gtest/gtest.h>

using namespace QuorvaneSDK;

namespace {

struct SizeCase {
    double bytes;
    double size;
    const char* formatted;
    SizeType unit;
};

class FormatSizeTable : public ::testing::TestWithParam<SizeCase> {};

TEST_P(FormatSizeTable, GivesUnitRoundedValueAndText) {
    const SizeCase& c = GetParam();
    const FormattedSize f = Formatting::FormatSize(c.bytes);
    EXPECT_DOUBLE_EQ(f.Size, c.size);
    EXPECT_EQ(f.Formatted, QString::fromUtf8(c.formatted));
    EXPECT_EQ(f.UnityEnum, c.unit);
    EXPECT_TRUE(f.Formatted.endsWith(f.Unity));
}

INSTANTIATE_TEST_SUITE_P(
    Units, FormatSizeTable,
    ::testing::Values(SizeCase{0, 0, " B", SizeType::bytes}, // a placeholder shows no zero
                      SizeCase{512, 512, "512 B", SizeType::bytes},
                      SizeCase{1024, 1024, "1,024 B", SizeType::bytes}, // strictly greater moves on
                      SizeCase{1025, 1, "1 KB", SizeType::KBytes},
                      SizeCase{1536, 1.5, "1.5 KB", SizeType::KBytes},
                      SizeCase{1280, 1.2, "1.2 KB", SizeType::KBytes}, // 1.25: half to even
                      SizeCase{1792, 1.8, "1.8 KB", SizeType::KBytes}, // 1.75: half to even
                      SizeCase{1024000, 1000, "1,000 KB", SizeType::KBytes},
                      SizeCase{1048576, 1, "1 MB", SizeType::MBytes}, // 1024 KB > 1000 KB
                      SizeCase{1024000000, 1000, "1,000 MB", SizeType::MBytes},
                      SizeCase{1024000001, 1, "1 GB", SizeType::GBytes},
                      SizeCase{6e12, 5859.4, "5,859.4 GB", SizeType::GBytes},
                      SizeCase{0.5, 0.5, ".5 B", SizeType::bytes},
                      SizeCase{0.25, 0.2, ".2 B", SizeType::bytes},
                      SizeCase{-1, -1, "-1 B", SizeType::bytes}));

TEST(FormatSize, LeaveOriginalKeepsTheValueInBytes) {
    FormattedSize f = Formatting::FormatSize(-1, true);
    EXPECT_EQ(f.Formatted, QStringLiteral("-1"));
    EXPECT_EQ(f.Unity, QStringLiteral(" B"));
    EXPECT_DOUBLE_EQ(f.Size, -1);
    EXPECT_EQ(f.UnityEnum, SizeType::bytes);

    f = Formatting::FormatSize(1234.5678, true);
    EXPECT_DOUBLE_EQ(f.Size, 1234.5678);
    EXPECT_EQ(f.Formatted, QStringLiteral("1234.5678"));

    f = Formatting::FormatSize(6e12, true);
    EXPECT_EQ(f.Formatted, QStringLiteral("6000000000000"));
}

TEST(FormatSize, FollowsTheLocaleTheProgramSets) {
    Formatting::setNumberLocale(QLocale(QLocale::German, QLocale::Germany));
    const FormattedSize kb = Formatting::FormatSize(1536);
    const FormattedSize bytes = Formatting::FormatSize(1024);
    const FormattedSize raw = Formatting::FormatSize(0.5, true);
    Formatting::setNumberLocale(QLocale::c());
    EXPECT_EQ(kb.Formatted, QStringLiteral("1,5 KB"));
    EXPECT_EQ(bytes.Formatted, QStringLiteral("1.024 B"));
    EXPECT_EQ(raw.Formatted, QStringLiteral("0,5"));
    EXPECT_EQ(Formatting::FormatSize(1536).Formatted, QStringLiteral("1.5 KB"));
}

TEST(MediaTypeNames, RoundTripEveryValue) {
    for (qint32 v = 0; v <= 8; ++v) {
        const QString name = Formatting::get_MediaTypeSTR(v);
        EXPECT_EQ(static_cast<qint32>(Formatting::get_MediaTypeENUM(name)), v)
            << name.toStdString();
    }
    EXPECT_EQ(Formatting::get_MediaTypeSTR(MediaType::CDRom), QStringLiteral("CDRom"));
    EXPECT_EQ(Formatting::get_MediaTypeSTR(MediaType::FixedHD), QStringLiteral("FixedHD"));
}

TEST(MediaTypeNames, OutsideValuesAndOtherTextsAreUnknow) {
    EXPECT_EQ(Formatting::get_MediaTypeSTR(9), QStringLiteral("Unknow"));
    EXPECT_EQ(Formatting::get_MediaTypeSTR(-1), QStringLiteral("Unknow"));
    EXPECT_EQ(Formatting::get_MediaTypeENUM(QStringLiteral("cdrom")), MediaType::Unknow);
    EXPECT_EQ(Formatting::get_MediaTypeENUM(QStringLiteral("CDRom ")), MediaType::Unknow);
    EXPECT_EQ(Formatting::get_MediaTypeENUM(QString()), MediaType::Unknow);
}

TEST(Costants, NamesTheArchiveFormats) {
    Costants c;
    EXPECT_EQ(c.lookUp_CompressorType(CompressorType::Zip), QStringLiteral("ZIP"));
    EXPECT_EQ(c.lookUp_CompressorType(CompressorType::RAR), QStringLiteral("RAR"));
    EXPECT_EQ(c.lookUp_CompressorType(2), QStringLiteral("n/a"));
    EXPECT_EQ(c.lookUp_CompressorType(-1), QStringLiteral("n/a"));
}

} // namespace
