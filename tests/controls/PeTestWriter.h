#pragma once
// Builds small PE32 files with a version resource, for tests.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <array>

namespace QuorvaneTest {

struct PeVersionLayout {
    std::array<quint16, 4> fileVersion{5, 1, 2600, 2180};
    std::array<quint16, 4> productVersion{5, 1, 2600, 2180};
    quint32 fileType = 1;    // application
    bool translation = true; // a VarFileInfo\Translation entry
    quint16 language = 0x0409, codePage = 0x04B0;
    QString stringTableKey = "040904B0"; // key of the (single) string table
    QList<QPair<QString, QString>> strings{{"CompanyName", "Quorvane Test Ltd"},
                                           {"FileDescription", "Test program"},
                                           {"FileVersion", "5.1.2600.2180"},
                                           {"ProductName", "Quorvane"}};
};

QByteArray makePe(const PeVersionLayout& layout);
// A PE file without a resource section.
QByteArray makePeWithoutResources();

} // namespace QuorvaneTest
