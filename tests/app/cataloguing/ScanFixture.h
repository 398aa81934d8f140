#pragma once
// A catalogue on each engine, a Main on it, a scan engine driven by a
// recording host, and helpers that build fixture trees and read rows back.

#include "ContentStores.h"
#include "ScanEngine.h"
#include "SdkTestSupport.h"

#include "catalogue/Main.h"

#include <QStringList>
#include <functional>
#include <memory>

#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace QuorvaneTest {

// Answers questions in code and records what the run shows.
class RecordingHost : public QuorvaneCataloguing::ScanHost {
public:
    bool answerYes = false;
    QStringList questions;
    QStringList popUps;
    QStringList problems;
    QList<QuorvaneCataloguing::ScanProgress> progressSeen;
    QString finishCaption;
    int finishedCalls = 0;
    // Called on every progress report (tests stop the run from here).
    std::function<void(const QuorvaneCataloguing::ScanProgress&)> onProgress;

    bool askYesNo(const QString& text) override;
    void showPopUp(const QString& text, int secs, QuorvaneSDK::MessageType kind) override;
    void reportProblem(const QString& text) override { problems.append(text); }
    void progress(const QuorvaneCataloguing::ScanProgress& p) override;
    void finished(qint32, const QString& caption) override;
};

// Records what the dispatch asks of the word, preview and tag stores.
class RecordingStores : public QuorvaneCataloguing::ContentStores {
public:
    struct Call {
        QString what; // "words", "preview-text", "preview-image", "tags"
        qint32 id = 0;
        QuorvaneSDK::Targets target = QuorvaneSDK::Targets::File;
        QString detail;
    };
    QList<Call> calls;
    QString lastJpgFor;
    QString thumbnailToMake; // when set, get_JPGDetails writes this file as thumbnail

    QStringList get_Words(const QString& TextFile, qint16, qint16, const QString& TextString, bool,
                          const QString&) override;
    void set_Words(const QStringList& Words, qint32 IDFile, QuorvaneSDK::Targets Target,
                   qint16) override;
    void handle_Preview(QuorvaneSDK::ItemPreview& Item) override;
    QuorvaneSDK::JPG get_JPGDetails(const QString& FileName) override;
    QuorvaneSDK::MP3Tags get_MP3Details(const QString& FileName) override;
    void set_Mp3Tags(QuorvaneSDK::MP3Tags& Tags, QuorvaneSDK::Targets Target) override;
    QStringList kinds() const;

private:
    QuorvaneSDK::Main* m_main = nullptr;
    friend class ScanTest;
};

class ScanTest : public EngineTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QuorvaneSDK::Main& main() { return *m_main; }
    QuorvaneCataloguing::ScanEngine& engine() { return *m_engine; }
    RecordingHost& host() { return m_host; }

    // Settings with sub-folders on and nothing else.
    QuorvaneSDK::SetUp settings;
    QString root;       // the fixture tree, where the scan starts
    QString mountPoint; // where its volume is mounted; empty: root itself
    QString serial = QStringLiteral("ABCD-1234");
    QString volumeLabel = QStringLiteral("FIXTURE");
    QString volumeType = QStringLiteral("Fixed");
    QuorvaneSDK::CdDriveAccess* cdAccess = nullptr; // optical drives (default: the real ones)
    bool catalogueStores = false; // true: the catalogue API's own word, preview and tag stores

    // A fresh engine (so that settings and volume apply) and one run.
    void scan(const QString& label = QString(), bool update = false, qint32 updateId = 0,
              QuorvaneCataloguing::ContentStores* stores = nullptr);

    // "folder|name|ext|size|letter" of every row of a medium, in order.
    QStringList rows(qint32 mediaId);
    QStringList rowsWhere(qint32 mediaId, const QString& condition);
    // "path|name|ext|size|letter|comment|type" of the medium's contained files.
    QStringList containedRows(qint32 mediaId);
    qint64 scalar(const QString& sql);

    static void writeFile(const QString& path, const QByteArray& bytes);

private:
    std::unique_ptr<QuorvaneSDK::Main> m_main;
    std::unique_ptr<QuorvaneCataloguing::ScanEngine> m_engine;
    RecordingHost m_host;
};

} // namespace QuorvaneTest
