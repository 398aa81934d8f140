#include "foundation/Networking.h"

#include <QSet>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <memory>
#include <net/if_arp.h>
#include <netdb.h>
#include <netpacket/packet.h>
#include <unistd.h>

namespace QuorvaneSDK {

namespace {

struct AddrInfoFree {
    void operator()(addrinfo* p) const { freeaddrinfo(p); }
};
struct IfAddrsFree {
    void operator()(ifaddrs* p) const { freeifaddrs(p); }
};

} // namespace

QList<QString> Networking::get_DefaultID() const {
    return get_DefaultID(QDateTime::currentDateTime());
}

QList<QString> Networking::get_DefaultID(const QDateTime& now) const {
    return {QStringLiteral("Quorvane_%1%2").arg(now.date().day()).arg(now.date().month())};
}

QString Networking::get_DefaultTodayValue() const {
    return get_DefaultTodayValue(QDateTime::currentDateTime());
}

QString Networking::get_DefaultTodayValue(const QDateTime& now) const {
    return QStringLiteral("n/a_%1%2").arg(now.time().hour()).arg(now.time().minute());
}

QList<QString> Networking::get_IPs() const {
    char host[257] = {};
    if (gethostname(host, sizeof(host) - 1) != 0)
        return get_DefaultID();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* raw = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &raw) != 0 || raw == nullptr)
        return get_DefaultID();
    std::unique_ptr<addrinfo, AddrInfoFree> list(raw);
    QList<QString> ips;
    for (const addrinfo* a = list.get(); a != nullptr; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addr == nullptr)
            continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text)) == nullptr)
            continue;
        const QString ip = QString::fromLatin1(text);
        if (!ips.contains(ip))
            ips.append(ip);
    }
    if (ips.isEmpty())
        return get_DefaultID();
    return ips;
}

QString Networking::formatMac(const unsigned char* bytes, int length) {
    QStringList parts;
    for (int i = 0; i < 6; ++i) {
        const unsigned value = i < length ? bytes[i] : 0u;
        parts.append(QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper());
    }
    return parts.join(u'-');
}

QList<QString> Networking::get_Macs() const {
    ifaddrs* raw = nullptr;
    if (getifaddrs(&raw) != 0)
        return {};
    std::unique_ptr<ifaddrs, IfAddrsFree> list(raw);
    QList<QString> macs;
    QSet<QString> seen;
    for (const ifaddrs* a = list.get(); a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_PACKET)
            continue;
        const auto* ll = reinterpret_cast<const sockaddr_ll*>(a->ifa_addr);
        if (ll->sll_hatype != ARPHRD_ETHER)
            continue;
        const QString name = QString::fromLocal8Bit(a->ifa_name);
        if (seen.contains(name))
            continue;
        seen.insert(name);
        macs.append(formatMac(ll->sll_addr, ll->sll_halen));
    }
    return macs;
}

QString Networking::get_FirstIP() const {
    const QList<QString> ips = get_IPs();
    return ips.isEmpty() ? get_DefaultTodayValue() : ips.first();
}

QString Networking::get_FirstMac() const {
    const QList<QString> macs = get_Macs();
    return macs.isEmpty() ? get_DefaultTodayValue() : macs.first();
}

} // namespace QuorvaneSDK
