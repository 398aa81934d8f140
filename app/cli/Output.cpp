#include "Output.h"

#include <cstdio>

namespace QuorvaneCli {

namespace {

void writeUtf8(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void printMessage(const QString& text) {
    writeUtf8(stderr,
              QString::fromLatin1(kProgramName) + QStringLiteral(": ") + text + QLatin1Char('\n'));
}

void printOut(const QString& text) {
    writeUtf8(stdout, text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n'));
}

void printJson(const QJsonDocument& document) {
    writeUtf8(stdout, QString::fromUtf8(document.toJson(QJsonDocument::Indented)));
}

void printTable(const QStringList& header, const QList<QStringList>& rows) {
    QList<qsizetype> widths(header.size(), 0);
    auto measure = [&widths](const QStringList& row) {
        for (qsizetype c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row.at(c).size());
    };
    measure(header);
    for (const QStringList& row : rows)
        measure(row);
    QString out;
    auto line = [&](const QStringList& row) {
        QString text;
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += QStringLiteral("  ");
            text += c + 1 < row.size() ? row.at(c).leftJustified(widths.at(c)) : row.at(c);
        }
        out += text + QLatin1Char('\n');
    };
    line(header);
    for (const QStringList& row : rows)
        line(row);
    writeUtf8(stdout, out);
}

} // namespace QuorvaneCli
