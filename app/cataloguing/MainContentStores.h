#pragma once
// The content stores of the catalogue API: word index, previews and MP3
// tags of a Main object.

#include "ContentStores.h"

namespace QuorvaneSDK {
class Main;
}

namespace QuorvaneCataloguing {

class MainContentStores : public ContentStores {
public:
    explicit MainContentStores(QuorvaneSDK::Main& main) : m_main(main) {}

    QStringList get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan,
                          qint16 IgnoreWordsLargerThan, const QString& TextString,
                          bool AllowedOnlyFileTypes, const QString& AllowedFileTypes) override;
    void set_Words(const QStringList& Words, qint32 IDFile, QuorvaneSDK::Targets Target,
                   qint16 NoMoreThanWords) override;
    void handle_Preview(QuorvaneSDK::ItemPreview& Item) override;
    QuorvaneSDK::JPG get_JPGDetails(const QString& FileName) override;
    QuorvaneSDK::MP3Tags get_MP3Details(const QString& FileName) override;
    void set_Mp3Tags(QuorvaneSDK::MP3Tags& Tags, QuorvaneSDK::Targets Target) override;

private:
    QuorvaneSDK::Main& m_main;
};

} // namespace QuorvaneCataloguing
