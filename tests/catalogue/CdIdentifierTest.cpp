// The audio-CD identifier over tables of contents fed by the test.

#include "catalogue/CdIdentifier.h"

#include <QList>
#include <gtest/gtest.h>

using namespace QuorvaneSDK;

namespace {

class FakeToc : public CdTableOfContents {
public:
    QList<Msf> starts;
    Msf leadOut;
    bool audio = true;
    int failCount = 0, failPosition = 0, failLength = 0;

    int NumberOfTracks(int& count) override {
        count = int(starts.size());
        return failCount;
    }
    int TrackPosition(int track, Msf& start) override {
        if (failPosition)
            return failPosition;
        start = starts.value(track - 1);
        return 0;
    }
    // As the drive reports it: one frame short of the lead-out.
    int TrackLength(int track, Msf& length) override {
        if (failLength)
            return failLength;
        length = Msf::fromOffset(leadOut.offset() - starts.value(track - 1).offset() - 1);
        return 0;
    }
    bool HasAudioTrack() override { return audio; }
};

class FakeDrive : public CdDriveAccess {
public:
    bool optical = true;
    int openError = 0;
    FakeToc toc;
    int opens = 0;

    bool IsOpticalDrive(const QString&) override { return optical; }
    std::unique_ptr<CdTableOfContents> Open(const QString&, int& errorCode) override {
        ++opens;
        if (openError) {
            errorCode = openError;
            return nullptr;
        }
        return std::make_unique<FakeToc>(toc);
    }
};

// Ten tracks three minutes apart from 00:02:00, lead-out at 45:00:00.
FakeToc tenTracks() {
    FakeToc toc;
    for (int i = 0; i < 10; ++i)
        toc.starts.append({i * 3, 2, 0});
    toc.leadOut = {45, 0, 0};
    return toc;
}

} // namespace

TEST(CdIdentifier, TenTrackDisc) {
    FakeToc toc = tenTracks();
    int error = -7;
    // Checksum: digit sums of 2, 182, 362, ... 1622 s = 2 + 9 * 11 = 101 = 0x65.
    EXPECT_EQ(CCd::compute(toc, error), "650a8a0a");
    EXPECT_EQ(error, 0);
}

TEST(CdIdentifier, ChecksumIsTakenModulo255) {
    struct Case {
        QList<int> seconds; // track starts in seconds
        const char* prefix;
    };
    // 3599 s (59:59) has digit sum 26; 993 s has 21; 9 * 26 + 21 = 255.
    QList<int> s255(9, 3599);
    s255.append(993);
    QList<int> s510 = s255 + s255;
    const Case cases[] = {{s255, "00"}, {s510, "00"}, {{3599}, "1a"}, {{0}, "00"}};
    for (const Case& c : cases) {
        FakeToc toc;
        for (int s : c.seconds)
            toc.starts.append({s / 60, s % 60, 0});
        toc.leadOut = {99, 0, 0};
        int error = 0;
        EXPECT_TRUE(CCd::compute(toc, error).startsWith(c.prefix)) << c.seconds.size();
    }
}

TEST(CdIdentifier, WideValuesAreNotShortened) {
    FakeToc toc;
    toc.starts = {{0, 2, 0}};
    toc.leadOut = {1200, 0, 0}; // 71998 s = 0x1193e
    int error = 0;
    EXPECT_EQ(CCd::compute(toc, error), "021193e01");
}

TEST(CdIdentifier, FramesAndLeadOutArithmetic) {
    EXPECT_EQ(Msf::fromOffset(150).offset(), 150);
    const Msf m = Msf::fromOffset(45 * 4500 + 59 * 75 + 74);
    EXPECT_EQ(m.Minute, 45);
    EXPECT_EQ(m.Second, 59);
    EXPECT_EQ(m.Frame, 74);
    FakeToc toc = tenTracks();
    toc.leadOut = {44, 59, 74}; // one frame before 45:00:00: a second less
    int error = 0;
    EXPECT_EQ(CCd::compute(toc, error).mid(2, 4), "0a89");
}

TEST(CdIdentifier, ReadErrorsLeaveTheDiscUnavailable) {
    for (int which = 0; which < 4; ++which) {
        FakeDrive drive;
        drive.toc = tenTracks();
        if (which == 0)
            drive.openError = 5;
        if (which == 1)
            drive.toc.failCount = 6;
        if (which == 2)
            drive.toc.failPosition = 7;
        if (which == 3)
            drive.toc.failLength = 8;
        EXPECT_EQ(get_CDDBID("/dev/sr0", drive), "(unavailable)") << which;
        CCd cd;
        cd.Init("/dev/sr0", drive);
        EXPECT_EQ(cd.DiscID(), "(unavailable)");
        EXPECT_EQ(cd.ErrorCode(), 5 + which);
    }
    FakeDrive empty;
    empty.toc.starts.clear();
    EXPECT_EQ(get_CDDBID("/dev/sr0", empty), "(unavailable)");
}

TEST(CdIdentifier, NotAnOpticalDriveOrNoAudioGivesEmptyText) {
    FakeDrive disk;
    disk.optical = false;
    EXPECT_EQ(get_CDDBID("/home", disk), "");
    EXPECT_EQ(disk.opens, 0);
    FakeDrive dataDisc;
    dataDisc.toc = tenTracks();
    dataDisc.toc.audio = false;
    EXPECT_EQ(get_CDDBID("/media/cdrom", dataDisc), "");
    EXPECT_EQ(get_CDDBID("", dataDisc), "");
}

TEST(CdIdentifier, SameDiscSameIdentifier) {
    FakeDrive drive;
    drive.toc = tenTracks();
    const QString first = get_CDDBID("/dev/sr0", drive);
    EXPECT_EQ(first, get_CDDBID("/dev/sr0", drive));
    CCd cd;
    cd.Init("/dev/sr0", drive);
    EXPECT_EQ(cd.DiscID(), first);
    EXPECT_EQ(cd.ErrorCode(), 0);
}

TEST(CdIdentifier, RealDrivesOfThisMachine) {
    // No test machine has a disc; paths on disks and nonsense are no CD drives.
    for (const char* path : {"/", "/proc", "/nonexistent/path", "relative", "/dev/null"})
        EXPECT_EQ(get_CDDBID(path), "") << path;
    EXPECT_EQ(LinuxCdDriveAccess::deviceOf("/proc/self"), "");
}
