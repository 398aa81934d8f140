#include "SdkTestSupport.h"

#include "foundation/Messages.h"

namespace QuorvaneTest {

std::string engineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL";
}

EngineDatabase::EngineDatabase(Engine engine) : m_engine(engine) {
    using namespace QuorvaneSDK;
    if (engine == Engine::SQLite) {
        m_sqlitePath = makeTempFolder(QStringLiteral("qv-engine")) + QStringLiteral("/Dati.sqlite");
        if (!Database::createCatalogueFile(m_sqlitePath)) {
            m_error = QStringLiteral("cannot create ") + m_sqlitePath;
            return;
        }
        m_db = std::make_unique<Database>();
        m_db->set_DBPredefinito(SqlSyntax::Access2000);
        m_db->set_HostPath(m_sqlitePath);
    } else {
        const PgServer server = pgServer();
        if (!server.available) {
            m_error = QStringLiteral("no PostgreSQL test server");
            return;
        }
        m_pgDatabase = createScratchPgDatabase(QStringLiteral("qv_test"), &m_error);
        if (m_pgDatabase.isEmpty())
            return;
        m_db = std::make_unique<Database>();
        m_db->set_DBPredefinito(SqlSyntax::SqlServer);
        m_db->set_HostPath(server.hostWithPort());
        m_db->set_DBName(m_pgDatabase);
        m_db->set_DBUserName(server.user);
        m_db->set_DBPassword(server.password);
    }
    m_ready = true;
}

EngineDatabase::~EngineDatabase() {
    if (m_db)
        m_db->closeConnection();
    m_db.reset();
    if (!m_pgDatabase.isEmpty())
        dropPgDatabase(m_pgDatabase);
}

void EngineTest::SetUp() {
    if (GetParam() == Engine::PostgreSQL)
        QUORVANE_REQUIRE_PG();
    m_database = std::make_unique<EngineDatabase>(GetParam());
    ASSERT_TRUE(m_database->ready()) << m_database->error().toStdString();
}

void EngineTest::TearDown() {
    m_database.reset();
}

RecordingPresenter::RecordingPresenter() : m_previous(QuorvaneSDK::presenter()) {
    QuorvaneSDK::installPresenter(this);
}

RecordingPresenter::~RecordingPresenter() {
    QuorvaneSDK::installPresenter(m_previous);
}

bool RecordingPresenter::askYesNo(const QString& title, const QString& text) {
    questions.append({title, text});
    return answerYes;
}

void RecordingPresenter::showPopUp(const QString& text, int displayMs,
                                   QuorvaneSDK::MessageType kind, const QString& soundFile,
                                   bool bold) {
    popUps.append({text, displayMs, kind, soundFile, bold});
}

void RecordingPresenter::setClipboardText(const QString& text) {
    clipboard = text;
}
void RecordingPresenter::openUrl(const QString& url) {
    urls.append(url);
}
void RecordingPresenter::playSound(const QString& soundFile) {
    sounds.append(soundFile);
}

MessageRecorder::MessageRecorder() {
    using QuorvaneSDK::Messages;
    auto& source = Messages::shared();
    m_connections << QObject::connect(
        &source, &Messages::Message,
        [this](const QString& text, QuorvaneSDK::MessageType priority) {
            messages.append({text, priority});
        });
    m_connections << QObject::connect(
        &source, &Messages::Errors,
        [this](QuorvaneSDK::ErrorObject& error, const QString& cls, const QString& routine,
               const QString& info, bool showInstance, const QString& stack) {
            errors.append({error, cls, routine, info, showInstance, stack});
        });
}

MessageRecorder::~MessageRecorder() {
    for (const auto& c : m_connections)
        QObject::disconnect(c);
}

} // namespace QuorvaneTest
