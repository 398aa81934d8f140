#pragma once
// A fresh home whose Database.ini selects an SQLite file or a scratch
// PostgreSQL database (the test's parameter), set up through the program
// itself, and a small catalogue seeded through the SDK:
//   "Alpha" (group "Music"): /a/ with one.txt, "x,y.txt", song.mp3 (MP3
//   data, text and image previews), arc.zip (two entries); /a/b/ with
//   deep.txt; /c/ empty.
//   "Beta" (no group, serial "[noserialnumber]"): /z/ with z.txt.

#include "CliRunner.h"

#include <gtest/gtest.h>

namespace QuorvaneTest {

enum class Engine { SQLite, PostgreSQL };

class CliTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;

    CliResult cli(const QStringList& args, const QByteArray& input = {}) {
        return runCli(m_home, args, input);
    }
    void seed();
    // A statement run on the catalogue through the SDK.
    void sql(const QString& statement);
    // First column of the first row as an integer (-1 on failure).
    qint64 scalar(const QString& query);

    QString m_home;
    QString m_pgDatabase;
    qint32 m_alpha = 0, m_beta = 0;
    qint32 m_oneTxt = 0, m_song = 0, m_zip = 0, m_entry = 0;
};

// The engine's name for test names.
std::string engineName(const ::testing::TestParamInfo<Engine>& info);

} // namespace QuorvaneTest
