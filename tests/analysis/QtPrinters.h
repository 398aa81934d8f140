#pragma once
// Readable failure messages for Qt values in this folder's tests.

#include <QSize>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toUtf8().replace('\0', "\\0").toStdString() << '"';
}

inline void PrintTo(const QSize& size, std::ostream* os) {
    *os << size.width() << "x" << size.height();
}
