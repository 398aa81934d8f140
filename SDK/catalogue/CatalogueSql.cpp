#include "catalogue/CatalogueSql.h"

#include "catalogue/CatalogueError.h"
#include "foundation/Errors.h"
#include "foundation/Helpers.h"

namespace QuorvaneSDK::CatalogueSql {

Database& db() {
    return Database::current();
}

SqlSyntax dialect() {
    return db().get_DBPredefinito();
}

QString quoted(const QString& text) {
    return QLatin1Char('\'') + Database::CorreggiApice(text) + QLatin1Char('\'');
}

QString cleanedQuoted(const QString& text) {
    return quoted(CleanSqlText(text));
}

QString number(double value) {
    return Database::get_FormatoNumerico(value, dialect());
}

QString quotedNumber(double value) {
    return QLatin1Char('\'') + number(value) + QLatin1Char('\'');
}

static Date clamped(const Date& date) {
    return ClampDate1900(date);
}

QString dateLiteral(const Date& date) {
    return Database::FormattaDataSQLSyntax(clamped(date), dialect(), false);
}

QString dateText(const Date& date) {
    return clamped(date).toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString boolean(bool value) {
    return Database::convert_BooleanToDataBase(value);
}

Recordset query(const QString& sql, const QString& routine) {
    std::optional<Recordset> rs = db().get_Recordset(sql, routine);
    if (!rs)
        throw CatalogueError(Errors::shared().get_LastError(), routine);
    return std::move(*rs);
}

double firstValue(const QString& sql, const QString& routine, const QString& column) {
    const Recordset rs = query(sql, routine);
    if (rs.RecordCount() == 0 || rs.isNull(column))
        return 0;
    return rs.toDouble(column);
}

} // namespace QuorvaneSDK::CatalogueSql
