#include "catalogue/CdIdentifier.h"

#include <QList>

namespace QuorvaneSDK {

namespace {

constexpr int kNoTracks = -1; // error code of a table without tracks

int digitSum(int value) {
    int sum = 0;
    for (value = qAbs(value); value > 0; value /= 10)
        sum += value % 10;
    return sum;
}

// Hexadecimal, left-padded to `width` but never shortened.
QString hex(qint64 value, int width) {
    return QString::number(quint32(value), 16).rightJustified(width, QLatin1Char('0'));
}

} // namespace

QString CCd::compute(CdTableOfContents& toc, int& errorCode) {
    int count = 0;
    if ((errorCode = toc.NumberOfTracks(count)) != 0)
        return {};
    count &= 0xFFFF;
    if (count < 1) {
        errorCode = kNoTracks;
        return {};
    }
    QList<Msf> starts(count);
    for (int n = 1; n <= count; ++n)
        if ((errorCode = toc.TrackPosition(n, starts[n - 1])) != 0)
            return {};
    Msf lastLength;
    if ((errorCode = toc.TrackLength(count, lastLength)) != 0)
        return {};
    const Msf leadOut = Msf::fromOffset(lastLength.offset() + starts.last().offset() + 1);
    const int discLength =
        leadOut.Minute * 60 + leadOut.Second - (starts[0].Minute * 60 + starts[0].Second);
    int checksum = 0;
    for (const Msf& start : starts)
        checksum += digitSum(start.Minute * 60 + start.Second);
    return hex(checksum % 255, 2) + hex(discLength, 4) + hex(count, 2);
}

void CCd::Init(const QString& drive, CdDriveAccess& access) {
    m_errorCode = 0;
    m_drive = drive;
    std::unique_ptr<CdTableOfContents> toc = access.Open(drive, m_errorCode);
    if (!toc)
        return;
    int error = 0;
    const QString id = compute(*toc, error);
    m_errorCode = error;
    if (!id.isEmpty())
        m_discId = id;
}

QString get_CDDBID(const QString& Drive, CdDriveAccess& access) {
    if (Drive.trimmed().isEmpty() || !access.IsOpticalDrive(Drive))
        return {};
    int error = 0;
    std::unique_ptr<CdTableOfContents> toc = access.Open(Drive, error);
    if (!toc)
        return QString::fromLatin1(CCd::kUnavailable);
    // A data disc in an optical drive is no audio CD: it keeps its volume identity.
    if (!toc->HasAudioTrack())
        return {};
    const QString id = CCd::compute(*toc, error);
    return id.isEmpty() ? QString::fromLatin1(CCd::kUnavailable) : id;
}

QString get_CDDBID(const QString& Drive) {
    LinuxCdDriveAccess access;
    return get_CDDBID(Drive, access);
}

} // namespace QuorvaneSDK
