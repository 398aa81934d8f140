#pragma once
// The catalogues a benchmark measures: a fresh SQLite file and, when
// QUORVANE_TEST_PGHOST/PGPORT/PGUSER[/PGPASSWORD] name a server, a scratch
// PostgreSQL database created and dropped here.

#include "catalogue/Main.h"
#include "foundation/Database.h"

#include <QString>
#include <functional>

namespace QuorvaneBench {

// Runs body once per engine with a Database (the current one) on that
// engine's catalogue; the SQLite file goes into folder. Returns the exit
// code: 0, or 1 when the scratch PostgreSQL database could not be made.
int forEachEngine(const QString& folder,
                  const std::function<void(const char* engine, QuorvaneSDK::Database& db)>& body);

// Makes db a fresh SQLite catalogue with the whole schema in folder; false
// when that fails.
bool openSqliteCatalogue(QuorvaneSDK::Database& db, const QString& folder);

// Stores the medium "bench" (serial "BENCH") and returns its key.
qint32 addBenchMedium(QuorvaneSDK::Main& main);

} // namespace QuorvaneBench
