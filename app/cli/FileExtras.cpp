#include "FileExtras.h"

#include "CliErrors.h"
#include "Output.h"

#include "foundation/Enums.h"
#include "foundation/PreparedStatement.h"

namespace QuorvaneCli {

using namespace QuorvaneSDK;

namespace {

struct Mp3Field {
    const char* caption;
    const char* column;
    enum Kind { Text, Number, Flag } kind;
};

const Mp3Field kMp3Fields[] = {
    {"Song title:", "Title", Mp3Field::Text},
    {"Artist:", "Artist", Mp3Field::Text},
    {"Album:", "Album", Mp3Field::Text},
    {"Year:", "Year", Mp3Field::Text},
    {"Comments:", "Comment", Mp3Field::Text},
    {"Genre:", "Genre", Mp3Field::Text},
    {"MPEG Version:", "MPEGVersion", Mp3Field::Text},
    {"Layer:", "Layer", Mp3Field::Text},
    {"Bit rate:", "BitRate", Mp3Field::Text},
    {"Sample rate:", "SampleRate", Mp3Field::Text},
    {"Padding:", "Padding", Mp3Field::Number},
    {"Channel m.:", "ChannelMode", Mp3Field::Text},
    {"Mode ext:", "ModeExtension", Mp3Field::Text},
    {"Copyright:", "Copyright", Mp3Field::Flag},
    {"Original:", "Original", Mp3Field::Flag},
    {"PlayTime:", "PlayTime", Mp3Field::Number},
};

std::optional<Recordset> select(CatalogueSession& session, const QString& sql, qint32 id,
                                const QString& routine) {
    PreparedStatement query = session.db().prepare(sql, routine);
    query.bind(0, id);
    clearSdkError();
    std::optional<Recordset> rs = query.query();
    if (!rs)
        throw WorkError(withSdkReason(QStringLiteral("cannot read the data of file %1").arg(id)));
    return rs;
}

void readMp3(CatalogueSession& session, qint32 id, bool contained, FileExtras& extras) {
    const QString sql =
        contained ? QStringLiteral("SELECT * FROM Mp3TagsFileContained WHERE IDFileContained = ?")
                  : QStringLiteral("SELECT * FROM Mp3TagsFile WHERE IDFile = ?");
    std::optional<Recordset> rs = select(session, sql, id, QStringLiteral("quorvane-cli.show_MP3"));
    if (rs->RecordCount() == 0)
        return;
    rs->MoveFirst();
    extras.hasMp3 = true;
    for (const Mp3Field& f : kMp3Fields) {
        const QString column = QString::fromLatin1(f.column);
        QString text;
        switch (f.kind) {
        case Mp3Field::Text:
            text = rs->text(column);
            extras.mp3Json.insert(column, text);
            break;
        case Mp3Field::Number:
            text = QString::number(rs->toDouble(column));
            extras.mp3Json.insert(column, rs->toDouble(column));
            break;
        case Mp3Field::Flag:
            text = rs->toBool(column) ? QStringLiteral("True") : QStringLiteral("False");
            extras.mp3Json.insert(column, rs->toBool(column));
            break;
        }
        extras.mp3.append({QString::fromLatin1(f.caption), text});
    }
}

void readPreviews(CatalogueSession& session, qint32 id, bool contained, FileExtras& extras) {
    const QString sql =
        contained
            ? QStringLiteral("SELECT PreviewText, PreviewBinary, Type FROM PreviewFileContained "
                             "WHERE IDFileContained = ?")
            : QStringLiteral(
                  "SELECT PreviewText, PreviewBinary, Type FROM PreviewFile WHERE IDFile = ?");
    std::optional<Recordset> rs =
        select(session, sql, id, QStringLiteral("quorvane-cli.show_Preview"));
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const qint32 type = rs->toLong(QStringLiteral("Type"));
        if (type == static_cast<qint32>(Preview::Text) && extras.previewText.isEmpty())
            extras.previewText = rs->text(QStringLiteral("PreviewText"));
        else if (type == static_cast<qint32>(Preview::Image) && extras.image.isNull())
            extras.image = QImage::fromData(rs->toBytes(QStringLiteral("PreviewBinary")));
    }
}

} // namespace

FileExtras readFileExtras(CatalogueSession& session, qint32 id, bool contained) {
    FileExtras extras;
    readMp3(session, id, contained, extras);
    readPreviews(session, id, contained, extras);
    return extras;
}

void addExtrasJson(QJsonObject& object, const FileExtras& extras) {
    object.insert(QStringLiteral("MP3Tags"),
                  extras.hasMp3 ? QJsonValue(extras.mp3Json) : QJsonValue());
    object.insert(QStringLiteral("PreviewText"), extras.previewText);
    object.insert(QStringLiteral("HasImagePreview"), !extras.image.isNull());
    if (!extras.image.isNull())
        object.insert(QStringLiteral("ImagePreviewSize"),
                      QStringLiteral("%1x%2").arg(extras.image.width()).arg(extras.image.height()));
}

void printExtras(const FileExtras& extras) {
    QString text;
    if (extras.hasMp3) {
        for (const auto& [caption, value] : extras.mp3)
            text += caption.leftJustified(18) + value + QLatin1Char('\n');
    } else {
        text += QStringLiteral("MP3:              Not an MP3 file\n");
    }
    text +=
        QStringLiteral("Image preview:    %1\n")
            .arg(
                extras.image.isNull()
                    ? QStringLiteral("none")
                    : QStringLiteral("%1x%2").arg(extras.image.width()).arg(extras.image.height()));
    if (extras.previewText.isEmpty()) {
        text += QStringLiteral("Text preview:     none\n");
    } else {
        text += QStringLiteral("Text preview:\n") + extras.previewText + QLatin1Char('\n');
    }
    printOut(text);
}

} // namespace QuorvaneCli
