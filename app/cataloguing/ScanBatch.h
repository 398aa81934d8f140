#pragma once
// Groups a run's writes into transactions: a commit after 250 ms of work or
// 5,000 rows, whichever comes first, and one at the end. A crash loses at
// most the open batch; what was committed stays consistent.

#include "foundation/BatchScope.h"

#include <QElapsedTimer>
#include <optional>

namespace QuorvaneSDK {
class Database;
}

namespace QuorvaneCataloguing {

class ScanBatch {
public:
    static constexpr qint64 kMaxMs = 250;
    static constexpr int kMaxRows = 5000;

    explicit ScanBatch(QuorvaneSDK::Database& database);
    ~ScanBatch(); // commits what is open
    ScanBatch(const ScanBatch&) = delete;
    ScanBatch& operator=(const ScanBatch&) = delete;

    // Counts written rows; commits and opens the next batch when one is due.
    void wrote(int rows = 1);
    // Commits the open batch and opens none.
    void finish();
    int commits() const { return m_commits; }

private:
    void open();

    QuorvaneSDK::Database& m_database;
    std::optional<QuorvaneSDK::BatchScope> m_scope;
    QElapsedTimer m_timer;
    int m_rows = 0;
    int m_commits = 0;
};

} // namespace QuorvaneCataloguing
