#include "catalogue/ArchiveText.h"

#include <QStringDecoder>
#include <array>
#include <cstdlib>
#include <ctime>

namespace QuorvaneSDK::ArchiveText {

namespace {

// Upper half of code page 437 (0x80 to 0xFF).
constexpr char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

std::array<quint32, 256> makeCrcTable() {
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

int daysInMonth(int year, int month) {
    return QDate(year, month, 1).daysInMonth();
}

} // namespace

QString fromCp437(const QByteArray& bytes) {
    QString result;
    result.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        result.append(b < 0x80 ? QChar(b) : QChar(kCp437High[b - 0x80]));
    }
    return result;
}

QString fromUtf8OrCp437(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (!decoder.hasError())
        return text;
    return fromCp437(bytes);
}

QString cutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString normalisedEntryPath(const QString& stored) {
    QString path = cutAtNul(stored);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString folderPart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString namePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isValidDosDateTime(quint32 value) {
    const int year = 1980 + int((value >> 25) & 0x7F);
    const int month = int((value >> 21) & 0x0F);
    const int day = int((value >> 16) & 0x1F);
    const int hour = int((value >> 11) & 0x1F);
    const int minute = int((value >> 5) & 0x3F);
    const int second = int(value & 0x1F) * 2;
    return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month) && hour < 24 &&
           minute < 60 && second < 60;
}

QDateTime fromDosDateTime(quint32 value) {
    if (!isValidDosDateTime(value))
        return QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    const QDate date(1980 + int((value >> 25) & 0x7F), int((value >> 21) & 0x0F),
                     int((value >> 16) & 0x1F));
    const QTime time(int((value >> 11) & 0x1F), int((value >> 5) & 0x3F), int(value & 0x1F) * 2);
    return QDateTime(date, time);
}

quint32 toDosDateTime(const QDateTime& local) {
    const QDate d = local.date();
    const QTime t = local.time();
    if (!local.isValid() || d.year() < 1980 || d.year() > 2107)
        return 0;
    return quint32(d.year() - 1980) << 25 | quint32(d.month()) << 21 | quint32(d.day()) << 16 |
           quint32(t.hour()) << 11 | quint32(t.minute()) << 5 | quint32(t.second() / 2);
}

quint32 crc32(const char* data, qsizetype size, quint32 previous) {
    static const std::array<quint32, 256> table = makeCrcTable();
    quint32 c = previous ^ 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i)
        c = table[(c ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

StableLocalTimeZone::StableLocalTimeZone() {
    if (std::getenv("TZ") == nullptr && ::setenv("TZ", ":/etc/localtime", 1) == 0) {
        m_set = true;
        ::tzset();
    }
}

StableLocalTimeZone::~StableLocalTimeZone() {
    if (m_set) {
        ::unsetenv("TZ");
        ::tzset();
    }
}

} // namespace QuorvaneSDK::ArchiveText
