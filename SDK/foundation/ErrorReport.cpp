#include "foundation/ErrorReport.h"

#include "foundation/BaseFolder.h"
#include "foundation/Presenter.h"
#include "foundation/Reporting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QLoggingCategory>

namespace QuorvaneSDK {
namespace {

Q_LOGGING_CATEGORY(lcReport, "quorvane.sdk.report")

const QString kCrLf = QStringLiteral("\r\n");

QString providerText(const std::function<QString()>& provider) {
    if (!provider)
        return QString();
    try {
        return provider();
    } catch (...) {
        return QString();
    }
}

QString sdkVersionText() {
    if (reportContext().sdkVersion)
        return providerText(reportContext().sdkVersion);
    return QStringLiteral("SDK version: " QUORVANE_SDK_VERSION);
}

void appendToLog(const QString& logName, const QString& text) {
    QFile file(baseFolder() + "/" + logName + ".log");
    if (!file.open(QIODevice::Append | QIODevice::WriteOnly))
        return;
    const QString entry =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
        QStringLiteral("  ") + text + kCrLf;
    file.write(entry.toUtf8());
}

// Lets pending events run for a short while, as the notice expects.
void processEventsFor(int ms) {
    if (!QCoreApplication::instance())
        return;
    QDeadlineTimer deadline(ms);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    } while (!deadline.hasExpired());
}

QString soundFile(const QString& name) {
    return baseFolder() + "/Sound/" + name;
}

} // namespace

QString buildErrorReport(const ErrorReportData& d) {
    const QString rule93(93, QLatin1Char('-'));
    const QString rule80(80, QLatin1Char('='));
    QString text;
    auto line = [&text](const QString& s) { text += s + kCrLf; };
    line(rule93);
    line(QStringLiteral("Procedure: ") + d.className + "." + d.routine);
    line(QStringLiteral("Error.Source: ") + d.source);
    line(QStringLiteral("Error.Number: ") + QString::number(d.number));
    line(QStringLiteral("Error.Description: ") + d.description);
    if (!d.dbUsed.isEmpty())
        line(QStringLiteral("DB Used: ") + d.dbUsed);
    if (!d.additionalInformation.isEmpty())
        line(QStringLiteral("AdditionalInformation: ") + d.additionalInformation);
    line(QStringLiteral("Quorvane.version: ") + providerText(reportContext().programVersion));
    line(QStringLiteral("Quorvane.SDK v.: ") + sdkVersionText());
    if (d.showInstanceInfo)
        line(QStringLiteral("Quorvane.Instance: ") + providerText(reportContext().instance));
    line(rule93);
    if (!d.stack.trimmed().isEmpty()) {
        line(rule80);
        line(QStringLiteral("Errors stack:"));
        line(d.stack);
        line(rule80);
    }
    return text;
}

QString ShowErrorReport(const ErrorReportData& data, const QString& logName) {
    QString text;
    try {
        text = buildErrorReport(data);
        appendToLog(logName, text);
        Presenter* p = presenter();
        if (!p) {
            qCWarning(lcReport).noquote() << text;
            return text;
        }
        p->setClipboardText(text);
        const QString question =
            QStringLiteral("Si è verificato un errore.") + kCrLf +
            QStringLiteral("Questo messaggio è disponibile adesso negli appunti di Windows, se "
                           "desideri supporto, incollalo sul forum di supporto: ") +
            QLatin1String(kSupportForumUrl) + kCrLf +
            QStringLiteral("Desideri collegarti al forum di supporto adesso?") + kCrLf + text;
        if (p->askYesNo(QStringLiteral("Errore: consigliato il collegamento con il forum"),
                        question))
            p->openUrl(QLatin1String(kSupportForumUrl));
    } catch (...) {
        // Reporting never throws.
    }
    return text;
}

void ShowPopUpMessage(const QString& Message, qint16& Secs, MessageType& KindMessage) {
    try {
        processEventsFor(20);
        Presenter* p = presenter();
        if (KindMessage == MessageType::Normal || KindMessage == MessageType::Warning) {
            const bool warning = KindMessage == MessageType::Warning;
            if (warning && Secs == 10)
                Secs = 30;
            const QString sound =
                soundFile(warning ? QStringLiteral("message.wav") : QStringLiteral("alert.wav"));
            if (p)
                p->showPopUp(Message, Secs * 1000, KindMessage, sound, false);
            else
                qCInfo(lcReport).noquote() << Message;
        } else if (KindMessage == MessageType::Error) {
            const QString notice =
                QStringLiteral("Please paste the error to ") + QLatin1String(kSupportForumUrl);
            if (p) {
                p->showPopUp(notice, 32000, KindMessage, soundFile(QStringLiteral("alarm.wav")),
                             true);
                p->setClipboardText(Message);
            } else {
                qCWarning(lcReport).noquote() << Message;
            }
        }
        processEventsFor(50);
    } catch (...) {
    }
}

} // namespace QuorvaneSDK
