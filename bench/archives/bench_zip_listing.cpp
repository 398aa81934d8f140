// Entries listed per second for a ZIP archive of many entries.
// Usage: bench_zip_listing [entries=100000] [runs=5]

#include "catalogue/ArchiveText.h"
#include "catalogue/ZipArchive.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <zip.h>

namespace {

bool makeArchive(const QString& path, int entries) {
    const QuorvaneSDK::ArchiveText::StableLocalTimeZone zone;
    int err = 0;
    zip_t* za = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!za)
        return false;
    static const char data[] = "catalogue entry payload";
    for (int i = 0; i < entries; ++i) {
        const QByteArray name =
            "folder" + QByteArray::number(i % 100) + "/file" + QByteArray::number(i) + ".txt";
        zip_source_t* src = zip_source_buffer(za, data, sizeof data - 1, 0);
        const zip_int64_t at = zip_file_add(za, name.constData(), src, 0);
        if (at < 0) {
            zip_source_free(src);
            zip_discard(za);
            return false;
        }
        zip_set_file_compression(za, zip_uint64_t(at), ZIP_CM_STORE, 0);
    }
    return zip_close(za) == 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir dir;
    const QString path = dir.path() + "/many.zip";
    QElapsedTimer timer;
    timer.start();
    if (!makeArchive(path, entries)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("made %d entries in %.2f s\n", entries, timer.elapsed() / 1000.0);
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        QuorvaneSDK::ZipArchive zip;
        zip.set_ZipFilename(path);
        qint64 listed = 0;
        timer.restart();
        zip.ListZipContents([&](const QuorvaneSDK::ZipListingEntry&) {
            ++listed;
            return true;
        });
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double rate = listed / seconds;
        best = qMax(best, rate);
        std::printf("run %d: %lld entries in %.3f s = %.0f entries/s\n", run + 1,
                    static_cast<long long>(listed), seconds, rate);
    }
    std::printf("best: %.0f entries/s\n", best);
    return 0;
}
