#pragma once
// Random access to the bytes of a file or of a buffer in memory, so that the
// readers of this folder parse both the same way (the fuzzers feed buffers).
// Reads are clamped to the data: a read past the end returns fewer bytes.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace QuorvaneSDK::Analysis {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Length in bytes, or -1 when the data cannot be reached.
    virtual qint64 size() const = 0;
    // Up to len bytes from the 0-based offset pos; empty when nothing is there
    // or the read failed.
    virtual QByteArray read(qint64 pos, qint64 len) = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(const QByteArray& data) : m_data(data) {}
    qint64 size() const override { return m_data.size(); }
    QByteArray read(qint64 pos, qint64 len) override;

private:
    QByteArray m_data;
};

// Opens the file read-only on construction and closes it on destruction.
class FileByteSource final : public ByteSource {
public:
    explicit FileByteSource(const QString& path);
    bool isOpen() const { return m_file.isOpen(); }
    qint64 size() const override;
    QByteArray read(qint64 pos, qint64 len) override;

private:
    QFile m_file;
};

} // namespace QuorvaneSDK::Analysis
