#include "foundation/Errors.h"

#include <cerrno>
#include <new>

namespace QuorvaneSDK {
namespace {

struct Pending {
    bool set = false;
    ErrorObject error;
};

Pending& pending() {
    thread_local Pending value;
    return value;
}

} // namespace

Errors& Errors::shared() {
    static Errors instance;
    return instance;
}

ErrorObject Errors::get_LastError() const {
    if (!m_newest.empty())
        return m_newest.back();
    if (!m_first.isEmpty())
        return m_first.back();
    return ErrorObject();
}

QString Errors::get_Stack(qint16 Last) const {
    const qsizetype k = std::min<qsizetype>(count(), std::max<qint16>(Last, 0));
    QStringList lines;
    for (qsizetype i = k - 1, j = 1; i >= 0; --i, ++j) {
        const ErrorObject& e = at(i);
        lines << QStringLiteral("(%1) %2 - %3 [%4]")
                     .arg(j)
                     .arg(e.Source, e.Description)
                     .arg(e.Number);
    }
    return lines.join(QStringLiteral("\r\n"));
}

ErrorObject Errors::set_CurrentError() {
    ErrorObject captured = pending().error;
    const bool wasSet = pending().set;
    clearPendingError();
    if (!wasSet)
        captured = ErrorObject();
    captured.OccuredOn = Date::now();
    captured.DBUsed.clear();
    push(captured);
    return captured;
}

ErrorObject Errors::set_CustomError(ErrorObject& CustomError) {
    if (CustomError.OccuredOn.isNull())
        CustomError.OccuredOn = Date::now();
    push(CustomError);
    return CustomError;
}

qsizetype Errors::count() const {
    return m_first.size() + static_cast<qsizetype>(m_newest.size());
}

qint64 Errors::totalPushed() const {
    return m_total;
}

void Errors::clear() {
    m_first.clear();
    m_newest.clear();
    m_total = 0;
}

void Errors::push(const ErrorObject& error) {
    ++m_total;
    if (m_first.size() < kKeepFirst) {
        m_first.append(error);
        return;
    }
    m_newest.push_back(error);
    while (static_cast<qsizetype>(m_newest.size()) > kKeepNewest)
        m_newest.pop_front();
}

const ErrorObject& Errors::at(qsizetype index) const {
    if (index < m_first.size())
        return m_first.at(index);
    return m_newest.at(static_cast<size_t>(index - m_first.size()));
}

void Errors::setPendingError(qint32 number, const QString& source, const QString& description,
                             const QString& helpFile, qint32 helpContext) {
    ErrorObject e;
    e.Number = number;
    e.Source = source;
    e.Description = description;
    e.HelpFile = helpFile;
    e.HelpContext = QString::number(helpContext);
    e.LastDllError = errno;
    pending().error = e;
    pending().set = true;
}

void Errors::setPendingException(const std::exception& error, const QString& source) {
    const bool outOfMemory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
    setPendingError(outOfMemory ? kOutOfMemory : kException, source,
                    QString::fromLocal8Bit(error.what()));
}

void Errors::clearPendingError() {
    pending().set = false;
    pending().error = ErrorObject();
}

bool Errors::hasPendingError() {
    return pending().set;
}

} // namespace QuorvaneSDK
