#pragma once
// What a run derives from a file after its row is written: the entries of
// ZIP and RAR archives (stored as contained files, small ones extracted into
// the run's work folder and analysed), word index, previews and MP3 tags.

#include "foundation/Records.h"

#include <QString>

namespace QuorvaneSDK {
class Main;
}

namespace QuorvaneCataloguing {

class ContentStores;
class WorkFolder;

// The run as the dispatch sees it.
class DispatchOwner {
public:
    virtual ~DispatchOwner() = default;
    // ScanningInProcess: false once the user stopped the run.
    virtual bool isScanning() const = 0;
    virtual void NewFileArchivedScanned(const QString& NewFile) = 0;
    // A pop-up of kind Error, 10 seconds.
    virtual void showErrorPopUp(const QString& text) = 0;
    // Rows written (batch pacing).
    virtual void wroteRows(int rows) = 0;
};

class ContentDispatch {
public:
    ContentDispatch(QuorvaneSDK::Main& main, const QuorvaneSDK::SetUp& settings,
                    ContentStores* stores, WorkFolder& work, DispatchOwner& owner);

    // The file whose row was just written; `path` opens it (its real bytes).
    void dispatch(const QString& path);
    // Content of a file on disk whose row (of the target's kind) is the newest.
    void handle_FileContent(const QString& FileName, QuorvaneSDK::Targets Target);
    // One contained file, stored and (when small) extracted and analysed.
    void handleContained(QuorvaneSDK::FileQuorvaneCompressed record);

private:
    void listZip(const QString& path);
    void listRar(const QString& path);
    bool extract(const QuorvaneSDK::FileQuorvaneCompressed& record) const;
    qint32 rowId(QuorvaneSDK::Targets Target);

    QuorvaneSDK::Main& m_main;
    const QuorvaneSDK::SetUp& m_settings;
    ContentStores* m_stores;
    WorkFolder& m_work;
    DispatchOwner& m_owner;
};

} // namespace QuorvaneCataloguing
