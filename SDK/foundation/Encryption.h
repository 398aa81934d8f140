#pragma once

#include <QString>

namespace QuorvaneSDK {

// Enciphers short secrets (stored passwords) with a text key. The stored
// form is lower-case hexadecimal text followed by "NX_EP//". Every
// encryption uses a fresh random nonce and is authenticated, so a damaged,
// foreign or wrongly keyed text deciphers to the empty text.
class Encryption {
public:
    Encryption();

    QString Encrypt(const QString& DataToEncrypt, const QString& EncryptionKey = QString()) const;
    QString Decrypt(const QString& DataToDecrypt, const QString& DecryptionKey = QString()) const;

    static QString defaultKey();
    static QString marker();

private:
    bool ready_ = false;
};

} // namespace QuorvaneSDK
