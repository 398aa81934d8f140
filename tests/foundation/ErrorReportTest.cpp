// The written error report, the pop-up notice and the SDK's listener.
#include "SdkTestSupport.h"

#include "foundation/BaseFolder.h"
#include "foundation/ErrorReport.h"
#include "foundation/Reporting.h"
#include "foundation/SDKMessages.h"

#include <QFile>

using namespace QuorvaneSDK;

namespace {

QString logText() {
    QFile f(baseFolder() + "/QuorvaneSDK.log");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

ErrorReportData sample() {
    ErrorReportData d;
    d.className = "QuorvaneSDK";
    d.routine = "QuorvaneSDK.get_File";
    d.number = 3021;
    d.source = "SQLite";
    d.description = "no such table: Files";
    d.dbUsed = "SQLite";
    d.additionalInformation = "4::SELECT * FROM Files";
    d.showInstanceInfo = true;
    d.stack = "(1) SQLite - no such table: Files [1]";
    return d;
}

} // namespace

TEST(ErrorReport, FullText) {
    reportContext().programVersion = [] { return QStringLiteral("1.2.3"); };
    const QString rule(93, '-');
    const QString eq(80, '=');
    const QString expected =
        rule + "\r\n" + "Procedure: QuorvaneSDK.QuorvaneSDK.get_File\r\n" +
        "Error.Source: SQLite\r\n" + "Error.Number: 3021\r\n" +
        "Error.Description: no such table: Files\r\n" + "DB Used: SQLite\r\n" +
        "AdditionalInformation: 4::SELECT * FROM Files\r\n" + "Quorvane.version: 1.2.3\r\n" +
        "Quorvane.SDK v.: SDK version: " QUORVANE_TEST_SDK_VERSION "\r\n" +
        "Quorvane.Instance: \r\n" + rule + "\r\n" + eq + "\r\n" + "Errors stack:\r\n" +
        "(1) SQLite - no such table: Files [1]\r\n" + eq + "\r\n";
    EXPECT_EQ(buildErrorReport(sample()), expected);
    reportContext().programVersion = nullptr;
}

TEST(ErrorReport, OptionalLinesAreLeftOut) {
    ErrorReportData d = sample();
    d.dbUsed.clear();
    d.additionalInformation.clear();
    d.showInstanceInfo = false;
    d.stack = "  \r\n ";
    const QString text = buildErrorReport(d);
    EXPECT_FALSE(text.contains("DB Used:"));
    EXPECT_FALSE(text.contains("AdditionalInformation:"));
    EXPECT_FALSE(text.contains("Quorvane.Instance:"));
    EXPECT_FALSE(text.contains("Errors stack:"));
    EXPECT_TRUE(text.endsWith("Quorvane.SDK v.: SDK version: " QUORVANE_TEST_SDK_VERSION "\r\n" +
                              QString(93, '-') + "\r\n"));
}

TEST(ErrorReport, IsLoggedCopiedAndOffersTheForum) {
    QuorvaneTest::RecordingPresenter presenter;
    presenter.answerYes = true;
    const QString text = ShowErrorReport(sample());
    EXPECT_TRUE(logText().contains("  " + text + "\r\n"));
    EXPECT_EQ(presenter.clipboard, text);
    ASSERT_EQ(presenter.questions.size(), 1);
    EXPECT_EQ(presenter.questions.first().first,
              "Errore: consigliato il collegamento con il forum");
    EXPECT_TRUE(presenter.questions.first().second.startsWith("Si è verificato un errore.\r\n"));
    EXPECT_TRUE(presenter.questions.first().second.endsWith(
        "Desideri collegarti al forum di supporto adesso?\r\n" + text));
    EXPECT_EQ(presenter.urls, QStringList{QString(kSupportForumUrl)});

    presenter.answerYes = false;
    ShowErrorReport(sample());
    EXPECT_EQ(presenter.urls.size(), 1);
}

TEST(ErrorReport, WithoutPresenterOnlyTheLogIsWritten) {
    ErrorReportData d = sample();
    d.description = "only-logged-" + QString::number(QDateTime::currentMSecsSinceEpoch());
    ShowErrorReport(d);
    EXPECT_TRUE(logText().contains(d.description));
}

TEST(PopUp, WarningsLastLongerAndErrorsShowTheSupportText) {
    QuorvaneTest::RecordingPresenter presenter;
    struct Case {
        MessageType kind;
        qint16 secs;
        qint16 secsAfter;
        int displayMs;
        const char* sound;
    } cases[] = {
        {MessageType::Warning, 10, 30, 30000, "message.wav"},
        {MessageType::Warning, 5, 5, 5000, "message.wav"},
        {MessageType::Normal, 10, 10, 10000, "alert.wav"},
        {MessageType::Error, 10, 10, 32000, "alarm.wav"},
    };
    for (const Case& c : cases) {
        presenter.popUps.clear();
        presenter.clipboard.clear();
        qint16 secs = c.secs;
        MessageType kind = c.kind;
        ShowPopUpMessage("the message", secs, kind);
        EXPECT_EQ(secs, c.secsAfter);
        ASSERT_EQ(presenter.popUps.size(), 1);
        const auto& p = presenter.popUps.first();
        EXPECT_EQ(p.displayMs, c.displayMs);
        EXPECT_TRUE(p.soundFile.endsWith(QString("/Sound/") + c.sound));
        if (c.kind == MessageType::Error) {
            EXPECT_EQ(p.text, QString("Please paste the error to ") + kSupportForumUrl);
            EXPECT_TRUE(p.bold);
            EXPECT_EQ(presenter.clipboard, "the message");
        } else {
            EXPECT_EQ(p.text, "the message");
            EXPECT_TRUE(presenter.clipboard.isEmpty());
        }
    }
}

TEST(SDKMessagesListener, TurnsEventsIntoNoticesAndReports) {
    QuorvaneTest::RecordingPresenter presenter;
    Database db; // runs the one-time start-up, which creates the SDK's listener
    SDKMessages programListener(false, "Quorvane");

    raiseMessage("saved", MessageType::Normal);
    ASSERT_EQ(presenter.popUps.size(), 2); // one per listener
    EXPECT_EQ(presenter.popUps.first().displayMs, 10000);

    ErrorObject e = captureError(
        13, "Test", "Type mismatch-" + QString::number(QDateTime::currentMSecsSinceEpoch()));
    reportError(e, "QuorvaneSDK", "QuorvaneSDK.test", "info", true);
    EXPECT_EQ(presenter.questions.size(), 2);
    const QString sdkLog = logText();
    EXPECT_TRUE(sdkLog.contains(e.Description));
    QFile programLog(baseFolder() + "/Quorvane.log");
    ASSERT_TRUE(programLog.open(QIODevice::ReadOnly));
    const QString programText = QString::fromUtf8(programLog.readAll());
    // the program's listener always shows the instance line and no stack
    EXPECT_TRUE(programText.contains("Quorvane.Instance:"));
    EXPECT_FALSE(programText.contains("Errors stack:"));
}
