#pragma once
// One cataloguing run without a window: identifies the medium, stores its
// row, walks the folder tree below the start path writing one virtual row
// per folder and one row per file, and hands every file to the content
// dispatch. The host answers questions, shows pop-ups and gets progress;
// a stop (set_AddingProcess(false)) is honoured at the next entry.

#include "ContentDispatch.h"
#include "ScanHost.h"

#include "MediaInfo.h"
#include "foundation/Records.h"

#include <QByteArray>
#include <QDateTime>
#include <functional>
#include <memory>

struct statx;

namespace QuorvaneSDK {
class Main;
class CdDriveAccess;
class ExtensionInfoCache;
} // namespace QuorvaneSDK

namespace QuorvaneCataloguing {

class ScanBatch;
class WorkFolder;

class ScanEngine : private DispatchOwner {
public:
    using VolumeInfoSource = std::function<NX_DiskFileInfo::MediaInfo(const QString& path)>;

    ScanEngine(QuorvaneSDK::Main& main, ScanHost& host);
    ~ScanEngine() override;

    // The in-memory settings the run follows (walk switches, content analysis).
    void setSettings(const QuorvaneSDK::SetUp& settings) { m_settings = settings; }
    // Word index, previews and MP3 tags: by default those of the catalogue
    // API; none (nullptr): that analysis is skipped and plain files are not
    // read unless archives are listed.
    void setContentStores(ContentStores* stores) { m_stores = stores; }
    // Where drive information comes from (default: the volume control).
    void setVolumeInfoSource(VolumeInfoSource source) { m_volumeInfo = std::move(source); }
    // Where optical drives are read (default: the Linux drives).
    void setCdDriveAccess(QuorvaneSDK::CdDriveAccess* access) { m_cdAccess = access; }

    void setInfo(const QString& DriveLabel, const QString& DriveGroup,
                 const QString& DriveDescription, const QString& PathToStart,
                 bool UpdateToMedia = false, qint32 UpdateToMediaID = 0);
    // The whole run; returns when it ends.
    void AddFiles();

    void ResetCounters();
    void set_ScanningInProcess(bool value);
    bool ScanningInProcess() const { return m_scanning; }
    void set_AddingProcess(bool NewValue) { m_adding = NewValue; }
    bool AddingProcess() const { return m_adding; }
    void NewFileScanned(const QString& NewFile);
    void NewFileArchivedScanned(const QString& NewFile) override;
    static double FileSizeWFD(quint32 plngFileSizeHigh, quint32 plngFileSizeLow);

    // After a run: the medium written (id 0 when none) and the counters.
    const QuorvaneSDK::Media& media() const { return m_media; }
    qint32 filesScanned() const { return m_fileCounter; }
    qint32 archivedFilesScanned() const { return m_archivedCounter; }
    int batchCommits() const { return m_batchCommits; }

private:
    bool isScanning() const override { return m_scanning; }
    void showErrorPopUp(const QString& text) override;
    void wroteRows(int rows) override;

    bool settleMedium(const QString& cdId);
    bool settleUpdatedMedium();
    void settleNewMedium();
    qint32 storedMediumId();
    void walkStart();
    void walkFolder(const QByteArray& rawPath, const QString& shownPath,
                    const QString& catalogueName);
    void processFile(const QByteArray& rawFolder, const QString& shownFolder,
                     const QString& catalogueName, const QByteArray& rawName,
                     const struct statx* facts);
    void analyse(const QByteArray& rawPath, const QString& name);
    void catalogueAudioTracks();
    void writeVirtualRow(const QString& shownPath, const QString& catalogueName);
    void refreshProgress();

    QuorvaneSDK::Main& m_main;
    ScanHost& m_host;
    QuorvaneSDK::SetUp m_settings;
    std::unique_ptr<ContentStores> m_mainStores;
    ContentStores* m_stores = nullptr;
    VolumeInfoSource m_volumeInfo;
    QuorvaneSDK::CdDriveAccess* m_cdAccess = nullptr;

    QString m_driveLabel, m_driveGroup, m_driveDescription, m_pathToStart;
    bool m_updateToMedia = false;
    qint32 m_updateToMediaId = 0;

    bool m_scanning = false;
    bool m_adding = false;
    qint32 m_fileCounter = 0;
    qint32 m_archivedCounter = 0;
    QDateTime m_startTime;
    ScanProgress m_progress;

    QuorvaneSDK::Media m_media;
    QString m_mountPoint;
    bool m_freshMedium = false; // nothing of it is catalogued: deletes are skipped
    bool m_audioCd = false;
    int m_batchCommits = 0;
    std::unique_ptr<QuorvaneSDK::ExtensionInfoCache> m_descriptions;
    std::unique_ptr<WorkFolder> m_work;
    std::unique_ptr<ScanBatch> m_batch;
    std::unique_ptr<ContentDispatch> m_dispatch;
};

} // namespace QuorvaneCataloguing
