#include "ScanFixture.h"

#include "foundation/Recordset.h"
#include "foundation/SchemaUpgrade.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

using namespace QuorvaneSDK;
using namespace QuorvaneCataloguing;

namespace QuorvaneTest {

bool RecordingHost::askYesNo(const QString& text) {
    questions.append(text);
    return answerYes;
}

void RecordingHost::showPopUp(const QString& text, int, MessageType) {
    popUps.append(text);
}

void RecordingHost::progress(const ScanProgress& p) {
    progressSeen.append(p);
    if (onProgress)
        onProgress(p);
}

void RecordingHost::finished(qint32, const QString& caption) {
    ++finishedCalls;
    finishCaption = caption;
}

QStringList RecordingStores::get_Words(const QString& TextFile, qint16, qint16,
                                       const QString& TextString, bool, const QString&) {
    QString text = TextString;
    if (!TextFile.isEmpty()) {
        QFile f(TextFile);
        if (f.open(QIODevice::ReadOnly))
            text = QString::fromUtf8(f.readAll());
    }
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void RecordingStores::set_Words(const QStringList& Words, qint32 IDFile, Targets Target, qint16) {
    calls.append({QStringLiteral("words"), IDFile, Target, Words.join(QLatin1Char(','))});
}

void RecordingStores::handle_Preview(ItemPreview& Item) {
    const PostPreview& p = Item.Post;
    const Targets target = p.IDFileContained != 0 ? Targets::FileContained : Targets::File;
    const qint32 id = p.IDFileContained != 0 ? p.IDFileContained : p.IDFile;
    if (p.Preview == Preview::Text)
        calls.append(
            {QStringLiteral("preview-text"), id, target,
             p.TextFileName.isEmpty() ? p.TextToParse : QFileInfo(p.TextFileName).fileName()});
    else
        calls.append({QStringLiteral("preview-image"), id, target, p.ImageFileName});
}

JPG RecordingStores::get_JPGDetails(const QString& FileName) {
    lastJpgFor = FileName;
    JPG jpg;
    jpg.OriginalFileName = FileName;
    jpg.ThumbinalFileName = FileName;
    if (!thumbnailToMake.isEmpty()) {
        QFile f(thumbnailToMake);
        if (f.open(QIODevice::WriteOnly))
            f.write("thumbnail");
        jpg.ThumbinalFileName = thumbnailToMake;
    }
    return jpg;
}

MP3Tags RecordingStores::get_MP3Details(const QString& FileName) {
    MP3Tags tags;
    tags.FullName = FileName;
    tags.FileName = QFileInfo(FileName).fileName();
    return tags;
}

void RecordingStores::set_Mp3Tags(MP3Tags& Tags, Targets Target) {
    calls.append({QStringLiteral("tags"), Tags.IDFile, Target, Tags.FileName});
}

QStringList RecordingStores::kinds() const {
    QStringList out;
    for (const Call& c : calls)
        out.append(c.what + QLatin1Char(':') + (c.target == Targets::File ? "file" : "contained") +
                   QLatin1Char(':') + c.detail);
    return out;
}

void ScanTest::SetUp() {
    EngineTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    const SchemaUpgrade::Outcome outcome = SchemaUpgrade(db()).run();
    ASSERT_TRUE(outcome.ok()) << outcome.error.toStdString();
    m_main = std::make_unique<Main>();
    root = makeTempFolder(QStringLiteral("qv-scan"));
    settings.ScanSubFolders = true;
}

void ScanTest::TearDown() {
    m_engine.reset();
    m_main.reset();
    EngineTest::TearDown();
}

void ScanTest::scan(const QString& label, bool update, qint32 updateId, ContentStores* stores) {
    if (auto* recording = dynamic_cast<RecordingStores*>(stores))
        recording->m_main = m_main.get();
    m_engine = std::make_unique<ScanEngine>(*m_main, m_host);
    m_engine->setSettings(settings);
    if (!catalogueStores)
        m_engine->setContentStores(stores);
    m_engine->setCdDriveAccess(cdAccess);
    const QString mount = mountPoint.isEmpty() ? root : mountPoint, type = volumeType, sn = serial,
                  vl = volumeLabel;
    m_engine->setVolumeInfoSource([=](const QString&) {
        NX_DiskFileInfo::MediaInfo info;
        info.UnityType = type;
        info.UnitySerialNumber = sn;
        info.UnityLabel = vl;
        info.UnityPartitionType = QStringLiteral("ext4");
        info.UnitySize = 1000000;
        info.DriveLetter = mount;
        return info;
    });
    m_engine->setInfo(label, QStringLiteral("Group"), QStringLiteral("Description"), root, update,
                      updateId);
    m_engine->AddFiles();
}

QStringList ScanTest::rowsWhere(qint32 mediaId, const QString& condition) {
    const QString sql =
        QStringLiteral("select FolderName, FileName, FileExtension, FileSize, FileProperties from "
                       "Files where IDMedia = %1 %2 order by FolderName, FileName")
            .arg(mediaId)
            .arg(condition);
    QStringList out;
    std::optional<Recordset> rs = db().get_Recordset(sql, QStringLiteral("test.rows"));
    if (!rs)
        return {QStringLiteral("<query failed>")};
    for (; !rs->Eof(); rs->MoveNext())
        out.append(QStringList{rs->text(QStringLiteral("FolderName")),
                               rs->text(QStringLiteral("FileName")),
                               rs->text(QStringLiteral("FileExtension")),
                               QString::number(rs->toLongLong(QStringLiteral("FileSize"))),
                               rs->text(QStringLiteral("FileProperties"))}
                       .join(QLatin1Char('|')));
    return out;
}

QStringList ScanTest::rows(qint32 mediaId) {
    return rowsWhere(mediaId, QString());
}

QStringList ScanTest::containedRows(qint32 mediaId) {
    const QString sql =
        QStringLiteral("select c.FilePath, c.FileName, c.FileExtension, c.FileSize, "
                       "c.FileProperties, c.Comment, c.CompressorType from FilesContained c join "
                       "Files f on f.IDFile = c.IDFile where f.IDMedia = %1 order by "
                       "c.IDFileContained")
            .arg(mediaId);
    QStringList out;
    std::optional<Recordset> rs = db().get_Recordset(sql, QStringLiteral("test.contained"));
    if (!rs)
        return {QStringLiteral("<query failed>")};
    for (; !rs->Eof(); rs->MoveNext())
        out.append(QStringList{
            rs->text(QStringLiteral("FilePath")), rs->text(QStringLiteral("FileName")),
            rs->text(QStringLiteral("FileExtension")),
            QString::number(rs->toLongLong(QStringLiteral("FileSize"))),
            rs->text(QStringLiteral("FileProperties")), rs->text(QStringLiteral("Comment")),
            QString::number(rs->toLongLong(QStringLiteral("CompressorType")))}
                       .join(QLatin1Char('|')));
    return out;
}

qint64 ScanTest::scalar(const QString& sql) {
    std::optional<Recordset> rs = db().get_Recordset(sql, QStringLiteral("test.scalar"));
    if (!rs || rs->RecordCount() == 0)
        return -1;
    return rs->value(0).toLongLong();
}

void ScanTest::writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

} // namespace QuorvaneTest
