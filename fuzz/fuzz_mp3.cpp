// Feeds arbitrary bytes to the MP3 tag and frame reader as a whole file.
#include "analysis/cMP3Info.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuorvaneSDK::cMP3Info info;
    info.ReadMP3InfoFromBytes(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    // Every getter runs, as the catalogue reads them all.
    volatile qsizetype sink = info.Title().size() + info.Artist().size() + info.Album().size() +
                              info.Year().size() + info.Comment().size() + info.Genre().size() +
                              info.BitRate().size() + info.SampleRate().size() +
                              info.ChannelMode().size() + info.ModeExtension().size() +
                              info.Emphasis().size() + info.Padding().size() + info.FrameLength() +
                              info.TotalFrames() + static_cast<qsizetype>(info.PlayTime());
    (void)sink;
    return 0;
}
