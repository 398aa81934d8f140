// Dialect helpers of Database: literals, numbers, names.
#include "foundation/Database.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocale>
#include <cmath>

namespace QuorvaneSDK {
namespace {

bool knownDialect(SqlSyntax s) {
    return s == SqlSyntax::Access2000 || s == SqlSyntax::SqlServer;
}

SqlSyntax currentDialect() {
    return Database::current().get_DBPredefinito();
}

// A 16-bit integer as the number parser reads the pieces of a number.
bool toInt16(const QString& text, qint32& out) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v > 32767 || v < -32768)
        return false;
    out = v;
    return true;
}

} // namespace

QString Database::get_FormatoNumerico(double Valore, SqlSyntax TipoDB) {
    if (!knownDialect(TipoDB))
        return QString();
    if (!std::isfinite(Valore))
        return QStringLiteral("0"); // neither engine has a literal for these
    QString text = QString::number(Valore, 'f', QLocale::FloatingPointShortest);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

double Database::convert_Number(const QString& Number) {
    QString text = Number.trimmed();
    if (text.isEmpty())
        return 0;
    double sign = 1;
    if (text.startsWith(QLatin1Char('-'))) {
        sign = -1;
        text.remove(0, 1);
    }
    if (text.startsWith(QLatin1Char(',')) || text.startsWith(QLatin1Char('.')))
        text.prepend(QLatin1Char('0'));
    const bool hasDot = text.contains(QLatin1Char('.'));
    const bool hasComma = text.contains(QLatin1Char(','));
    bool ok = false;
    if (!hasDot && !hasComma) {
        const double v = text.toDouble(&ok);
        return ok ? sign * v : 0;
    }
    const QChar decimal = hasComma ? QLatin1Char(',') : QLatin1Char('.');
    const QChar thousands = hasComma ? QLatin1Char('.') : QLatin1Char(',');
    const QString plain = QString(text).remove(thousands);
    const QStringList pieces = plain.split(decimal);
    qint32 whole = 0;
    qint32 fraction = 0;
    const QString fractionText = pieces.value(1);
    // An empty fraction ("5.") reads as no fraction.
    if (toInt16(pieces.value(0), whole) &&
        (fractionText.isEmpty() || (toInt16(fractionText, fraction) && fraction >= 0))) {
        return sign * (whole + fraction / std::pow(10.0, fractionText.size()));
    }
    // Pieces too long for the short parse: read the whole number instead.
    QString normal = plain;
    normal.replace(decimal, QLatin1Char('.'));
    const double v = normal.toDouble(&ok);
    return ok ? sign * v : 0;
}

QString Database::FormattaDataSQLSyntax(const Date& value, SqlSyntax type, bool SoloTime) {
    if (!knownDialect(type))
        return QString();
    const QDateTime dt = value.toDateTime();
    const QString time = dt.time().toString(QStringLiteral("HH:mm:ss"));
    if (SoloTime)
        return QLatin1Char('\'') + time + QLatin1Char('\'');
    return QLatin1Char('\'') + dt.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time + QLatin1Char('\'');
}

QString Database::lookUp_DataBaseName(SqlSyntax value) {
    switch (value) {
    case SqlSyntax::Access2000:
        return QStringLiteral("SQLite");
    case SqlSyntax::SqlServer:
        return QStringLiteral("PostgreSQL");
    default:
        return QStringLiteral("Non definito");
    }
}

SqlSyntax Database::lookUp_DataBaseName_Rev(const QString& value) {
    const QString v = value.toLower();
    if (v == QLatin1String("sqlite") || v == QLatin1String("access"))
        return SqlSyntax::Access2000;
    if (v == QLatin1String("postgresql") || v == QLatin1String("sqlserver"))
        return SqlSyntax::SqlServer;
    return SqlSyntax::nondefinito;
}

QString Database::convert_BooleanToDataBase(bool value) {
    if (!knownDialect(currentDialect()))
        return QString();
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString Database::get_DataBaseStatementTranslation_Date() {
    switch (currentDialect()) {
    case SqlSyntax::Access2000:
        return QStringLiteral("datetime('now','localtime')");
    case SqlSyntax::SqlServer:
        return QStringLiteral("localtimestamp");
    default:
        return QString();
    }
}

QString Database::get_DataBaseStatementTranslation_Day() {
    switch (currentDialect()) {
    case SqlSyntax::Access2000:
        return QStringLiteral("'day'");
    case SqlSyntax::SqlServer:
        return QStringLiteral("day");
    default:
        return QString();
    }
}

QString Database::get_DataBaseStatementTranslation_Second() {
    switch (currentDialect()) {
    case SqlSyntax::Access2000:
        return QStringLiteral("'second'");
    case SqlSyntax::SqlServer:
        return QStringLiteral("second");
    default:
        return QString();
    }
}

QString Database::get_DataBaseStatementTranslation_SeparatoreOra() {
    return QStringLiteral(":");
}

QString Database::HidePassword(const QString& Password) {
    return QString(Password.size(), QLatin1Char('*'));
}

void Database::WaitAndDoEventsMill(int ms) {
    if (ms <= 0 || !QCoreApplication::instance())
        return;
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents,
                                        static_cast<int>(deadline.remainingTime()));
}

QString Database::CorreggiApice(const QString& text) {
    return QString(text).replace(QLatin1Char('\''), QStringLiteral("''"));
}

QString Database::removeNul(const QString& text) {
    if (!text.contains(QChar(0)))
        return text;
    return QString(text).remove(QChar(0));
}

qint32 Database::sqlStateToNumber(const QString& sqlState) {
    bool ok = false;
    const qint32 n = static_cast<qint32>(sqlState.left(5).toLongLong(&ok, 36));
    return ok && n != 0 ? n : 1;
}

QString Database::numberToSqlState(qint32 number) {
    return QString::number(number, 36).toUpper().rightJustified(5, QLatin1Char('0'));
}

} // namespace QuorvaneSDK
