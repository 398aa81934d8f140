#include "MainContentStores.h"

#include "catalogue/Main.h"

namespace QuorvaneCataloguing {

using namespace QuorvaneSDK;

QStringList MainContentStores::get_Words(const QString& TextFile, qint16 IgnoreWordsSmallerThan,
                                         qint16 IgnoreWordsLargerThan, const QString& TextString,
                                         bool AllowedOnlyFileTypes,
                                         const QString& AllowedFileTypes) {
    return m_main
        .get_Words(TextFile, IgnoreWordsSmallerThan, IgnoreWordsLargerThan, TextString,
                   AllowedOnlyFileTypes, AllowedFileTypes)
        .value_or(QStringList());
}

void MainContentStores::set_Words(const QStringList& Words, qint32 IDFile, Targets Target,
                                  qint16 NoMoreThanWords) {
    m_main.set_Words(Words, IDFile, Target, NoMoreThanWords);
}

void MainContentStores::handle_Preview(ItemPreview& Item) {
    m_main.handle_Preview(Item);
}

JPG MainContentStores::get_JPGDetails(const QString& FileName) {
    return m_main.get_JPGDetails(FileName);
}

MP3Tags MainContentStores::get_MP3Details(const QString& FileName) {
    return m_main.get_MP3Details(FileName);
}

void MainContentStores::set_Mp3Tags(MP3Tags& Tags, Targets Target) {
    m_main.set_Mp3Tags(Tags, Target);
}

} // namespace QuorvaneCataloguing
