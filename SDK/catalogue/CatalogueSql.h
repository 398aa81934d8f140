#pragma once
// Value forms and query helpers shared by the catalogue's stores. Every
// statement goes to the current database (Database::current()); text values
// put into SQL text are quoted through CorreggiApice, numbers and dates use
// the dialect helpers of the current database.

#include "foundation/Database.h"
#include "foundation/Records.h"
#include "foundation/Recordset.h"

#include <QString>

namespace QuorvaneSDK::CatalogueSql {

Database& db();
SqlSyntax dialect();

// 'text' with every apostrophe doubled.
QString quoted(const QString& text);
// The same after CleanSqlText (trimmed; codes 0, 1, 9, 10, 13 removed).
QString cleanedQuoted(const QString& text);
// A number in the dialect's form, without quotes; '...' for quotedNumber.
QString number(double value);
QString quotedNumber(double value);
// A date literal of the dialect; dates before 1900 (or unusable) become
// 1900-01-01 00:00 first.
QString dateLiteral(const Date& date);
// The clamped date as the text both engines store and compare
// ("yyyy-MM-dd HH:mm:ss"), for bound statement parameters.
QString dateText(const Date& date);
QString boolean(bool value);

// Runs a query. An operation without handling of its own lets the failure
// reach its caller: the database layer has reported it, then this throws
// CatalogueError with the captured record.
Recordset query(const QString& sql, const QString& routine);

// The single value of column `column` in the first row, 0 when there is no
// row or it is NULL. Throws as query() does.
double firstValue(const QString& sql, const QString& routine, const QString& column);

} // namespace QuorvaneSDK::CatalogueSql
