#pragma once
// A scope guard around a batch of statements: begins a batch (one
// transaction; nested scopes become savepoints) and rolls it back when it
// goes out of scope without commit(). Statements run through execute_Sql,
// get_Recordset or prepared statements join it; one that fails is undone
// alone and the others stay.
//
//     BatchScope batch(db);
//     for (...) db.execute_Sql(...);
//     batch.commit();

namespace QuorvaneSDK {

class Database;

class BatchScope {
public:
    explicit BatchScope(Database& database);
    ~BatchScope();
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

    // False when the batch could not begin (the statements then run on
    // their own).
    bool isActive() const { return m_active; }
    // False when the commit failed (the batch is rolled back, reported).
    bool commit();
    void rollback();

private:
    Database& m_database;
    bool m_active = false;
};

} // namespace QuorvaneSDK
