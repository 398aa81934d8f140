// An audio disc reached through its optical device: a medium of type
// AudioCD named by the disc identifier, its tracks catalogued as files.

#include "ScanFixture.h"

#include "catalogue/CdIdentifier.h"

using namespace QuorvaneSDK;

namespace QuorvaneTest {
namespace {

// Two audio tracks of 2:00 and 0:30 (frames of 1/75 s), or an unreadable disc.
class FixedDisc : public CdDriveAccess {
public:
    bool readable = true;
    bool IsOpticalDrive(const QString&) override { return true; }
    std::unique_ptr<CdTableOfContents> Open(const QString&, int& errorCode) override {
        if (!readable) {
            errorCode = 5;
            return nullptr;
        }
        errorCode = 0;
        return std::make_unique<Toc>();
    }

private:
    class Toc : public CdTableOfContents {
    public:
        int NumberOfTracks(int& count) override {
            count = 2;
            return 0;
        }
        int TrackPosition(int track, Msf& start) override {
            start = Msf::fromOffset(track == 1 ? 150 : 150 + 9000);
            return 0;
        }
        int TrackLength(int track, Msf& length) override {
            length = Msf::fromOffset(track == 1 ? 9000 : 2250);
            return 0;
        }
    };
};

class AudioCdScanTest : public ScanTest {};

TEST_P(AudioCdScanTest, AudioDiscBecomesAnAudioMediumWithItsTracks) {
    FixedDisc disc;
    cdAccess = &disc;
    root = QStringLiteral("/dev/sr-fixture");
    scan(QStringLiteral("Album"));
    const qint32 id = engine().media().id;
    ASSERT_NE(id, 0);
    const Media m = main().get_Media(QString(), QString(), id, false);
    EXPECT_EQ(m.Type, MediaType::AudioCD);
    EXPECT_EQ(m.SerialNumber, get_CDDBID(root, disc));
    EXPECT_EQ(m.SerialNumber.size(), 8);
    EXPECT_EQ(rows(id), (QStringList{"/|##nullfile##||0|",
                                     "/|Track01.cda|cda|" + QString::number(9000 * 2352) + "|R",
                                     "/|Track02.cda|cda|" + QString::number(2250 * 2352) + "|R"}));
}

TEST_P(AudioCdScanTest, UnreadableDiscGivesNoIdentifier) {
    FixedDisc disc;
    disc.readable = false;
    cdAccess = &disc;
    root = QStringLiteral("/dev/sr-fixture");
    scan();
    const Media m = main().get_Media(QString(), QString(), engine().media().id, false);
    EXPECT_EQ(m.SerialNumber, serial);
    EXPECT_EQ(m.Type, MediaType::FixedHD);
    // The device cannot be listed as a folder: its virtual row only.
    EXPECT_EQ(rows(m.id), QStringList{"/|##nullfile##||0|"});
    EXPECT_EQ(host().problems.size(), 1);
}

} // namespace

QUORVANE_ENGINE_TEST_SUITE(AudioCdScanTest);

} // namespace QuorvaneTest
