#pragma once
// Small helpers shared by the archive readers: the IBM PC character set of
// old archive names, MS-DOS date-times, CRC-32 and entry paths as the
// catalogue stores them ("/" between folders, valid UTF-8).

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace QuorvaneSDK::ArchiveText {

// Decodes bytes in code page 437 (the OEM set that DOS and Windows archivers
// used for names). Every byte maps to one character; bytes below 0x80 are ASCII.
QString fromCp437(const QByteArray& bytes);

// UTF-8 when the bytes are valid UTF-8, otherwise code page 437. Used for
// texts whose encoding the archive does not record (comments).
QString fromUtf8OrCp437(const QByteArray& bytes);

// Cuts a text at its first NUL character.
QString cutAtNul(const QString& text);

// Turns a stored entry path into the catalogue's form: backslashes become
// "/", the text is cut at a NUL. Leading separators are kept: the reader
// reports what the archive says; confinement happens at extraction.
QString normalisedEntryPath(const QString& stored);

// The folder part of an entry path, up to and including its last "/"; ""
// for an entry at the archive root.
QString folderPart(const QString& path);

// The name after the last "/".
QString namePart(const QString& path);

// MS-DOS date-time (date in the high 16 bits, time in the low 16 bits) as a
// local date-time without any time-zone conversion; an invalid value gives
// 1980-01-01 00:00, as the Windows conversion falls back to.
QDateTime fromDosDateTime(quint32 dosDateTime);
// True when the packed value names a real calendar date and time of day.
bool isValidDosDateTime(quint32 dosDateTime);
// The inverse, for local date-times from 1980 to 2107 (others give 0).
quint32 toDosDateTime(const QDateTime& local);

// CRC-32 (the polynomial of ZIP and RAR), continuing from a previous value.
quint32 crc32(const char* data, qsizetype size, quint32 previous = 0);
inline quint32 crc32(const QByteArray& data, quint32 previous = 0) {
    return crc32(data.constData(), data.size(), previous);
}

// While alive, pins the C library's time zone to the system's default zone
// file when TZ is unset. Without TZ, glibc checks /etc/localtime again on
// every local-time conversion, and listing an archive converts one time per
// entry (libzip does so for the whole directory when it opens an archive):
// that check made listing eight times slower. The zone itself is the same.
class StableLocalTimeZone {
public:
    StableLocalTimeZone();
    ~StableLocalTimeZone();
    StableLocalTimeZone(const StableLocalTimeZone&) = delete;
    StableLocalTimeZone& operator=(const StableLocalTimeZone&) = delete;

private:
    bool m_set = false;
};

} // namespace QuorvaneSDK::ArchiveText
