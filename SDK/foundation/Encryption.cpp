#include "foundation/Encryption.h"

#include "foundation/Startup.h"

#include <QByteArray>
#include <array>
#include <sodium.h>

namespace QuorvaneSDK {

namespace {

using Key = std::array<unsigned char, crypto_secretbox_KEYBYTES>;

// A fast hash is enough here: the default key ships with the program, so
// the cipher keeps passwords out of plain sight rather than resisting a
// determined attacker; a slow password hash would only slow every read of
// Database.ini.
Key deriveKey(const QString& textKey) {
    static const QByteArray context = "Quorvane stored password key v1:";
    const QByteArray material = context + textKey.toUtf8();
    Key key{};
    crypto_generichash(key.data(), key.size(),
                       reinterpret_cast<const unsigned char*>(material.constData()),
                       static_cast<unsigned long long>(material.size()), nullptr, 0);
    return key;
}

QString effectiveKey(const QString& given) {
    return given.isEmpty() ? Encryption::defaultKey() : given;
}

} // namespace

Encryption::Encryption() {
    ensureSdkStarted();
    ready_ = sodium_init() >= 0;
}

QString Encryption::defaultKey() {
    return QStringLiteral("Tesmolik");
}

QString Encryption::marker() {
    return QStringLiteral("NX_EP//");
}

QString Encryption::Encrypt(const QString& DataToEncrypt, const QString& EncryptionKey) const {
    if (!ready_)
        return QString();
    const Key key = deriveKey(effectiveKey(EncryptionKey));
    const QByteArray plain = DataToEncrypt.toUtf8();
    QByteArray box(static_cast<qsizetype>(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES) +
                       plain.size(),
                   '\0');
    auto* nonce = reinterpret_cast<unsigned char*>(box.data());
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    if (crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES,
                              reinterpret_cast<const unsigned char*>(plain.constData()),
                              static_cast<unsigned long long>(plain.size()), nonce,
                              key.data()) != 0)
        return QString();
    return QString::fromLatin1(box.toHex()) + marker();
}

QString Encryption::Decrypt(const QString& DataToDecrypt, const QString& DecryptionKey) const {
    if (DataToDecrypt.isEmpty() || !ready_)
        return QString();
    QString hex = DataToDecrypt;
    hex.remove(marker());
    hex = hex.trimmed();
    const qsizetype minimum = 2 * (crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES);
    if (hex.size() < minimum || hex.size() % 2 != 0)
        return QString();
    for (const QChar c : hex) {
        const char16_t u = c.unicode();
        const bool digit =
            (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
        if (!digit)
            return QString();
    }
    const QByteArray box = QByteArray::fromHex(hex.toLatin1());
    const auto* nonce = reinterpret_cast<const unsigned char*>(box.constData());
    const qsizetype cipherSize = box.size() - static_cast<qsizetype>(crypto_secretbox_NONCEBYTES);
    QByteArray plain(cipherSize - static_cast<qsizetype>(crypto_secretbox_MACBYTES), '\0');
    const Key key = deriveKey(effectiveKey(DecryptionKey));
    if (crypto_secretbox_open_easy(
            reinterpret_cast<unsigned char*>(plain.data()), nonce + crypto_secretbox_NONCEBYTES,
            static_cast<unsigned long long>(cipherSize), nonce, key.data()) != 0)
        return QString();
    return QString::fromUtf8(plain);
}

} // namespace QuorvaneSDK
