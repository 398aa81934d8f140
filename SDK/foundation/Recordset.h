#pragma once
// A disconnected copy of a query's result: every row is copied out of the
// engine, so no connection stays bound to it. Fields are found by name
// without regard to case; NULL is a null QVariant (isNull()); blobs are
// QByteArray. A fresh recordset is positioned on its first row.

#include "foundation/OleDate.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>

namespace QuorvaneSDK {

class Recordset {
public:
    Recordset() = default;
    Recordset(const QStringList& fieldNames, QList<QVariantList> rows);

    qsizetype RecordCount() const { return m_rows.size(); }
    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    const QStringList& FieldNames() const { return m_fields; }
    bool hasField(const QString& name) const;
    int fieldIndex(const QString& name) const; // -1 when absent

    // Cursor: Eof() is true past the last row (and on an empty result).
    void MoveFirst() { m_pos = 0; }
    void MoveNext();
    void MovePrevious();
    void MoveLast() { m_pos = m_rows.isEmpty() ? 0 : m_rows.size() - 1; }
    bool Eof() const { return m_pos >= m_rows.size(); }
    bool Bof() const { return m_pos < 0 || m_rows.isEmpty(); }
    qsizetype AbsolutePosition() const { return m_pos; } // 0-based
    void setAbsolutePosition(qsizetype row) { m_pos = row; }

    // Values of the current row; an invalid QVariant when the field is
    // absent or the cursor is off the rows.
    QVariant Fields(const QString& name) const { return value(name); }
    QVariant value(const QString& name) const;
    QVariant value(int column) const;
    bool isNull(const QString& name) const { return value(name).isNull(); }

    // Convenience conversions of the current row; NULL gives the empty value.
    QString text(const QString& name) const;
    qint64 toLongLong(const QString& name) const;
    qint32 toLong(const QString& name) const { return static_cast<qint32>(toLongLong(name)); }
    double toDouble(const QString& name) const;
    bool toBool(const QString& name) const;
    QByteArray toBytes(const QString& name) const;
    // A timestamp (PostgreSQL) or ISO text (SQLite) as an OLE date.
    Date toDate(const QString& name) const;

    // Any row, without moving the cursor.
    QVariant valueAt(qsizetype row, const QString& name) const;
    const QList<QVariantList>& rows() const { return m_rows; }

private:
    QStringList m_fields;
    QHash<QString, int> m_index; // lower-cased name -> column
    QList<QVariantList> m_rows;
    qsizetype m_pos = 0;
};

// Converts a value read from either engine to an OLE date (null date for
// NULL or unparseable text).
Date variantToDate(const QVariant& value);

} // namespace QuorvaneSDK
