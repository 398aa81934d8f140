#include "ScanEngine.h"

#include "MainContentStores.h"
#include "ScanBatch.h"
#include "ScanText.h"
#include "WorkFolder.h"

#include "NX_DiskFileInfo_.h"
#include "analysis/ExtensionInfoCache.h"
#include "catalogue/CdIdentifier.h"
#include "catalogue/Main.h"
#include "foundation/Database.h"

#include <QRandomGenerator>
#include <QTime>

namespace QuorvaneCataloguing {

using namespace QuorvaneSDK;

namespace {
const QString kNoSerial = QStringLiteral("[noserialnumber]");
constexpr int kPopUpSecs = 10;
} // namespace

ScanEngine::ScanEngine(Main& main, ScanHost& host)
    : m_main(main), m_host(host), m_mainStores(std::make_unique<MainContentStores>(main)) {
    m_stores = m_mainStores.get();
    m_volumeInfo = [](const QString& path) {
        return NX_DiskFileInfo::NX_DiskFileInfo_().GetUnityInfo(path);
    };
}

ScanEngine::~ScanEngine() = default;

void ScanEngine::setInfo(const QString& DriveLabel, const QString& DriveGroup,
                         const QString& DriveDescription, const QString& PathToStart,
                         bool UpdateToMedia, qint32 UpdateToMediaID) {
    m_driveLabel = DriveLabel;
    m_driveGroup = DriveGroup;
    m_driveDescription = DriveDescription;
    m_pathToStart = PathToStart;
    m_updateToMedia = UpdateToMedia;
    m_updateToMediaId = UpdateToMediaID;
}

void ScanEngine::ResetCounters() {
    m_fileCounter = 0;
    m_archivedCounter = 0;
    m_startTime = QDateTime::currentDateTime();
    m_progress = ScanProgress{};
}

void ScanEngine::set_ScanningInProcess(bool value) {
    if (m_scanning == value)
        return;
    m_scanning = value;
    m_host.scanningChanged(value);
}

double ScanEngine::FileSizeWFD(quint32 plngFileSizeHigh, quint32 plngFileSizeLow) {
    return double(plngFileSizeHigh) * 4294967296.0 + double(plngFileSizeLow);
}

void ScanEngine::NewFileScanned(const QString& NewFile) {
    m_progress.LabelProgress = shortenedFilePath(NewFile);
    ++m_fileCounter;
    m_progress.Label_FileCounter =
        QStringLiteral("Count of processed files: ") + QString::number(m_fileCounter);
    refreshProgress();
}

void ScanEngine::NewFileArchivedScanned(const QString& NewFile) {
    m_progress.LabelArchivedProgress = shortenedArchivedName(NewFile);
    ++m_archivedCounter;
    m_progress.Label_FileArchivedCounter =
        QStringLiteral("Count of archived processed files: ") + QString::number(m_archivedCounter);
    refreshProgress();
}

void ScanEngine::refreshProgress() {
    const qint64 seconds = m_startTime.secsTo(QDateTime::currentDateTime());
    m_progress.Label_TimeElapsed =
        QStringLiteral("Elapsed ") + QString::number(seconds) + QStringLiteral(" seconds");
    m_progress.files = m_fileCounter;
    m_progress.archivedFiles = m_archivedCounter;
    m_host.progress(m_progress);
}

void ScanEngine::showErrorPopUp(const QString& text) {
    m_host.showPopUp(text, kPopUpSecs, MessageType::Error);
}

void ScanEngine::wroteRows(int rows) {
    if (m_batch)
        m_batch->wrote(rows);
}

void ScanEngine::AddFiles() {
    set_ScanningInProcess(true);
    ResetCounters();
    m_adding = true;
    m_media = Media{};
    m_audioCd = false;
    m_freshMedium = false;

    // Drive information: what cannot be read stays empty.
    const NX_DiskFileInfo::MediaInfo info = m_volumeInfo(m_pathToStart);
    m_mountPoint = info.DriveLetter;
    m_media.Letter = info.DriveLetter;
    m_media.Label = info.UnityLabel;
    m_media.SerialNumber = info.UnitySerialNumber;
    m_media.IsNetworkDrive = info.UnityIsNetwork;
    m_media.Space_Capacity = info.UnitySize;
    m_media.Space_Used = info.UnityUsedSpace;
    m_media.Space_Free = info.UnityFreeSpace;
    m_media.Type = mediaTypeOfVolume(info.UnityType);
    m_media.PartitionType = info.UnityPartitionType;

    m_media.Group = m_driveGroup;
    m_media.Description = m_driveDescription;
    if (!m_driveLabel.isEmpty())
        m_media.Label = m_driveLabel;

    // An audio disc is only reachable through its device.
    QString cdId;
    if (m_pathToStart.startsWith(QLatin1String("/dev/"))) {
        LinuxCdDriveAccess linuxDrives;
        CdDriveAccess& access = m_cdAccess ? *m_cdAccess : linuxDrives;
        cdId = m_main.get_CDDBID(m_pathToStart, access);
        if (cdId == QLatin1String(CCd::kUnavailable))
            cdId.clear();
    }

    try {
        if (!settleMedium(cdId))
            return;
    } catch (const CatalogueError&) {
        m_host.showPopUp(QStringLiteral("No media found!"), kPopUpSecs, MessageType::Warning);
        return;
    }

    ResetCounters();
    walkStart();
    // Once per run rather than per row: searches stay right without it (new
    // rows are scanned directly), only slower until the index catches up.
    m_main.refresh_SearchIndex();

    m_host.finished(m_media.id, QStringLiteral("Finish at ") +
                                    QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    set_ScanningInProcess(false);
}

bool ScanEngine::settleMedium(const QString& cdId) {
    if (!cdId.isEmpty()) {
        m_media.SerialNumber = cdId;
        m_media.Type = MediaType::AudioCD;
        m_audioCd = true;
    } else if (m_media.SerialNumber.isEmpty()) {
        m_media.SerialNumber = kNoSerial;
    }

    if (m_updateToMedia) {
        if (!settleUpdatedMedium())
            return false;
    } else {
        settleNewMedium();
    }
    if (m_media.id == 0) {
        m_host.showPopUp(QStringLiteral("No media found!"), kPopUpSecs, MessageType::Warning);
        return false;
    }
    return true;
}

bool ScanEngine::settleUpdatedMedium() {
    m_media = m_main.get_Media(QString(), QString(), m_updateToMediaId, false);
    if (m_media.id == 0 || !m_main.exists_Media(m_media)) {
        m_host.showPopUp(QStringLiteral("Please select a catalog before updating"), kPopUpSecs,
                         MessageType::Warning);
        set_ScanningInProcess(false);
        m_media = Media{};
        return false;
    }
    const bool clean = m_host.askYesNo(
        QStringLiteral("The unity ") + m_media.Label +
        QStringLiteral(" is already archived: do you want to clean previous archived info (Yes) "
                       "or just apppend newer (No)?"));
    if (clean) {
        // By the medium's own key: the serial number may be shared
        // ("[noserialnumber]") and would name another medium.
        const ErrorObject e = m_main.execute_Sql(
            QStringLiteral("delete from Files where IDMedia = ") + QString::number(m_media.id));
        m_freshMedium = e.Number == 0;
    }
    // The stored row keeps its key and code.
    m_main.set_Media(m_media);
    return true;
}

void ScanEngine::settleNewMedium() {
    const QString serial = m_media.SerialNumber;
    QRandomGenerator random(quint32(QDateTime::currentMSecsSinceEpoch()));
    // Every number may be taken: give up after many draws rather than loop.
    for (int attempt = 0; attempt < 100000 && m_main.exists_Media(m_media); ++attempt)
        m_media.SerialNumber =
            serial + QLatin1Char('[') + QString::number(random.bounded(10000)) + QLatin1Char(']');
    if (m_main.exists_Media(m_media))
        return;
    m_media.EAN13 = m_main.get_EAN13(Item::Media);
    if (!m_main.set_Media(m_media))
        return;
    m_media.id = storedMediumId();
    m_freshMedium = m_media.id != 0;
}

qint32 ScanEngine::storedMediumId() {
    // Found by the identity exists_Media tested: the serial number, or the
    // label for a medium without one (many media share "[noserialnumber]").
    if (m_media.SerialNumber == kNoSerial)
        return m_main.get_Media(QString(), m_media.Label, 0, false).id;
    return m_main.get_Media(m_media.SerialNumber, QString(), 0, false).id;
}

} // namespace QuorvaneCataloguing
