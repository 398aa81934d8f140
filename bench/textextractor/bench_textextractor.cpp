// Throughput of the text extraction library, run by hand:
//   build/bench/textextractor/bench_textextractor [files=10000] [megabytes=100]
// get_FileType over a folder of small files (files/s), and get_Words over a
// large text file (MB/s), both from files the program writes first into a
// temporary folder (so they are in the page cache: the figures are CPU cost,
// not disk speed).

#include "NX_TextExtractor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace NX_TextExtractor;

namespace {

// CPU seconds of this process: the machine may be shared, so wall time
// alone says little.
double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

QByteArray sampleContent(int i, QRandomGenerator& rng) {
    static const QByteArray heads[] = {
        "MZ\x90",
        "[Section]\r\nkey=value\r\n",
        "RIFF\x10\0\0\0WAVEfmt ",
        "GIF89a",
        "PK\x03\x04",
        "<html><body>",
        "%PDF-1.4",
        "\xFF\xD8\xFF\xE0\x00\x10JFIF",
        "ID3\x03",
        "plain text of a note\r\n",
    };
    QByteArray b = heads[i % 10];
    const int extra = 200 + int(rng.bounded(3000));
    for (int k = 0; k < extra; ++k)
        b.append(char('a' + rng.bounded(26)));
    return b;
}

void benchFileTypes(int count) {
    QTemporaryDir dir;
    QRandomGenerator rng(42);
    static const char* exts[] = {".exe", ".ini", ".wav", ".gif", ".zip",
                                 ".htm", ".pdf", ".jpg", ".mp3", ".txt"};
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("file%1%2").arg(i).arg(exts[i % 10]));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return;
        f.write(sampleContent(i, rng));
        paths.append(path);
    }
    const Extractor x;
    for (int pass = 1; pass <= 3; ++pass) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuSeconds();
        int text = 0;
        for (const QString& p : paths)
            text += x.get_FileType(p).isText;
        const double secs = t.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds() - cpu0;
        std::printf("get_FileType pass %d: %d files, wall %.3f s = %.0f files/s, cpu %.3f s = %.0f "
                    "files/s (%d text)\n",
                    pass, count, secs, count / secs, cpu, count / cpu, text);
    }
}

void benchWords(int megabytes) {
    static const char* vocabulary[] = {
        "catalogue",       "storage", "media",    "folder", "the",    "quick",  "brown", "fox",
        "jumps",           "over",    "lazy",     "dog",    "Hello,", "world.", "UNIX",  "version2",
        "extraordinarily", "a",       "indexing", "archive"};
    QRandomGenerator rng(7);
    QByteArray text;
    const qint64 target = qint64(megabytes) * 1024 * 1024;
    text.reserve(target + 64);
    while (text.size() < target) {
        text.append(vocabulary[rng.bounded(20)]);
        const quint32 r = rng.bounded(20);
        text.append(r == 0 ? "\r\n" : r == 1 ? "  " : r == 2 ? "\t" : " ");
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return;
    f.close();
    const Extractor x;
    for (int pass = 1; pass <= 2; ++pass) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuSeconds();
        const QStringList words = x.get_Words(path);
        const double secs = t.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds() - cpu0;
        const double mb = text.size() / 1048576.0;
        std::printf("get_Words pass %d: %.1f MB, wall %.3f s = %.1f MB/s, cpu %.3f s = %.1f MB/s "
                    "(%lld words)\n",
                    pass, mb, secs, mb / secs, cpu, mb / cpu, (long long)words.size());
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int megabytes = argc > 2 ? std::atoi(argv[2]) : 100;
    benchFileTypes(files);
    benchWords(megabytes);
    return 0;
}
