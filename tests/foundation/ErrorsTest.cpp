// The error stack, capture of errors and exceptions, and the reporting path.
#include "SdkTestSupport.h"

#include "foundation/Errors.h"
#include "foundation/Reporting.h"

#include <new>
#include <stdexcept>

using namespace QuorvaneSDK;

namespace {

ErrorObject entry(int i) {
    ErrorObject e;
    e.Number = i;
    e.Source = QStringLiteral("S%1").arg(i);
    e.Description = QStringLiteral("D%1").arg(i);
    e.OccuredOn = Date(1.0);
    return e;
}

} // namespace

TEST(Errors, EmptyStack) {
    Errors errors;
    EXPECT_EQ(errors.get_LastError().Number, 0);
    EXPECT_EQ(errors.get_Stack(), "");
    EXPECT_EQ(errors.count(), 0);
}

TEST(Errors, StackListsTheOldestEntriesHighestFirst) {
    Errors errors;
    for (int i = 1; i <= 3; ++i) {
        ErrorObject e = entry(i);
        errors.set_CustomError(e);
    }
    EXPECT_EQ(errors.get_Stack(10), "(1) S3 - D3 [3]\r\n(2) S2 - D2 [2]\r\n(3) S1 - D1 [1]");
    EXPECT_EQ(errors.get_LastError().Number, 3);
    for (int i = 4; i <= 12; ++i) {
        ErrorObject e = entry(i);
        errors.set_CustomError(e);
    }
    const QStringList lines = errors.get_Stack(10).split("\r\n");
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.first(), "(1) S10 - D10 [10]");
    EXPECT_EQ(lines.last(), "(10) S1 - D1 [1]");
    EXPECT_EQ(errors.get_Stack(0), "");
    EXPECT_EQ(errors.get_LastError().Number, 12);
}

TEST(Errors, CustomErrorIsStampedOnlyWhenUndated) {
    Errors errors;
    ErrorObject undated;
    undated.Number = 5;
    const Date before = Date::now();
    const ErrorObject copy = errors.set_CustomError(undated);
    EXPECT_FALSE(undated.OccuredOn.isNull()); // the caller's record too
    EXPECT_GE(undated.OccuredOn.toDouble(), before.toDouble() - 1e-6);
    EXPECT_EQ(copy, undated);

    ErrorObject dated = entry(6);
    errors.set_CustomError(dated);
    EXPECT_EQ(dated.OccuredOn, Date(1.0));
    EXPECT_EQ(errors.get_LastError().OccuredOn, Date(1.0));
}

TEST(Errors, CurrentErrorCapturesThePendingOne) {
    Errors errors;
    Errors::setPendingError(3021, "Engine", "No current record", "help.chm", 77);
    const ErrorObject e = errors.set_CurrentError();
    EXPECT_EQ(e.Number, 3021);
    EXPECT_EQ(e.Source, "Engine");
    EXPECT_EQ(e.Description, "No current record");
    EXPECT_EQ(e.HelpFile, "help.chm");
    EXPECT_EQ(e.HelpContext, "77");
    EXPECT_TRUE(e.DBUsed.isEmpty());
    EXPECT_FALSE(e.OccuredOn.isNull());
    EXPECT_FALSE(Errors::hasPendingError());
    // nothing pending: an empty record is pushed
    EXPECT_EQ(errors.set_CurrentError().Number, 0);
    EXPECT_EQ(errors.count(), 2);
}

TEST(Errors, StackIsBoundedKeepingOldestAndNewest) {
    Errors errors;
    const int total = Errors::kKeepFirst + Errors::kKeepNewest + 2500;
    for (int i = 1; i <= total; ++i) {
        ErrorObject e = entry(i);
        errors.set_CustomError(e);
    }
    EXPECT_EQ(errors.count(), Errors::kKeepFirst + Errors::kKeepNewest);
    EXPECT_EQ(errors.totalPushed(), total);
    EXPECT_EQ(errors.get_LastError().Number, total);
    EXPECT_TRUE(errors.get_Stack(3).endsWith("(3) S1 - D1 [1]"));
}

TEST(Errors, ExceptionsAreCaptured) {
    const ErrorObject bad = captureException(std::bad_alloc(), "QuorvaneSDK.load");
    EXPECT_EQ(bad.Number, Errors::kOutOfMemory);
    EXPECT_EQ(bad.Source, "QuorvaneSDK.load");
    const ErrorObject other = captureException(std::runtime_error("disk on fire"), "X");
    EXPECT_EQ(other.Number, Errors::kException);
    EXPECT_EQ(other.Description, "disk on fire");
    EXPECT_EQ(Errors::shared().get_LastError().Description, "disk on fire");
    EXPECT_EQ(captureUnknownException("Y").Number, Errors::kException);
}

TEST(Reporting, ReportErrorFillsDbUsedAndPassesTheStack) {
    Database db; // current dialect: SQLite
    QuorvaneTest::MessageRecorder recorder;
    ErrorObject e = captureError(91, "Src", "Object variable not set");
    reportError(e, "Main", "QuorvaneSDK.get_File", "extra", true);
    EXPECT_EQ(e.DBUsed, "SQLite");
    ASSERT_EQ(recorder.errors.size(), 1);
    const auto& event = recorder.errors.first();
    EXPECT_EQ(event.error.Number, 91);
    EXPECT_EQ(event.className, "Main");
    EXPECT_EQ(event.routine, "QuorvaneSDK.get_File");
    EXPECT_EQ(event.additionalInformation, "extra");
    EXPECT_FALSE(event.showInstanceInfo);
    EXPECT_EQ(event.stack, Errors::shared().get_Stack(10));

    raiseMessage("hello", MessageType::Warning);
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_EQ(recorder.messages.first().second, MessageType::Warning);
}
