#include "analysis/ByteSource.h"

namespace QuorvaneSDK::Analysis {

QByteArray MemoryByteSource::read(qint64 pos, qint64 len) {
    if (pos < 0 || len <= 0 || pos >= m_data.size())
        return {};
    return m_data.mid(pos, qMin(len, m_data.size() - pos));
}

FileByteSource::FileByteSource(const QString& path) : m_file(path) {
    m_file.open(QIODevice::ReadOnly);
}

qint64 FileByteSource::size() const {
    return m_file.isOpen() ? m_file.size() : -1;
}

QByteArray FileByteSource::read(qint64 pos, qint64 len) {
    if (!m_file.isOpen() || pos < 0 || len <= 0)
        return {};
    const qint64 available = m_file.size() - pos;
    if (available <= 0 || !m_file.seek(pos))
        return {};
    return m_file.read(qMin(len, available));
}

} // namespace QuorvaneSDK::Analysis
