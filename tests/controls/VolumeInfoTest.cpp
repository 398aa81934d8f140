// GetUnityInfo over described volumes (a seam instead of hardware and
// mounts) and file-system images made here and probed without mounting.

#include "VolumeInfo.h"
#include "NX_DiskFileInfo_.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace NX_DiskFileInfo;

namespace {

// Volumes described by the test: mountinfo lines, sizes, sysfs files and identities.
class FakeVolumes : public VolumeSystem {
public:
    QByteArray mountInfo;
    QMap<QString, QPair<quint64, quint64>> space; // mount point -> total, free
    QMap<QString, QString> sysfsDirs;             // device -> sysfs folder
    QMap<QString, QByteArray> sysfsFiles;
    QMap<QString, VolumeIdentity> identities;
    bool probeImages = false; // identify devices by probing them as image files
    int calls = 0;

    void mount(const QString& source, const QString& point, const QString& fs) {
        mountInfo += QStringLiteral("%1 1 0:1 / %2 rw - %3 %4 rw\n")
                         .arg(30 + mountInfo.count('\n'))
                         .arg(QString(point).replace(" ", "\\040"), fs, source)
                         .toUtf8();
    }
    QByteArray MountInfo() override {
        ++calls;
        return mountInfo;
    }
    bool SpaceOf(const QString& point, quint64& total, quint64& free) override {
        ++calls;
        if (!space.contains(point))
            return false;
        total = space[point].first;
        free = space[point].second;
        return true;
    }
    QString SysfsDirOf(const QString& device) override { return sysfsDirs.value(device); }
    QByteArray ReadSysfs(const QString& path) override { return sysfsFiles.value(path); }
    VolumeIdentity Identify(const QString& device) override {
        return probeImages ? LinuxVolumeSystem::probe(device) : identities.value(device);
    }
    QString CanonicalPath(const QString& path) override {
        ++calls;
        return path.startsWith('/') ? QDir::cleanPath(path) : QString();
    }
};

MediaInfo infoOf(const std::shared_ptr<FakeVolumes>& volumes, const QString& path) {
    NX_DiskFileInfo_ c;
    c.setVolumeSystem(volumes);
    return c.GetUnityInfo(path);
}

std::shared_ptr<FakeVolumes> desk() {
    auto v = std::make_shared<FakeVolumes>();
    v->mount("/dev/sda2", "/", "ext4");
    v->mount("/dev/sr0", "/media/cdrom", "iso9660");
    v->mount("//server/share", "/mnt/share", "cifs");
    v->mount("tmpfs", "/tmp", "tmpfs");
    v->mount("/dev/sdb1", "/media/USB STICK", "vfat");
    v->mount("/dev/sdc1", "/media/card", "exfat");
    v->mount("server:/export", "/mnt/nfs", "nfs4");
    for (const char* p :
         {"/", "/media/cdrom", "/mnt/share", "/tmp", "/media/USB STICK", "/media/card", "/mnt/nfs"})
        v->space[p] = {1000, 333};
    v->identities["/dev/sda2"] = {"root", "1b4e28ba-2fa1-11d2-883f-0016d3cca427", "ext4"};
    v->identities["/dev/sr0"] = {"DISC_2009", "2009-07-14-10-20-30-00", "iso9660"};
    v->identities["/dev/sdb1"] = {"USB STICK", "0abc-1234", "vfat"};
    v->sysfsDirs["/dev/sda2"] = "/sys/devices/pci0000:00/ata1/block/sda/sda2";
    v->sysfsFiles["/sys/devices/pci0000:00/ata1/block/sda/sda2/partition"] = "2\n";
    v->sysfsFiles["/sys/devices/pci0000:00/ata1/block/sda/removable"] = "0\n";
    v->sysfsDirs["/dev/sdb1"] = "/sys/devices/pci0000:00/ata2/block/sdb/sdb1";
    v->sysfsFiles["/sys/devices/pci0000:00/ata2/block/sdb/sdb1/partition"] = "1\n";
    v->sysfsFiles["/sys/devices/pci0000:00/ata2/block/sdb/removable"] = "1\n";
    v->sysfsDirs["/dev/sdc1"] = "/sys/devices/pci0000:00/usb2/2-1/host6/block/sdc/sdc1";
    return v;
}

} // namespace

