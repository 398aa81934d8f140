// The computer's network identity and its fallbacks.
#include "foundation/Networking.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using QuorvaneSDK::Networking;

TEST(Networking, DefaultValuesHaveNoLeadingZeros) {
    Networking n;
    const QDateTime at(QDate(2024, 3, 7), QTime(9, 5, 0));
    EXPECT_EQ(n.get_DefaultTodayValue(at), "n/a_95");
    EXPECT_EQ(n.get_DefaultID(at), QList<QString>{"Quorvane_73"});
    const QDateTime late(QDate(2024, 12, 25), QTime(23, 59, 0));
    EXPECT_EQ(n.get_DefaultTodayValue(late), "n/a_2359");
    EXPECT_EQ(n.get_DefaultID(late), QList<QString>{"Quorvane_2512"});
}

TEST(Networking, MacFormatPadsMissingBytes) {
    const unsigned char full[] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x99};
    EXPECT_EQ(Networking::formatMac(full, 6), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(Networking::formatMac(full, 7), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(Networking::formatMac(full, 3), "00-1A-2B-00-00-00");
    EXPECT_EQ(Networking::formatMac(nullptr, 0), "00-00-00-00-00-00");
}

TEST(Networking, AddressesAreDottedQuadsOrTheDefault) {
    Networking n;
    const QRegularExpression quad(R"(^\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3}$)");
    const QList<QString> ips = n.get_IPs();
    ASSERT_FALSE(ips.isEmpty());
    if (ips != n.get_DefaultID()) {
        for (const QString& ip : ips)
            EXPECT_TRUE(quad.match(ip).hasMatch()) << ip.toStdString();
    }
    EXPECT_EQ(n.get_FirstIP(), ips.first());

    const QRegularExpression mac(R"(^([0-9A-F]{2}-){5}[0-9A-F]{2}$)");
    for (const QString& m : n.get_Macs())
        EXPECT_TRUE(mac.match(m).hasMatch()) << m.toStdString();
    const QString first = n.get_FirstMac();
    EXPECT_TRUE(mac.match(first).hasMatch() || first.startsWith("n/a_")) << first.toStdString();
}
