#pragma once

#include <QString>
#include <gtest/gtest.h>

// What every test program shares: a private QUORVANE_HOME and the
// PostgreSQL server that scripts/test starts on loopback.
namespace QuorvaneTest {

// The folder QUORVANE_HOME points at for this test program (fresh, removed at exit).
QString homeFolder();

// A fresh empty folder below the system's temporary folder; removed at exit.
QString makeTempFolder(const QString& prefix = QStringLiteral("qv-test"));

struct PgServer {
    bool available = false;
    QString host;
    int port = 0;
    QString user;
    QString password;
    // "host:port", the form the catalogue keeps in its host path.
    QString hostWithPort() const;
};

// The test server from QUORVANE_TEST_PGHOST / _PGPORT / _PGUSER / _PGPASSWORD.
PgServer pgServer();

// Creates an empty database with a unique name on the test server and
// returns its name (empty on failure, with the reason in *error).
QString createScratchPgDatabase(const QString& prefix, QString* error = nullptr);
void dropPgDatabase(const QString& name);

// True when tests run under CI, where a missing server is a failure, not a skip.
bool runningInCi();

} // namespace QuorvaneTest

// Skips a test that needs PostgreSQL when no server was started, except in
// CI (CI=true), where the server must be there.
#define QUORVANE_REQUIRE_PG()                                                                      \
    do {                                                                                           \
        if (!QuorvaneTest::pgServer().available) {                                                 \
            if (QuorvaneTest::runningInCi())                                                       \
                FAIL() << "QUORVANE_TEST_PGHOST is not set: run the tests through scripts/test";   \
            GTEST_SKIP() << "no PostgreSQL test server (run through scripts/test)";                \
        }                                                                                          \
    } while (0)