TEST(VolumeInfo, TypeOfEachKindOfVolume) {
    const auto v = desk();
    struct Case {
        const char* path;
        const char* type;
        bool network;
        const char* mountPoint;
    };
    const Case cases[] = {
        {"/home/user/docs", "Fixed", false, "/"},
        {"/media/cdrom/setup.exe", "CD-ROM", false, "/media/cdrom"},
        {"/mnt/share/folder", "Network", true, "/mnt/share"},
        {"/mnt/nfs", "Network", true, "/mnt/nfs"},
        {"/tmp/x", "RAM Disk", false, "/tmp"},
        {"/media/USB STICK/photos", "Removable", false, "/media/USB STICK"},
        {"/media/card", "Removable", false, "/media/card"}, // on a USB bus
        {"/media/cdromx", "Fixed", false, "/"},             // a name that only begins alike
    };
    for (const Case& c : cases) {
        const MediaInfo m = infoOf(v, c.path);
        EXPECT_EQ(m.UnityType, c.type) << c.path;
        EXPECT_EQ(m.UnityIsNetwork, c.network) << c.path;
        EXPECT_EQ(m.DriveLetter, c.mountPoint) << c.path;
    }
}

TEST(VolumeInfo, LabelSerialSizesAndPercentages) {
    const auto v = desk();
    const MediaInfo stick = infoOf(v, "/media/USB STICK");
    EXPECT_EQ(stick.UnityLabel, "USB STICK");
    EXPECT_EQ(stick.UnitySerialNumber, "0ABC-1234");
    EXPECT_EQ(stick.UnityPartitionType, "vfat");
    EXPECT_EQ(stick.UnitySize, 1000.0);
    EXPECT_EQ(stick.UnityFreeSpace, 333.0);
    EXPECT_EQ(stick.UnityUsedSpace, 667.0);
    EXPECT_FLOAT_EQ(stick.UnityFreeSpacePerc, 33.3f);
    EXPECT_FLOAT_EQ(stick.UnityUsedSpacePerc, 66.7f);
    const MediaInfo root = infoOf(v, "/");
    EXPECT_EQ(root.UnitySerialNumber, "1B4E-28BA");
    EXPECT_EQ(root.UnityLabel, "root");
    EXPECT_EQ(infoOf(v, "/media/cdrom").UnitySerialNumber, "2009-0714");
    EXPECT_EQ(infoOf(v, "/mnt/share").UnitySerialNumber, "");
    EXPECT_EQ(infoOf(v, "/tmp").UnityLabel, "");
}

TEST(VolumeInfo, SerialTexts) {
    EXPECT_EQ(formatSerial(0xABC1234), "0ABC-1234");
    EXPECT_EQ(formatSerial(0xFEDC1234), "FEDC-1234");
    EXPECT_EQ(formatSerial(0), "0000-0000");
    EXPECT_EQ(serialFromUuid("abc-1234"), "0ABC-1234");
    EXPECT_EQ(serialFromUuid("fedc1234-0000-4000-8000-000000000000"), "FEDC-1234");
    EXPECT_EQ(serialFromUuid("1A2B3C4D5E6F7081"), "1A2B-3C4D"); // NTFS serial
    EXPECT_EQ(serialFromUuid(""), "");
}

TEST(VolumeInfo, PercentagesRoundToOneDecimalTiesToEven) {
    EXPECT_FLOAT_EQ(percentOneDecimal(333, 1000), 33.3f);
    EXPECT_FLOAT_EQ(percentOneDecimal(667, 1000), 66.7f);
    EXPECT_FLOAT_EQ(percentOneDecimal(250, 1000), 25.0f);
    EXPECT_FLOAT_EQ(percentOneDecimal(125, 10000), 1.2f); // 1.25: tie to even
    EXPECT_FLOAT_EQ(percentOneDecimal(135, 10000), 1.4f); // 1.35: tie to even
    EXPECT_FLOAT_EQ(percentOneDecimal(1, 3), 33.3f);
}

TEST(VolumeInfo, EmptyLetterTouchesNothingAndBadPathsGiveEmptyRecords) {
    const auto v = desk();
    NX_DiskFileInfo_ c;
    c.setVolumeSystem(v);
    EXPECT_EQ(c.GetUnityInfo("").UnityType, "");
    EXPECT_EQ(v->calls, 0);
    const MediaInfo relative = c.GetUnityInfo("relative/path");
    EXPECT_EQ(relative.UnityType, "");
    EXPECT_FALSE(c.LastError().isEmpty());
    v->space["/tmp"] = {0, 0}; // a volume of size 0
    EXPECT_EQ(c.GetUnityInfo("/tmp").UnityType, "");
    EXPECT_FALSE(c.LastError().isEmpty());
    v->mountInfo.clear();
    EXPECT_EQ(c.GetUnityInfo("/home").DriveLetter, "");
}

