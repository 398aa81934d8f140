#pragma once
// The catalogue operations the content dispatch derives from a file: word
// index, previews and MP3 tags, as the catalogue API names them. The host
// passes an object that forwards to them; a run given none skips that
// analysis (archives are still listed and stored).

#include "foundation/Records.h"

#include <QStringList>

namespace QuorvaneCataloguing {

class ContentStores {
public:
    virtual ~ContentStores() = default;
    virtual QStringList get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan,
                                  qint16 IgnoreWordsLargerThan, const QString& TextString,
                                  bool AllowedOnlyFileTypes, const QString& AllowedFileTypes) = 0;
    virtual void set_Words(const QStringList& Words, qint32 IDFile, QuorvaneSDK::Targets Target,
                           qint16 NoMoreThanWords) = 0;
    virtual void handle_Preview(QuorvaneSDK::ItemPreview& Item) = 0;
    virtual QuorvaneSDK::JPG get_JPGDetails(const QString& FileName) = 0;
    virtual QuorvaneSDK::MP3Tags get_MP3Details(const QString& FileName) = 0;
    virtual void set_Mp3Tags(QuorvaneSDK::MP3Tags& Tags, QuorvaneSDK::Targets Target) = 0;
};

} // namespace QuorvaneCataloguing
