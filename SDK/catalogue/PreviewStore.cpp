#include "catalogue/PreviewStore.h"

#include "analysis/ImageLimits.h"
#include "analysis/cDIBSection.h"
#include "analysis/mJPEGLibrary.h"
#include "catalogue/CatalogueSql.h"
#include "foundation/Helpers.h"

#include <NX_TextExtractor/Extractor.h>

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRandomGenerator>

namespace QuorvaneSDK {

using namespace CatalogueSql;

namespace {

// Every statement of the preview store; the two tables differ only in
// their name and key column.
namespace Sql {

enum Slot { InsertImage = 0, InsertText = 2 };

// A new preview is written as a pending row first and takes its real type
// only once the older rows it replaces are gone, so a failure never leaves
// the key without its previous preview. (Rolling back instead would drop
// the keys of rows just appended, which later rows of the scan still need.)
const QString pending = QStringLiteral("-1");

QString table(Targets target) {
    return target == Targets::File ? QStringLiteral("PreviewFile")
                                   : QStringLiteral("PreviewFileContained");
}
QString key(Targets target) {
    return target == Targets::File ? QStringLiteral("IDFile") : QStringLiteral("IDFileContained");
}
QString where(Targets target, qint32 id) {
    return QStringLiteral(" WHERE ") + key(target) + QStringLiteral(" = ") + QString::number(id);
}
QString deletePending(Targets target, qint32 id) {
    return QStringLiteral("Delete FROM ") + table(target) + where(target, id) +
           QStringLiteral(" AND Type = ") + pending;
}
// Every preview of the key but the pending one.
QString deleteAll(Targets target, qint32 id) {
    return QStringLiteral("Delete FROM ") + table(target) + where(target, id) +
           QStringLiteral(" AND (Type IS NULL OR Type <> ") + pending + QStringLiteral(")");
}
QString deleteImages(Targets target, qint32 id) {
    return QStringLiteral("Delete FROM ") + table(target) + where(target, id) +
           QStringLiteral(" AND Type = 0");
}
QString settle(Targets target, qint32 id, Preview type) {
    return QStringLiteral("UPDATE ") + table(target) + QStringLiteral(" SET Type = ") +
           QString::number(static_cast<int>(type)) + where(target, id) +
           QStringLiteral(" AND Type = ") + pending;
}
QString insertImage(Targets target) {
    return QStringLiteral("INSERT INTO ") + table(target) + QStringLiteral(" (") + key(target) +
           QStringLiteral(", PreviewBinary , Type ) VALUES (?, ?, ") + pending +
           QStringLiteral(")");
}
QString insertText(Targets target) {
    return QStringLiteral("INSERT INTO ") + table(target) + QStringLiteral(" (") + key(target) +
           QStringLiteral(", PreviewText , Type ) VALUES (?, ?, ") + pending + QStringLiteral(")");
}
QString selectText(Targets target, qint32 id) {
    return QStringLiteral("select PreviewText from ") + table(target) + where(target, id) +
           QStringLiteral(" AND Type = 1 LIMIT 1");
}
QString selectImage(Targets target, qint32 id) {
    return QStringLiteral("select PreviewBinary from ") + table(target) + where(target, id) +
           QStringLiteral(" AND Type = 0 LIMIT 1");
}

} // namespace Sql

bool hasAsciiLetter(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z'))
            return true;
    }
    return false;
}

QImage readPicture(QImageReader& reader) {
    Analysis::limitReader(reader);
    if (!Analysis::sizeAllowed(reader.size()))
        return QImage();
    QImage image;
    return reader.read(&image) ? image : QImage();
}

// A file name in the work folder that nobody else has taken: the time,
// a number below 100 and ".jpg"; the file is created empty to hold the name.
QString newThumbnailPath() {
    const QString folder = get_AppFolder(AppFolder::Uncompress);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("ddMMyyhhmmss"));
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int number = static_cast<int>(QRandomGenerator::global()->bounded(100));
        QString name = folder + stamp + QString::number(number);
        if (attempt >= 100)
            name += QLatin1Char('_') + QString::number(attempt);
        QFile file(name + QStringLiteral(".jpg"));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
    }
    return QString();
}

} // namespace

QImage decodePicture(const QByteArray& bytes) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&buffer);
    return readPicture(reader);
}

QImage loadPicture(const QString& fileName) {
    QImageReader reader(fileName);
    return readPicture(reader);
}

QString PreviewStore::truncationMarker() {
    return QStringLiteral("\r\n##########TRUNCATED##########");
}

PreviewStore::PreviewStore(std::function<NX_TextExtractor::Extractor&()> extractor)
    : m_extractor(std::move(extractor)) {
}

ItemPreview PreviewStore::handle_Preview(ItemPreview& Preview) {
    PostPreview& post = Preview.Post;
    const std::pair<qint32, Targets> postKeys[] = {{post.IDFile, Targets::File},
                                                   {post.IDFileContained, Targets::FileContained}};
    for (const auto& [key, target] : postKeys) {
        if (key <= 0)
            continue;
        if (post.Preview == Preview::Image) {
            if (!post.ImageFileName.isEmpty())
                set_PreviewImage(post.ImageFileName, key, target);
        } else if (!post.TextFileName.isEmpty()) {
            set_PreviewText(post.TextFileName, key, target, post.TextMaxSizeKB, QString());
        } else if (!post.TextToParse.isEmpty()) {
            set_PreviewText(QString(), key, target, post.TextMaxSizeKB, post.TextToParse);
        }
    }
    GetPreview& get = Preview.Get;
    const std::pair<qint32, Targets> getKeys[] = {{get.IDFile, Targets::File},
                                                  {get.IDFileContained, Targets::FileContained}};
    bool read = false;
    for (const auto& [key, target] : getKeys) {
        if (key <= 0)
            continue;
        read = true;
        if (get.Preview == Preview::Image)
            get.Image = get_PreviewImage(key, target);
        else
            get.Text = get_PreviewText(key, target);
    }
    return read ? Preview : ItemPreview{};
}

