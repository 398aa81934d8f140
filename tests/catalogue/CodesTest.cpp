#include "CatalogueFixture.h"

#include "analysis/AssociationsClass.h"
#include "catalogue/CdIdentifier.h"
#include "catalogue/CodeGenerator.h"
#include "foundation/BaseFolder.h"

#include <NX_TextExtractor/Extractor.h>

#include <QDir>
#include <QFile>

#include <QSet>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

bool isCode(const QString& code) {
    if (code.size() != 13 || code.at(0) < QLatin1Char('1') || code.at(0) > QLatin1Char('9'))
        return false;
    for (QChar c : code) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

TEST(CodeGenerator, CandidatesAreThirteenDigitsAndSpread) {
    CodeGenerator codes([](const QString&) {});
    QSet<QString> seen;
    QSet<QChar> firstDigits;
    for (int i = 0; i < 5000; ++i) {
        const QString code = codes.candidate();
        ASSERT_TRUE(isCode(code)) << code.toStdString();
        seen.insert(code);
        firstDigits.insert(code.at(0));
    }
    EXPECT_EQ(seen.size(), 5000); // no repeats from re-seeding
    EXPECT_EQ(firstDigits.size(), 9);
}

TEST(CodeGenerator, TwoGeneratorsMadeAtOnceDiffer) {
    CodeGenerator a([](const QString&) {});
    CodeGenerator b([](const QString&) {});
    EXPECT_NE(a.candidate(), b.candidate());
}

class CodesTest : public CatalogueTest {};

TEST_P(CodesTest, CodesAreFreeInTheirTable) {
    QSet<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const QString media = main().get_EAN13(Item::Media);
        const QString file = main().get_EAN13(Item::File);
        EXPECT_TRUE(isCode(media));
        EXPECT_TRUE(isCode(file));
        seen.insert(media);
    }
    EXPECT_EQ(seen.size(), 50);
    EXPECT_TRUE(errorEvents().isEmpty());
}

TEST_P(CodesTest, FailingCheckRaisesTheEventAndStillGivesACode) {
    dropTable(QStringLiteral("Media"));
    const QString code = main().get_EAN13(Item::Media);
    EXPECT_TRUE(isCode(code));
    ASSERT_EQ(errorEvents().size(), 1);
    EXPECT_TRUE(errorEvents().at(0).endsWith(QStringLiteral("\r\nexists_EAN13")));
}

QUORVANE_ENGINE_TEST_SUITE(CodesTest);

TEST(MainObject, MakesTheWorkFolderAndItsExtractorOnFirstUse) {
    Main main;
    EXPECT_TRUE(QDir(QuorvaneSDK::baseFolder() + QStringLiteral("/Uncompress")).exists());
    const QString folder = makeTempFolder();
    QFile zip(folder + QStringLiteral("/a.zip"));
    ASSERT_TRUE(zip.open(QIODevice::WriteOnly));
    zip.write(QByteArray("PK\x03\x04", 4) + QByteArray(400, '\0'));
    zip.close();
    const NX_TextExtractor::FileType type = main.get_FileType(zip.fileName());
    EXPECT_EQ(type, main.extractor().get_FileType(zip.fileName()));
    EXPECT_EQ(type.Type, NX_TextExtractor::TypesFile(11)); // the zip kind
}

TEST(MainObject, ExtensionsAreLookedUpLowerCasedOnce) {
    Main main;
    const Extension upper = main.get_Extension(QStringLiteral(".TXT"));
    const Extension lower = main.get_Extension(QStringLiteral(".txt"));
    EXPECT_EQ(upper.Extension, QStringLiteral(".txt"));
    EXPECT_EQ(upper, lower);
    QString description, type;
    QImage icon;
    AssociationsClass().GetInfoExtension(QStringLiteral(".txt"), description, type, icon);
    EXPECT_EQ(upper.ExtensionDescription, description);
    EXPECT_EQ(upper.ExtType, type);
    EXPECT_FALSE(type.isEmpty());
}

// A drive that reports a fixed table of contents.
class FixedDrive : public CdDriveAccess {
public:
    bool optical = true;
    class Toc : public CdTableOfContents {
    public:
        int NumberOfTracks(int& count) override {
            count = 10;
            return 0;
        }
        int TrackPosition(int track, Msf& start) override {
            start = {(track - 1) * 3, 2, 0};
            return 0;
        }
        int TrackLength(int track, Msf& length) override {
            length =
                Msf::fromOffset(Msf{45, 0, 0}.offset() - Msf{(track - 1) * 3, 2, 0}.offset() - 1);
            return 0;
        }
    };
    bool IsOpticalDrive(const QString&) override { return optical; }
    std::unique_ptr<CdTableOfContents> Open(const QString&, int& errorCode) override {
        errorCode = 0;
        return std::make_unique<Toc>();
    }
};

TEST(MainObject, AudioCdIdentifierComesFromTheDrivesTable) {
    Main main;
    FixedDrive drive;
    EXPECT_EQ(main.get_CDDBID(QStringLiteral("/dev/sr0"), drive), QStringLiteral("650a8a0a"));
    drive.optical = false;
    EXPECT_EQ(main.get_CDDBID(QStringLiteral("/"), drive), QString());
    EXPECT_EQ(main.get_CDDBID(makeTempFolder()), QString()); // a folder on no optical drive
}

} // namespace
