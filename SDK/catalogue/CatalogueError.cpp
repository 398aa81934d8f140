#include "catalogue/CatalogueError.h"

namespace QuorvaneSDK {

namespace {
std::string describe(const ErrorObject& error, const QString& routine) {
    QString text = routine + QStringLiteral(": ");
    text += error.Description.isEmpty() ? QStringLiteral("the query returned no result")
                                        : error.Description;
    if (error.Number != 0)
        text += QStringLiteral(" [%1]").arg(error.Number);
    return text.toStdString();
}
} // namespace

CatalogueError::CatalogueError(const ErrorObject& error, const QString& routine)
    : std::runtime_error(describe(error, routine)), m_error(error), m_routine(routine) {
}

} // namespace QuorvaneSDK
