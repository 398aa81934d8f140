#pragma once
// The error stack: every error the SDK captures is pushed here before it is
// reported. The shared stack (Errors::shared()) is the one SDK code records
// into; callers may keep their own Errors objects too.

#include "foundation/Records.h"

#include <QList>
#include <deque>
#include <exception>

namespace QuorvaneSDK {

class Errors {
public:
    // The stack keeps its oldest entries (the listing shows those) and the
    // newest ones (get_LastError); entries in between are dropped so that a
    // scan of a damaged medium cannot grow it without limit.
    static constexpr qsizetype kKeepFirst = 1000;
    static constexpr qsizetype kKeepNewest = 10000;

    // Error numbers used for C++ exceptions caught at the SDK's boundary.
    static constexpr qint32 kOutOfMemory = 7;
    static constexpr qint32 kException = 440;

    static Errors& shared();

    // The newest entry; an empty record when the stack is empty.
    ErrorObject get_LastError() const;

    // The oldest min(count, Last) entries, the highest-numbered first, one
    // line each: "(j) Source - Description [Number]", joined by CR LF.
    QString get_Stack(qint16 Last = 10) const;

    // Captures the pending error of the calling thread (see setPendingError),
    // stamps it with the current time, pushes it and returns it. The pending
    // error is cleared. Without a pending error an empty record (Number 0)
    // is pushed, as the caller asked for the current state.
    ErrorObject set_CurrentError();

    // Pushes a record made by the caller; a null OccuredOn is first set to
    // now, in the caller's record too. Returns a copy.
    ErrorObject set_CustomError(ErrorObject& CustomError);

    qsizetype count() const;    // entries held
    qint64 totalPushed() const; // entries ever pushed
    void clear();

    // The calling thread's pending error, which set_CurrentError captures.
    static void setPendingError(qint32 number, const QString& source, const QString& description,
                                const QString& helpFile = {}, qint32 helpContext = 0);
    static void setPendingException(const std::exception& error, const QString& source);
    static void clearPendingError();
    static bool hasPendingError();

private:
    void push(const ErrorObject& error);
    const ErrorObject& at(qsizetype index) const; // 0 = oldest held

    QList<ErrorObject> m_first;
    std::deque<ErrorObject> m_newest;
    qint64 m_total = 0;
};

} // namespace QuorvaneSDK
