#include "foundation/Recordset.h"

#include <QDateTime>

namespace QuorvaneSDK {

Recordset::Recordset(const QStringList& fieldNames, QList<QVariantList> rows)
    : m_fields(fieldNames), m_rows(std::move(rows)) {
    for (int i = 0; i < m_fields.size(); ++i) {
        const QString key = m_fields.at(i).toLower();
        if (!m_index.contains(key)) // the first of equal names wins
            m_index.insert(key, i);
    }
}

bool Recordset::hasField(const QString& name) const {
    return m_index.contains(name.toLower());
}

int Recordset::fieldIndex(const QString& name) const {
    return m_index.value(name.toLower(), -1);
}

void Recordset::MoveNext() {
    if (m_pos < m_rows.size())
        ++m_pos;
}

void Recordset::MovePrevious() {
    if (m_pos >= 0)
        --m_pos;
}

QVariant Recordset::value(const QString& name) const {
    return value(fieldIndex(name));
}

QVariant Recordset::value(int column) const {
    if (column < 0 || column >= m_fields.size() || m_pos < 0 || m_pos >= m_rows.size())
        return QVariant();
    return m_rows.at(m_pos).value(column);
}

QVariant Recordset::valueAt(qsizetype row, const QString& name) const {
    const int column = fieldIndex(name);
    if (column < 0 || row < 0 || row >= m_rows.size())
        return QVariant();
    return m_rows.at(row).value(column);
}

QString Recordset::text(const QString& name) const {
    const QVariant v = value(name);
    return v.isNull() ? QString() : v.toString();
}

qint64 Recordset::toLongLong(const QString& name) const {
    const QVariant v = value(name);
    if (v.isNull())
        return 0;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return ok ? n : static_cast<qint64>(v.toDouble());
}

double Recordset::toDouble(const QString& name) const {
    const QVariant v = value(name);
    return v.isNull() ? 0.0 : v.toDouble();
}

bool Recordset::toBool(const QString& name) const {
    const QVariant v = value(name);
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == QLatin1String("true") || s == QLatin1String("t") || s.toDouble() != 0.0;
    }
    return v.toDouble() != 0.0;
}

QByteArray Recordset::toBytes(const QString& name) const {
    const QVariant v = value(name);
    return v.isNull() ? QByteArray() : v.toByteArray();
}

Date Recordset::toDate(const QString& name) const {
    return variantToDate(value(name));
}

Date variantToDate(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return Date();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return Date::fromDateTime(value.toDateTime());
    case QMetaType::QDate:
        return Date::fromDate(value.toDate());
    case QMetaType::Double:
    case QMetaType::Float:
        return Date(value.toDouble());
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    QDateTime dt = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        if (d.isValid())
            return Date::fromDate(d);
        const QTime t = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
        if (t.isValid())
            return Date(t.msecsSinceStartOfDay() / 86400000.0);
        return Date();
    }
    return Date::fromDateTime(dt);
}

} // namespace QuorvaneSDK