void PreviewStore::set_PreviewImage(const QString& path, qint32 key, Targets target) {
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxImageBytes || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    Database& database = db();
    PreparedStatement& insert = m_statements.statement(
        database, Sql::InsertImage + static_cast<int>(target), Sql::insertImage(target),
        QStringLiteral("QuorvaneSDK.set_PreviewImage"));
    insert.bind(0, key);
    insert.bind(1, bytes);
    // The older image of the key goes only when the new one is in.
    replace(key, target, Preview::Image, insert, Sql::deleteImages(target, key),
            QStringLiteral("QuorvaneSDK.set_PreviewImage"));
}

bool PreviewStore::replace(qint32 key, Targets target, Preview type, PreparedStatement& insert,
                           const QString& deleteOlder, const QString& routine) {
    Database& database = db();
    auto run = [&database, &routine](const QString& sql) {
        return database.execute_Sql(sql, routine, false).Number == 0;
    };
    run(Sql::deletePending(target, key)); // left by an earlier failure
    if (insert.exec().Number != 0)
        return false;
    if (!run(deleteOlder)) {
        run(Sql::deletePending(target, key));
        return false;
    }
    return run(Sql::settle(target, key, type));
}

QString PreviewStore::previewText(const QString& TextFileName, qint16 TextMaxSizeKB,
                                  const QString& TextToParse) {
    if (TextFileName.isEmpty())
        return TextToParse;
    NX_TextExtractor::Extractor& extractor = m_extractor();
    using NX_TextExtractor::TypesFile;
    if (extractor.get_FileType(TextFileName).Type == TypesFile::MicrosoftWordDocument)
        return extractor.extract_text(TextFileName, TypesFile::MicrosoftWordDocument, 0);
    // One kilobyte more than kept, so that a longer file shows the marker;
    // without a limit a huge file still costs a bounded read.
    const qint32 limit = TextMaxSizeKB == 0 ? kUnlimitedReadKB : TextMaxSizeKB;
    return extractor.extract_text(TextFileName, TypesFile::TextFile, limit + 1);
}

void PreviewStore::set_PreviewText(const QString& TextFileName, qint32 key, Targets target,
                                   qint16& TextMaxSizeKB, const QString& TextToParse) {
    if (TextFileName.isEmpty() && TextToParse.isEmpty())
        return;
    if (TextMaxSizeKB < 0 || TextMaxSizeKB > 10000)
        TextMaxSizeKB = 10;
    QString text = previewText(TextFileName, TextMaxSizeKB, TextToParse);
    qint64 keep = qint64(TextMaxSizeKB) * 1024;
    if (TextMaxSizeKB == 0 && !TextFileName.isEmpty())
        keep = qint64(kUnlimitedReadKB) * 1024;
    if (keep > 0 && text.size() > keep)
        text = text.left(keep) + truncationMarker();
    if (!hasAsciiLetter(text))
        return;
    text.remove(QChar(0));
    const QString routine = QStringLiteral("QuorvaneSDK.set_PreviewText");
    PreparedStatement& insert = m_statements.statement(
        db(), Sql::InsertText + static_cast<int>(target), Sql::insertText(target), routine);
    insert.bind(0, key);
    insert.bind(1, text);
    // Every older preview of the key, image too, goes once the text is in.
    replace(key, target, Preview::Text, insert, Sql::deleteAll(target, key), routine);
}

QString PreviewStore::get_PreviewText(qint32 key, Targets target) {
    const std::optional<Recordset> rs = db().get_Recordset(
        Sql::selectText(target, key), QStringLiteral("QuorvaneSDK.get_PreviewText"));
    if (!rs || rs->RecordCount() == 0 || rs->isNull(QStringLiteral("PreviewText")))
        return QString();
    return rs->text(QStringLiteral("PreviewText"));
}

QImage PreviewStore::get_PreviewImage(qint32 key, Targets target) {
    const std::optional<Recordset> rs = db().get_Recordset(
        Sql::selectImage(target, key), QStringLiteral("QuorvaneSDK.get_PreviewImage"));
    if (!rs || rs->RecordCount() == 0)
        return QImage();
    // Decoded from memory: no temporary file.
    return decodePicture(rs->toBytes(QStringLiteral("PreviewBinary")));
}

JPG PreviewStore::get_JPGDetails(const QString& JPGFileName) {
    auto original = std::make_shared<cDIBSection>();
    if (!mJPEGLibrary::LoadJPG(*original, JPGFileName) && !original->CreateFromFile(JPGFileName))
        return JPG{};
    JPG result;
    result.Original = original;
    result.OriginalFileName = JPGFileName;
    const std::shared_ptr<cDIBSection> thumbnail = original->GetThumbnailDIB(250, 250, true);
    if (!thumbnail || thumbnail->isEmpty()) {
        result.ThumbinalFileName = JPGFileName;
        result.ThumbinalJPG = loadPicture(JPGFileName);
        return result;
    }
    const QString path = newThumbnailPath();
    if (path.isEmpty())
        return JPG{};
    if (!mJPEGLibrary::SaveJPG(*thumbnail, path, 30)) {
        QFile::remove(path); // only the name this call reserved
        return JPG{};
    }
    result.ThumbinalDIB = thumbnail;
    result.ThumbinalFileName = path;
    result.ThumbinalJPG = loadPicture(path);
    return result;
}

} // namespace QuorvaneSDK
