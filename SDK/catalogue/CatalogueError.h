#pragma once
// The error a catalogue operation without handling of its own lets reach its
// caller: the database layer has already captured and reported it, this
// exception only carries the captured record up the stack.

#include "foundation/Records.h"

#include <stdexcept>

namespace QuorvaneSDK {

class CatalogueError : public std::runtime_error {
public:
    // routine: the label of the operation that failed ("QuorvaneSDK.get_File").
    CatalogueError(const ErrorObject& error, const QString& routine);

    const ErrorObject& error() const noexcept { return m_error; }
    const QString& routine() const noexcept { return m_routine; }

private:
    ErrorObject m_error;
    QString m_routine;
};

} // namespace QuorvaneSDK