TEST(VolumeInfo, MountTableParsing) {
    const QByteArray text = "22 1 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
                            "36 22 8:1 / /media/my\\040disk rw master:1 - ext4 /dev/sda1 rw\n"
                            "37 22 8:1 / /media/my\\040disk rw - btrfs /dev/sdz9 rw\n"
                            "garbage line\n\n";
    const QList<MountEntry> mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 3);
    EXPECT_EQ(mounts[1].MountPoint, "/media/my disk");
    EXPECT_EQ(mounts[1].FileSystem, "ext4");
    EXPECT_EQ(mounts[1].Source, "/dev/sda1");
    // The later of two mounts on one point hides the earlier.
    EXPECT_EQ(mountOf(mounts, "/media/my disk/a").Source, "/dev/sdz9");
    EXPECT_TRUE(mountOf(mounts, "/home").MountPoint.isNull());
}

namespace {

QString tool(const char* name) {
    return QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
}

bool run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

TEST(VolumeImages, FatImageGivesItsVolumeIdAndLabel) {
    const QString mkfs = tool("mkfs.vfat");
    if (mkfs.isEmpty())
        GTEST_SKIP() << "mkfs.vfat is missing (scripts/setup installs dosfstools)";
    const QString image = QuorvaneTest::makeTempFolder("qv-img") + "/fat.img";
    ASSERT_TRUE(run(mkfs, {"-C", image, "1440", "-n", "QVSTICK", "-i", "0ABC1234"}));
    const VolumeIdentity id = LinuxVolumeSystem::probe(image);
    EXPECT_EQ(id.Type, "vfat");
    EXPECT_EQ(id.Label, "QVSTICK");
    EXPECT_EQ(serialFromUuid(id.Uuid), "0ABC-1234");

    auto v = std::make_shared<FakeVolumes>();
    v->probeImages = true;
    v->mount(image, "/media/stick", "vfat");
    v->space["/media/stick"] = {1000, 250};
    const MediaInfo m = infoOf(v, "/media/stick/file");
    EXPECT_EQ(m.UnitySerialNumber, "0ABC-1234");
    EXPECT_EQ(m.UnityLabel, "QVSTICK");
    EXPECT_FLOAT_EQ(m.UnityFreeSpacePerc, 25.0f);
    EXPECT_FLOAT_EQ(m.UnityUsedSpacePerc, 75.0f);
}

TEST(VolumeImages, Ext4ImageGivesTheStartOfItsUuid) {
    const QString mkfs = tool("mkfs.ext4");
    if (mkfs.isEmpty())
        GTEST_SKIP() << "mkfs.ext4 is missing (scripts/setup installs e2fsprogs)";
    const QString image = QuorvaneTest::makeTempFolder("qv-img") + "/ext.img";
    QFile f(image);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(4 * 1024 * 1024));
    f.close();
    ASSERT_TRUE(run(mkfs, {"-q", "-F", "-L", "archive disk", "-U",
                           "fedc1234-5678-4abc-8def-0123456789ab", image}));
    const VolumeIdentity id = LinuxVolumeSystem::probe(image);
    EXPECT_EQ(id.Type, "ext4");
    EXPECT_EQ(id.Label, "archive disk");
    EXPECT_EQ(serialFromUuid(id.Uuid), "FEDC-1234");
}

TEST(VolumeImages, NotAFileSystem) {
    const QString image = QuorvaneTest::makeTempFolder("qv-img") + "/zero.img";
    QFile f(image);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(65536, '\0'));
    f.close();
    const VolumeIdentity id = LinuxVolumeSystem::probe(image);
    EXPECT_EQ(id.Type, "");
    EXPECT_EQ(id.Uuid, "");
    EXPECT_EQ(LinuxVolumeSystem::probe("/nonexistent").Type, "");
}

TEST(VolumeInfo, ThisMachinesRootVolume) {
    NX_DiskFileInfo_ c;
    const MediaInfo m = c.GetUnityInfo(QDir::currentPath());
    ASSERT_FALSE(m.UnityType.isEmpty()) << c.LastError().toStdString();
    EXPECT_GT(m.UnitySize, 0.0);
    EXPECT_FALSE(m.UnityPartitionType.isEmpty());
    EXPECT_FALSE(m.DriveLetter.isEmpty());
    EXPECT_NEAR(m.UnityFreeSpacePerc + m.UnityUsedSpacePerc, 100.0, 0.11);
}
