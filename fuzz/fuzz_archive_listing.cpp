// Feeds arbitrary bytes to the archive listings: the RAR 4 / RAR 5 header
// reader and the ZIP lister (libzip over a memory buffer). Run with
// fuzz/archives.dict for the format markers.

#include "catalogue/RarHeaderReader.h"
#include "catalogue/ZipArchive.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const QuorvaneSDK::RarListing listing = QuorvaneSDK::RarHeaderReader::read(buffer);
        qsizetype total = listing.Comment.size();
        for (const QuorvaneSDK::RarEntry& e : listing.Entries)
            total += e.Name.size();
        (void)total;
    }
    QuorvaneSDK::ZipArchive::ListZipBuffer(
        bytes, [](const QuorvaneSDK::ZipListingEntry& e) { return !e.FileName.isNull() || true; });
    return 0;
}
