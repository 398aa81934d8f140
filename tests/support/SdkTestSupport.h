#pragma once
// Test helpers for code that uses the SDK (library quorvane_sdk_test_support).
//
// Database tests run against both engines with a parameterized fixture:
//
//     class MyStoreTest : public QuorvaneTest::EngineTest {};
//     TEST_P(MyStoreTest, StoresAFile) {
//         ASSERT_EQ(db().execute_Sql("CREATE TABLE t (a INTEGER)", "test").Number, 0);
//         ...
//     }
//     QUORVANE_ENGINE_TEST_SUITE(MyStoreTest);
//
// Each test gets a fresh, empty catalogue: an SQLite file in a temporary
// folder, or a scratch database on the PostgreSQL test server (dropped at
// the end). PostgreSQL tests are skipped when no server was started (but
// fail under CI). The Database is the SDK's current database for the test.

#include "TestEnvironment.h"

#include "foundation/Database.h"
#include "foundation/Presenter.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace QuorvaneTest {

enum class Engine { SQLite, PostgreSQL };

// "SQLite" / "PostgreSQL", for test names.
std::string engineName(const ::testing::TestParamInfo<Engine>& info);

// A Database configured for one engine with an empty catalogue.
class EngineDatabase {
public:
    explicit EngineDatabase(Engine engine);
    ~EngineDatabase();

    bool ready() const { return m_ready; }
    const QString& error() const { return m_error; }
    Engine engine() const { return m_engine; }
    QuorvaneSDK::Database& db() { return *m_db; }
    // SQLite: the catalogue file; PostgreSQL: empty.
    const QString& sqlitePath() const { return m_sqlitePath; }
    // PostgreSQL: the scratch database's name; SQLite: empty.
    const QString& pgDatabase() const { return m_pgDatabase; }

private:
    Engine m_engine;
    bool m_ready = false;
    QString m_error;
    QString m_sqlitePath;
    QString m_pgDatabase;
    std::unique_ptr<QuorvaneSDK::Database> m_db;
};

class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;

    QuorvaneSDK::Database& db() { return m_database->db(); }
    EngineDatabase& engineDatabase() { return *m_database; }
    Engine engine() const { return GetParam(); }
    bool isPostgres() const { return GetParam() == Engine::PostgreSQL; }

private:
    std::unique_ptr<EngineDatabase> m_database;
};

// Records every presenter call; installed for its lifetime.
class RecordingPresenter : public QuorvaneSDK::Presenter {
public:
    struct PopUp {
        QString text;
        int displayMs = 0;
        QuorvaneSDK::MessageType kind = QuorvaneSDK::MessageType::Normal;
        QString soundFile;
        bool bold = false;
    };
    RecordingPresenter();
    ~RecordingPresenter() override;

    bool askYesNo(const QString& title, const QString& text) override;
    void showPopUp(const QString& text, int displayMs, QuorvaneSDK::MessageType kind,
                   const QString& soundFile, bool bold) override;
    void setClipboardText(const QString& text) override;
    void openUrl(const QString& url) override;
    void playSound(const QString& soundFile) override;

    bool answerYes = false;                   // what askYesNo answers
    QList<QPair<QString, QString>> questions; // title, text
    QList<PopUp> popUps;
    QString clipboard;
    QStringList urls;
    QStringList sounds;

private:
    QuorvaneSDK::Presenter* m_previous;
};

// Records the events of the shared Messages object while it lives.
class MessageRecorder {
public:
    struct ErrorEvent {
        QuorvaneSDK::ErrorObject error;
        QString className;
        QString routine;
        QString additionalInformation;
        bool showInstanceInfo = false;
        QString stack;
    };
    MessageRecorder();
    ~MessageRecorder();

    QList<QPair<QString, QuorvaneSDK::MessageType>> messages;
    QList<ErrorEvent> errors;

private:
    QList<QMetaObject::Connection> m_connections;
};

} // namespace QuorvaneTest

#define QUORVANE_ENGINE_TEST_SUITE(Suite)                                                          \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Engines, Suite,                                                                            \
        ::testing::Values(QuorvaneTest::Engine::SQLite, QuorvaneTest::Engine::PostgreSQL),         \
        QuorvaneTest::engineName)
