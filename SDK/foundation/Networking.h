#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace QuorvaneSDK {

// The computer's network identity: its IPv4 addresses and the hardware
// addresses of its Ethernet adapters. Nothing here fails: every operation
// falls back to a text made from today's date or time.
class Networking {
public:
    // The IPv4 addresses the host name resolves to, in order, as dotted
    // decimal texts; get_DefaultID when the name cannot be resolved.
    QList<QString> get_IPs() const;
    // Hardware addresses of the Ethernet adapters, "00-1A-2B-3C-4D-5E".
    QList<QString> get_Macs() const;
    QString get_FirstIP() const;
    QString get_FirstMac() const;
    // One text: "Quorvane_" + day of month + month number, no leading zeros.
    QList<QString> get_DefaultID() const;
    QList<QString> get_DefaultID(const QDateTime& now) const;
    // "n/a_" + hour + minute, no leading zeros.
    QString get_DefaultTodayValue() const;
    QString get_DefaultTodayValue(const QDateTime& now) const;

    // The formatting of one hardware address, shared with the tests.
    static QString formatMac(const unsigned char* bytes, int length);
};

} // namespace QuorvaneSDK
