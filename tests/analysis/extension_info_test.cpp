// Extension information from the MIME database, and the per-extension cache.

#include "QuorvaneSDK.h"

#include <QIcon>
#include <QMimeDatabase>

#include <gtest/gtest.h>

using namespace QuorvaneSDK;

namespace {

struct Answer {
    QString description = QStringLiteral("untouched");
    QString type = QStringLiteral("untouched");
    QImage icon;
};

Answer ask(const QString& extension) {
    Answer a;
    AssociationsClass().GetInfoExtension(extension, a.description, a.type, a.icon);
    return a;
}

TEST(ExtensionInformation, KnownExtensionsGiveTheirMimeType) {
    const struct {
        const char* extension;
        const char* mime;
    } cases[] = {
        {"txt", "text/plain"},         {".txt", "text/plain"}, {"pdf", "application/pdf"},
        {"jpg", "image/jpeg"},         {"jpeg", "image/jpeg"}, {"html", "text/html"},
        {"doc", "application/msword"}, {"mp3", "audio/mpeg"},  {"zip", "application/zip"},
        {".tar", "application/x-tar"},
    };
    for (const auto& c : cases) {
        const Answer a = ask(c.extension);
        EXPECT_EQ(a.description, c.mime) << c.extension;
        EXPECT_EQ(a.type, c.mime) << c.extension;
    }
}

TEST(ExtensionInformation, WithOrWithoutDotTheSame) {
    const Answer plain = ask("txt");
    const Answer dotted = ask(".txt");
    EXPECT_EQ(plain.description, dotted.description);
    EXPECT_EQ(plain.type, dotted.type);
    EXPECT_EQ(plain.icon, dotted.icon);
}

TEST(ExtensionInformation, UnknownExtensionLeavesTextsUntouched) {
    for (const char* ext : {"qvzz9", ".qvzz9", "", ".", "a/b", ".."}) {
        const Answer a = ask(ext);
        EXPECT_EQ(a.description, "untouched") << ext;
        EXPECT_EQ(a.type, "untouched") << ext;
    }
}

TEST(ExtensionInformation, IconComesFromTheThemeWhenThereIsOne) {
    const Answer a = ask("txt"); // first, so that it may choose an installed theme
    const QMimeType text = QMimeDatabase().mimeTypeForName("text/plain");
    const bool themed =
        QIcon::hasThemeIcon(text.iconName()) || QIcon::hasThemeIcon(text.genericIconName());
    if (!themed) {
        EXPECT_TRUE(a.icon.isNull());
        GTEST_SKIP() << "no icon theme in this session (theme '" << QIcon::themeName().toStdString()
                     << "')";
    }
    ASSERT_FALSE(a.icon.isNull());
    EXPECT_LE(a.icon.width(), AssociationsClass::IconSize);
    EXPECT_LE(a.icon.height(), AssociationsClass::IconSize);
    // Unknown extensions get the icon of unknown files, when the theme has one.
    if (QIcon::hasThemeIcon("application-octet-stream") ||
        QIcon::hasThemeIcon("application-x-generic")) {
        EXPECT_FALSE(ask("qvzz9").icon.isNull());
    }
}

TEST(ExtensionInformation, RecordCarriesTheLowerCasedDottedExtension) {
    const Extension info = AssociationsClass().get_Info("TXT");
    EXPECT_EQ(info.Extension, ".txt");
    EXPECT_EQ(info.ExtensionDescription, "text/plain");
    EXPECT_EQ(info.ExtType, "text/plain");
    const Extension unknown = AssociationsClass().get_Info("QVZZ9");
    EXPECT_EQ(unknown.Extension, ".qvzz9");
    EXPECT_TRUE(unknown.ExtensionDescription.isEmpty());
    EXPECT_TRUE(unknown.ExtType.isEmpty());
}

TEST(ExtensionInfoCache, LooksUpEachExtensionOnce) {
    ExtensionInfoCache cache;
    const QString textComment = QMimeDatabase().mimeTypeForName("text/plain").comment();
    ASSERT_FALSE(textComment.isEmpty());
    EXPECT_EQ(cache.description("txt"), textComment);
    EXPECT_EQ(cache.description(".txt"), textComment);
    EXPECT_EQ(cache.mimeName("txt"), "text/plain");
    EXPECT_EQ(cache.lookups(), 1);
    EXPECT_EQ(cache.description("pdf"),
              QMimeDatabase().mimeTypeForName("application/pdf").comment());
    EXPECT_TRUE(cache.description("qvzz9").isEmpty());
    EXPECT_TRUE(cache.mimeName("qvzz9").isEmpty());
    EXPECT_TRUE(cache.description("").isEmpty());
    EXPECT_EQ(cache.lookups(), 4);
}

} // namespace
