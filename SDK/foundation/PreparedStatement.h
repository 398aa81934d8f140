#pragma once
// A statement prepared once and run many times with '?' placeholders, for
// hot paths (one insert per catalogued file). Get one from
// Database::prepare(); the Database must outlive it. Values are bound as
// parameters, so texts are never quoted with CorreggiApice; NUL characters
// are removed from texts, Booleans are stored as 1/0 and dates as the
// dialect's date text. Inside an open batch exec() joins it like
// execute_Sql. Failures are captured and reported like execute_Sql's.
//
//     PreparedStatement ins = db.prepare("INSERT INTO Files (FileName, IDMedia) VALUES (?, ?)",
//                                        "QuorvaneSDK.set_Files", "IDFile");
//     ins.bind(0, name); ins.bind(1, mediaId);
//     if (ins.exec().Number == 0) key = ins.insertedKey();

#include "foundation/OleDate.h"
#include "foundation/Records.h"
#include "foundation/Recordset.h"

#include <QVariant>
#include <memory>
#include <optional>
#include <type_traits>

class QSqlQuery;

namespace QuorvaneSDK {

class Database;

class PreparedStatement {
public:
    PreparedStatement();
    ~PreparedStatement();
    PreparedStatement(PreparedStatement&&) noexcept;
    PreparedStatement& operator=(PreparedStatement&&) noexcept;

    bool isValid() const { return m_database != nullptr; }

    void bind(int index, const QVariant& value);
    void bind(int index, const QString& value) { bind(index, QVariant(value)); }
    void bind(int index, const char* value) { bind(index, QVariant(QString::fromUtf8(value))); }
    // Numbers and Booleans (an int must not turn into a Boolean through
    // an overload, so one template takes every arithmetic type).
    template <typename T>
    requires std::is_arithmetic_v<T>
    void bind(int index, T value) {
        if constexpr (std::is_same_v<T, bool>)
            bind(index, QVariant(value ? 1 : 0));
        else if constexpr (std::is_integral_v<T>)
            bind(index, QVariant(static_cast<qlonglong>(value)));
        else
            bind(index, QVariant(static_cast<double>(value)));
    }
    void bind(int index, const QByteArray& value) { bind(index, QVariant(value)); }
    void bind(int index, const Date& value);
    void bindNull(int index);
    void clearBindings();

    // Runs the statement with the values bound (they stay bound).
    ErrorObject exec();
    // Runs a prepared query; nullopt on failure (reported).
    std::optional<Recordset> query(bool AvoidShowingErrorMessages = false);
    // The key of the row the last exec() inserted (keyColumn given to
    // prepare), 0 after a failure or without a key column.
    qint64 insertedKey() const { return m_insertedKey; }

private:
    friend class Database;
    bool ensurePrepared(QSqlQuery*& query);

    Database* m_database = nullptr;
    QString m_sql;
    QString m_routine;
    QString m_keyColumn;
    QVariantList m_values;
    std::unique_ptr<QSqlQuery> m_query;
    quint64 m_generation = 0;
    qint64 m_insertedKey = 0;
};

} // namespace QuorvaneSDK
