#pragma once
// What a command throws to end with a message: bad usage (exit 1) or work
// that failed (exit 2). The text is the one line the terminal gets.

#include <QString>
#include <stdexcept>

namespace QuorvaneCli {

enum ExitCode : int { ExitOk = 0, ExitUsage = 1, ExitFailed = 2 };

class CliError : public std::runtime_error {
public:
    CliError(const QString& message, int exitCode)
        : std::runtime_error(message.toStdString()), m_message(message), m_exitCode(exitCode) {}
    const QString& message() const noexcept { return m_message; }
    int exitCode() const noexcept { return m_exitCode; }

private:
    QString m_message;
    int m_exitCode;
};

class UsageError : public CliError {
public:
    explicit UsageError(const QString& message) : CliError(message, ExitUsage) {}
};

class WorkError : public CliError {
public:
    explicit WorkError(const QString& message) : CliError(message, ExitFailed) {}
};

} // namespace QuorvaneCli
