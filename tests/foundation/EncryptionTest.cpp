// Stored passwords: round trips, and every damaged or foreign text gives "".
#include "foundation/Encryption.h"

#include <QStringList>
#include <gtest/gtest.h>

using QuorvaneSDK::Encryption;

TEST(Encryption, RoundTripWithGivenAndDefaultKey) {
    Encryption e;
    const QStringList texts = {"Hq7TzRk2VpNs4Wd", "pass word with 'quotes'", "Perché 日本 🎵",
                               QString(5000, u'z'), " "};
    for (const QString& t : texts) {
        EXPECT_EQ(e.Decrypt(e.Encrypt(t, "secret key"), "secret key"), t);
        EXPECT_EQ(e.Decrypt(e.Encrypt(t)), t);
        // The default key is the one used when none is given.
        EXPECT_EQ(e.Decrypt(e.Encrypt(t), Encryption::defaultKey()), t);
    }
}

TEST(Encryption, StoredFormIsLowerCaseHexWithMarker) {
    Encryption e;
    const QString stored = e.Encrypt("abc");
    ASSERT_TRUE(stored.endsWith("NX_EP//"));
    const QString hex = stored.chopped(7);
    ASSERT_FALSE(hex.isEmpty());
    for (QChar c : hex)
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << hex.toStdString();
}

TEST(Encryption, FreshNoncePerEncryption) {
    Encryption e;
    const QString a = e.Encrypt("same text");
    const QString b = e.Encrypt("same text");
    EXPECT_NE(a, b);
    EXPECT_EQ(e.Decrypt(a), e.Decrypt(b));
}

TEST(Encryption, EmptyInputDecryptsToEmpty) {
    Encryption e;
    EXPECT_EQ(e.Decrypt(""), "");
    EXPECT_EQ(e.Decrypt(e.Encrypt("")), "");
}

TEST(Encryption, WrongKeyGivesEmptyText) {
    Encryption e;
    EXPECT_EQ(e.Decrypt(e.Encrypt("password", "one"), "two"), "");
    EXPECT_EQ(e.Decrypt(e.Encrypt("password", "one")), "");
}

TEST(Encryption, DamagedOrForeignTextGivesEmptyText) {
    Encryption e;
    const QString good = e.Encrypt("password");
    QString flipped = good;
    flipped[10] = flipped[10] == u'0' ? u'1' : u'0';
    QString upper = good.chopped(7).toUpper() + "NX_EP//";
    const QStringList bad = {
        flipped,                                // one changed digit
        good.left(good.size() - 9) + "NX_EP//", // cut short
        good.chopped(7) + "00NX_EP//",          // a byte appended
        "NX_EP//",
        "not hex at allNX_EP//",
        "abcNX_EP//", // odd length
        "plain text password",
        QString(200, u'0') + "NX_EP//",
        "ÿÿÿÿ",
    };
    for (const QString& b : bad)
        EXPECT_EQ(e.Decrypt(b), "") << b.toStdString();
    // Letter case of the hex digits does not matter.
    EXPECT_EQ(e.Decrypt(upper), "password");
    // Nor does a marker repeated or missing.
    EXPECT_EQ(e.Decrypt(good.chopped(7)), "password");
}
