// Measures thumbnails per second for 12-megapixel JPEGs (scaled decoding on
// and off) and MP3 files analysed per second, on data it generates itself.
//   bench_analysis [--seconds N] [--work DIR]
//   bench_analysis --write-seeds DIR     small seed files for the fuzzers
#include "analysis/cDIBSection.h"
#include "analysis/cMP3Info.h"
#include "analysis/mJPEGLibrary.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

// A photograph-like picture: smooth gradients with noise, so the JPEG has
// the size and entropy of a real photo rather than of a flat colour.
QImage photo(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = static_cast<int>(random.bounded(24));
            line[x] = qRgb((x * 255 / width + noise) & 0xFF, (y * 255 / height + noise) & 0xFF,
                           ((x + y) / 16 + noise) & 0xFF);
        }
    }
    return image;
}

bool save(const QByteArray& data, const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray encode(const QImage& image, const char* format, int quality = 90) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

QByteArray synchsafe(qint64 size) {
    QByteArray out;
    for (int shift = 21; shift >= 0; shift -= 7)
        out += static_cast<char>((size >> shift) & 0x7F);
    return out;
}

// An ID3v2.3 tag with the five text frames, frames of 128 kbit/s, an ID3v1 tag.
QByteArray mp3(int frames, bool withV1) {
    QByteArray tagFrames;
    for (const char* id : {"TIT2", "TPE1", "TALB", "TYER", "TCON"}) {
        const QByteArray text = QByteArray(id) == "TCON" ? "(17)Rock" : "Some text";
        tagFrames += QByteArray(id) + QByteArray(3, '\0') + char(text.size() + 1) +
                     QByteArray(3, '\0') + text;
    }
    tagFrames += QByteArray(512, '\0');
    QByteArray data = "ID3\x03" + QByteArray(2, '\0') + synchsafe(tagFrames.size()) + tagFrames;
    const QByteArray frame = QByteArray("\xFF\xFB\x90\x40", 4) + QByteArray(413, '\x55');
    for (int i = 0; i < frames; ++i)
        data += frame;
    if (withV1)
        data +=
            "TAG" + QByteArray("Title").leftJustified(30, '\0') + QByteArray(94, '\0') + char(17);
    return data;
}

int writeSeeds(const QString& folder) {
    QDir().mkpath(folder + "/mp3");
    QDir().mkpath(folder + "/thumbnail");
    save(mp3(3, false), folder + "/mp3/v23.mp3");
    save(mp3(2, true), folder + "/mp3/v1.mp3");
    const QImage small = photo(40, 30, 7);
    save(encode(small, "jpeg"), folder + "/thumbnail/small.jpg");
    save(encode(small.convertToFormat(QImage::Format_Grayscale8), "jpeg"),
         folder + "/thumbnail/grey.jpg");
    save(encode(photo(300, 20, 8), "jpeg", 30), folder + "/thumbnail/wide.jpg");
    save(encode(small, "bmp"), folder + "/thumbnail/small.bmp");
    save(QByteArray::fromHex("4749463839610200020080000000000000ffffff2c00000000020002000002"
                             "028451003b"),
         folder + "/thumbnail/tiny.gif");
    std::printf("seeds written to %s\n", qPrintable(folder));
    return 0;
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

// Items per second of wall-clock time and per second of this thread's CPU
// time; the second stays meaningful on a machine shared with other work.
struct Rate {
    double wall = 0;
    double cpu = 0;
};

template <typename Work>
Rate perSecond(double seconds, Work work) {
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = cpuSeconds();
    qint64 done = 0;
    while (timer.elapsed() < seconds * 1000)
        done += work();
    return {done * 1000.0 / static_cast<double>(timer.elapsed()), done / (cpuSeconds() - cpuStart)};
}

void report(const char* what, Rate rate) {
    std::printf("%s: %.2f per second (wall clock), %.2f per CPU second\n", what, rate.wall,
                rate.cpu);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--write-seeds")
        return writeSeeds(args[2]);
    double seconds = 10;
    QTemporaryDir temp;
    QString work = temp.path();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--seconds")
            seconds = args[i + 1].toDouble();
        else if (args[i] == "--work")
            work = args[i + 1];
    }

    QStringList photos;
    for (quint32 i = 0; i < 3; ++i) {
        photos << work + QString("/photo%1.jpg").arg(i);
        save(encode(photo(4000, 3000, i), "jpeg", 90), photos.last());
    }
    std::printf("12-megapixel JPEGs: %lld bytes each\n",
                static_cast<long long>(QFile(photos[0]).size()));
    namespace jpeg = QuorvaneSDK::mJPEGLibrary;
    for (bool scaled : {true, false}) {
        int next = 0;
        const Rate rate = perSecond(seconds, [&] {
            const auto thumb = jpeg::LoadThumbnail(photos[next++ % 3], 250, 250, true, scaled);
            return thumb && thumb->Width() == 250 ? 1 : 0;
        });
        report(scaled ? "12 MP thumbnails, scaled decoding" : "12 MP thumbnails, full decoding",
               rate);
    }
    {
        int next = 0;
        const Rate rate = perSecond(seconds, [&] {
            QuorvaneSDK::cDIBSection full;
            if (!jpeg::LoadJPG(full, photos[next++ % 3]))
                return 0;
            const auto thumb = full.GetThumbnailDIB(250, 250, true);
            return thumb ? 1 : 0;
        });
        report("12 MP thumbnails, LoadJPG then GetThumbnailDIB", rate);
    }

    constexpr int files = 200;
    QStringList songs;
    for (int i = 0; i < files; ++i) {
        songs << work + QString("/song%1.mp3").arg(i);
        save(mp3(2400, i % 2 == 0), songs.last()); // about 1 MB, 63 s each
    }
    int next = 0;
    const Rate rate = perSecond(seconds, [&] {
        QuorvaneSDK::cMP3Info info;
        info.setFullName(songs[next++ % files]);
        info.ReadMP3Info();
        return info.TotalFrames() > 0 ? 1 : 0;
    });
    report("MP3 files analysed (1 MB files, page cache warm)", rate);
    return 0;
}
