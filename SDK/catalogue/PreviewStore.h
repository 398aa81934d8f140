#pragma once
// Text and image previews of catalogued files (PreviewFile) and contained
// files (PreviewFileContained), and the thumbnail of a picture file. Every
// preview write and read swallows its errors: a preview that cannot be
// made, stored or read is simply absent.

#include "catalogue/HotStatements.h"
#include "foundation/Records.h"

#include <QImage>
#include <functional>

namespace NX_TextExtractor {
class Extractor;
}

namespace QuorvaneSDK {

class PreviewStore {
public:
    // Largest picture file stored as an image preview.
    static constexpr qint64 kMaxImageBytes = 16LL * 1024 * 1024;
    // Kilobytes read from a text file when no limit is asked for.
    static constexpr qint16 kUnlimitedReadKB = 10000;
    // Ends a text preview that was cut.
    static QString truncationMarker();

    explicit PreviewStore(std::function<NX_TextExtractor::Extractor&()> extractor);

    // Stores what Preview.Post asks for, then reads what Preview.Get asks
    // for into the caller's record. Returns a copy of it when something
    // was read, an empty record otherwise. Post.TextMaxSizeKB outside 0 to
    // 10000 becomes 10.
    ItemPreview handle_Preview(ItemPreview& Preview);

    // The picture and a thumbnail fitting 250 x 250 written as a JPEG into
    // the work folder (ThumbinalFileName). When no thumbnail can be made,
    // ThumbinalFileName is the original file: never delete it then.
    JPG get_JPGDetails(const QString& JPGFileName);

private:
    void set_PreviewImage(const QString& path, qint32 key, Targets target);
    void set_PreviewText(const QString& TextFileName, qint32 key, Targets target,
                         qint16& TextMaxSizeKB, const QString& TextToParse);
    QImage get_PreviewImage(qint32 key, Targets target);
    QString get_PreviewText(qint32 key, Targets target);
    // Runs the bound insert of a pending row, deletes the older rows
    // (deleteOlder) and gives the new row its type.
    bool replace(qint32 key, Targets target, Preview type, PreparedStatement& insert,
                 const QString& deleteOlder, const QString& routine);
    QString previewText(const QString& TextFileName, qint16 TextMaxSizeKB,
                        const QString& TextToParse);

    std::function<NX_TextExtractor::Extractor&()> m_extractor;
    HotStatements m_statements;
};

// A picture decoded from bytes in memory, its size capped; null when the
// bytes hold no picture or one too large.
QImage decodePicture(const QByteArray& bytes);
// The same for a file.
QImage loadPicture(const QString& fileName);

} // namespace QuorvaneSDK
