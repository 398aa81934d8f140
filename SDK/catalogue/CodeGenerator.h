#pragma once
// The 13-digit code every catalogued medium (or file) carries: random,
// first digit 1-9, unique in its table. It has no EAN-13 check digit.

#include "foundation/Enums.h"

#include <QString>
#include <functional>
#include <random>

namespace QuorvaneSDK {

class CodeGenerator {
public:
    // raiseError receives the message of the Error event ("description\r\nroutine").
    explicit CodeGenerator(std::function<void(const QString&)> raiseError);

    QString get_EAN13(Item TypeItem);

    // One candidate code, without the uniqueness check.
    QString candidate();

private:
    bool exists_EAN13(const QString& Code, Item TypeItem);

    std::function<void(const QString&)> m_raiseError;
    // Seeded once from the system's entropy source, never re-seeded per draw.
    std::mt19937_64 m_engine;
};

} // namespace QuorvaneSDK
