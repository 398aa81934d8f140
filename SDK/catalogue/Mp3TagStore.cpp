#include "catalogue/Mp3TagStore.h"

#include "analysis/cMP3Info.h"
#include "catalogue/CatalogueSql.h"

namespace QuorvaneSDK {

using namespace CatalogueSql;

namespace {

// Every statement of the MP3 tag store; the two tables differ only in
// their name and key column.
namespace Sql {

const QString columns = QStringLiteral(
    "Title, Artist, Album, Year, Comment, Genre, MPEGVersion, Layer, BitRate, SampleRate, "
    "Padding, ChannelMode, ModeExtension, Copyright, Original, Emphasis, FrameLength, "
    "TotalFrames, PlayTime");

QString table(Targets target) {
    return target == Targets::File ? QStringLiteral("Mp3TagsFile")
                                   : QStringLiteral("Mp3TagsFileContained");
}

QString key(Targets target) {
    return target == Targets::File ? QStringLiteral("IDFile") : QStringLiteral("IDFileContained");
}

QString insert(Targets target) {
    return QStringLiteral("INSERT INTO ") + table(target) + QStringLiteral(" ( ") + key(target) +
           QStringLiteral(", ") + columns +
           QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
}

// The first row by key order is the first one stored.
QString select(Targets target, qint32 id) {
    return QStringLiteral("select * from ") + table(target) + QStringLiteral(" where ") +
           key(target) + QStringLiteral(" = ") + QString::number(id) +
           QStringLiteral(" ORDER BY IDMP3Tag");
}

QString count(Targets target, qint32 id) {
    return QStringLiteral("select count(IDMP3Tag) as Tot from ") + table(target) +
           QStringLiteral(" where ") + key(target) + QStringLiteral(" = ") + QString::number(id);
}

} // namespace Sql

void fillFromRow(MP3Tags& tags, const Recordset& rs) {
    auto text = [&rs](const char* column, QString& field) {
        const QString name = QLatin1String(column);
        if (!rs.isNull(name))
            field = rs.text(name);
    };
    text("Title", tags.Title);
    text("Artist", tags.Artist);
    text("Album", tags.Album);
    text("Year", tags.Year);
    text("Comment", tags.Comment);
    text("Genre", tags.Genre);
    text("MPEGVersion", tags.MPEGVersion);
    text("Layer", tags.Layer);
    text("BitRate", tags.BitRate);
    text("SampleRate", tags.SampleRate);
    text("ChannelMode", tags.ChannelMode);
    text("ModeExtension", tags.ModeExtension);
    text("Emphasis", tags.Emphasis);
    const auto present = [&rs](const char* column) { return !rs.isNull(QLatin1String(column)); };
    if (present("Padding"))
        tags.Padding = static_cast<qint16>(rs.toLong(QStringLiteral("Padding")));
    if (present("Copyright"))
        tags.Copyright = rs.toBool(QStringLiteral("Copyright"));
    if (present("Original"))
        tags.Original = rs.toBool(QStringLiteral("Original"));
    if (present("FrameLength"))
        tags.FrameLength = static_cast<qint16>(rs.toLong(QStringLiteral("FrameLength")));
    if (present("TotalFrames"))
        tags.TotalFrames = rs.toLong(QStringLiteral("TotalFrames"));
    if (present("PlayTime"))
        tags.PlayTime = static_cast<float>(rs.toDouble(QStringLiteral("PlayTime")));
}

} // namespace

Mp3TagStore::Mp3TagStore(std::function<qint32()> lastIdFile) : m_lastIdFile(std::move(lastIdFile)) {
}

QString Mp3TagStore::cleanTag(const QString& text) {
    QString cleaned = text;
    cleaned.remove(QChar(0));
    cleaned.remove(QChar(1));
    cleaned = cleaned.trimmed();
    // Each pair is deleted, not reduced to one blank.
    cleaned.remove(QStringLiteral("  "));
    return cleaned;
}

MP3Tags Mp3TagStore::get_MP3Details(const QString& MP3FileName) {
    cMP3Info reader;
    reader.setFullName(MP3FileName);
    reader.ReadMP3Info();
    MP3Tags tags;
    tags.IDFile = m_lastIdFile();
    tags.Title = cleanTag(reader.Title());
    tags.Artist = cleanTag(reader.Artist());
    tags.Album = cleanTag(reader.Album());
    tags.Year = cleanTag(reader.Year());
    tags.Comment = cleanTag(reader.Comment());
    tags.Genre = cleanTag(reader.Genre());
    tags.MPEGVersion = cleanTag(reader.MPEGVersion());
    tags.Layer = cleanTag(reader.Layer());
    tags.BitRate = cleanTag(reader.BitRate());
    tags.SampleRate = cleanTag(reader.SampleRate());
    tags.Padding = static_cast<qint16>(reader.Padding().toInt());
    tags.ChannelMode = cleanTag(reader.ChannelMode());
    tags.ModeExtension = cleanTag(reader.ModeExtension());
    tags.Copyright = reader.Copyright();
    tags.Original = reader.Original();
    tags.Emphasis = cleanTag(reader.Emphasis());
    tags.FrameLength = reader.FrameLength();
    tags.TotalFrames = reader.TotalFrames();
    tags.PlayTime = static_cast<float>(reader.PlayTime());
    return tags;
}

void Mp3TagStore::set_Mp3Tags(MP3Tags& NewFileMp3, Targets Target) {
    const MP3Tags& t = NewFileMp3;
    if (t.IDFile < 1)
        return;
    Database& database = db();
    PreparedStatement& insert =
        m_statements.statement(database, static_cast<int>(Target), Sql::insert(Target),
                               QStringLiteral("QuorvaneSDK.set_Mp3Tags"));
    int i = 0;
    insert.bind(i++, t.IDFile);
    for (const QString* text : {&t.Title, &t.Artist, &t.Album, &t.Year, &t.Comment, &t.Genre,
                                &t.MPEGVersion, &t.Layer, &t.BitRate, &t.SampleRate})
        insert.bind(i++, *text);
    insert.bind(i++, t.Padding);
    insert.bind(i++, t.ChannelMode);
    insert.bind(i++, t.ModeExtension);
    insert.bind(i++, t.Copyright);
    insert.bind(i++, t.Original);
    insert.bind(i++, t.Emphasis);
    insert.bind(i++, t.FrameLength);
    insert.bind(i++, t.TotalFrames);
    insert.bind(i++, static_cast<double>(t.PlayTime));
    // A failure is reported by the database layer; nothing else to do.
    insert.exec();
}

MP3Tags Mp3TagStore::get_FileMP3Info(qint32 IDFile, qint32 IDFileCompressed) {
    MP3Tags tags;
    Targets target = Targets::File;
    qint32 id = IDFile;
    if (IDFile < 1) {
        if (IDFileCompressed < 1)
            return tags;
        target = Targets::FileContained;
        id = IDFileCompressed;
    }
    tags.IDFile = id;
    const Recordset rs =
        query(Sql::select(target, id), QStringLiteral("QuorvaneSDK.get_FileMP3Info"));
    if (rs.RecordCount() > 0)
        fillFromRow(tags, rs);
    return tags;
}

bool Mp3TagStore::get_FileHasMP3Info(qint32 IDFile, qint32 IDFileCompressed) {
    Targets target = Targets::File;
    qint32 id = IDFile;
    if (IDFile < 1) {
        if (IDFileCompressed < 1)
            return false;
        target = Targets::FileContained;
        id = IDFileCompressed;
    }
    return firstValue(Sql::count(target, id), QStringLiteral("QuorvaneSDK.get_FileHasMP3Info"),
                      QStringLiteral("Tot")) > 0;
}

} // namespace QuorvaneSDK
