#include "PeVersionInfo.h"

#include <QFile>
#include <QList>

namespace NX_DiskFileInfo {

namespace {

constexpr qint64 kMaxFile = 256 * 1024 * 1024; // larger files are read only in part
constexpr quint32 kRtVersion = 16;
constexpr quint32 kFixedSignature = 0xFEEF04BD;
constexpr int kMaxDepth = 8;

// Bounds-checked little-endian reads over the file's bytes.
struct Bytes {
    const QByteArray& data;
    bool has(qint64 at, qint64 n) const { return at >= 0 && n >= 0 && at <= data.size() - n; }
    quint16 u16(qint64 at) const {
        if (!has(at, 2))
            return 0;
        return quint16(quint8(data[at]) | quint8(data[at + 1]) << 8);
    }
    quint32 u32(qint64 at) const {
        return has(at, 4) ? quint32(u16(at)) | quint32(u16(at + 2)) << 16 : 0;
    }
};

struct Section {
    quint32 virtualAddress, virtualSize, rawSize, rawOffset;
};

// File offset of a relative virtual address; -1 outside every section.
qint64 offsetOfRva(const QList<Section>& sections, quint32 rva) {
    for (const Section& s : sections) {
        const quint32 size = qMax(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva - s.virtualAddress < size &&
            rva - s.virtualAddress < s.rawSize)
            return qint64(s.rawOffset) + (rva - s.virtualAddress);
    }
    return -1;
}

// The first data entry below a resource directory entry (first name, first language).
qint64 firstLeaf(const Bytes& b, qint64 root, qint64 dir, int depth) {
    if (depth > kMaxDepth || !b.has(dir, 16))
        return -1;
    const int count = b.u16(dir + 12) + b.u16(dir + 14);
    if (count == 0 || !b.has(dir + 16, 8))
        return -1;
    const quint32 target = b.u32(dir + 16 + 4);
    if (target & 0x80000000u)
        return firstLeaf(b, root, root + (target & 0x7FFFFFFFu), depth + 1);
    return root + target;
}

// The version resource's bytes, or empty.
QByteArray versionResource(const QByteArray& file) {
    const Bytes b{file};
    if (b.u16(0) != 0x5A4D) // "MZ"
        return {};
    const qint64 pe = b.u32(0x3C);
    if (b.u32(pe) != 0x00004550) // "PE\0\0"
        return {};
    const qint64 coff = pe + 4;
    const int sectionCount = b.u16(coff + 2);
    const qint64 optional = coff + 20;
    const quint16 magic = b.u16(optional);
    const qint64 dirs = optional + (magic == 0x20b ? 112 : 96);
    const quint32 rvaCount = b.u32(optional + (magic == 0x20b ? 108 : 92));
    if ((magic != 0x10b && magic != 0x20b) || rvaCount <= 2)
        return {};
    const quint32 resourceRva = b.u32(dirs + 2 * 8);
    QList<Section> sections;
    const qint64 table = optional + b.u16(coff + 16);
    for (int i = 0; i < sectionCount && i < 96; ++i) {
        const qint64 s = table + i * 40;
        if (!b.has(s, 40))
            break;
        sections.append({b.u32(s + 12), b.u32(s + 8), b.u32(s + 16), b.u32(s + 20)});
    }
    const qint64 root = offsetOfRva(sections, resourceRva);
    if (resourceRva == 0 || root < 0 || !b.has(root, 16))
        return {};
    const int named = b.u16(root + 12), ids = b.u16(root + 14);
    for (int i = named; i < named + ids; ++i) {
        const qint64 entry = root + 16 + qint64(i) * 8;
        if (!b.has(entry, 8))
            return {};
        const quint32 target = b.u32(entry + 4);
        if (b.u32(entry) != kRtVersion || !(target & 0x80000000u))
            continue;
        const qint64 leaf = firstLeaf(b, root, root + (target & 0x7FFFFFFFu), 0);
        if (!b.has(leaf, 16))
            return {};
        const qint64 data = offsetOfRva(sections, b.u32(leaf));
        const quint32 size = b.u32(leaf + 4);
        if (data < 0 || !b.has(data, size))
            return {};
        return file.mid(data, size);
    }
    return {};
}

// One node of the version tree: length, value length, type, key, value, children.
struct Node {
    qint64 start = 0, end = 0;
    quint16 valueLength = 0, type = 0;
    QString key;
    qint64 value = 0, children = 0;
};

qint64 align4(qint64 v) {
    return (v + 3) & ~qint64(3);
}

bool readNode(const Bytes& b, qint64 at, qint64 limit, Node& n) {
    const quint16 length = b.u16(at);
    if (!b.has(at, 6) || length < 6 || at + length > limit)
        return false;
    n.start = at;
    n.end = at + length;
    n.valueLength = b.u16(at + 2);
    n.type = b.u16(at + 4);
    n.key.clear();
    qint64 p = at + 6;
    while (p + 2 <= n.end && b.u16(p) != 0 && n.key.size() < 64) {
        n.key.append(QChar(char16_t(b.u16(p))));
        p += 2;
    }
    n.value = align4(p + 2);
    const qint64 valueBytes = n.type == 1 ? qint64(n.valueLength) * 2 : n.valueLength;
    n.children = align4(n.value + valueBytes);
    return true;
}

QString textValue(const Bytes& b, const Node& n) {
    QString s;
    for (qint64 p = n.value; p + 2 <= n.end && s.size() < 255; p += 2) {
        const quint16 c = b.u16(p);
        if (c == 0)
            break;
        s.append(QChar(char16_t(c)));
    }
    return s;
}

// The children of a node, bounded by its length.
QList<Node> childrenOf(const Bytes& b, const Node& parent) {
    QList<Node> out;
    for (qint64 at = parent.children; at + 6 <= parent.end && out.size() < 1024;) {
        Node child;
        if (!readNode(b, at, parent.end, child))
            break;
        out.append(child);
        at = align4(child.end);
    }
    return out;
}

void readStrings(const Bytes& b, const Node& root, PeVersionInfo& info) {
    for (const Node& c : childrenOf(b, root)) {
        if (c.key != QLatin1String("VarFileInfo"))
            continue;
        for (const Node& var : childrenOf(b, c))
            if (var.key == QLatin1String("Translation") && var.valueLength >= 4 &&
                b.has(var.value, 4)) {
                info.TranslationKey = QStringLiteral("%1%2")
                                          .arg(b.u16(var.value), 4, 16, QLatin1Char('0'))
                                          .arg(b.u16(var.value + 2), 4, 16, QLatin1Char('0'))
                                          .toUpper();
                break;
            }
    }
    if (info.TranslationKey.isEmpty())
        return;
    QString* const targets[] = {&info.CompanyName,  &info.FileDescription, &info.FileVersion,
                                &info.InternalName, &info.LegalCopyright,  &info.OriginalFileName,
                                &info.ProductName,  &info.ProductVersion};
    const char* const names[] = {"CompanyName",  "FileDescription", "FileVersion",
                                 "InternalName", "LegalCopyright",  "OriginalFileName",
                                 "ProductName",  "ProductVersion"};
    for (const Node& c : childrenOf(b, root)) {
        if (c.key != QLatin1String("StringFileInfo"))
            continue;
        for (const Node& table : childrenOf(b, c)) {
            if (table.key.compare(info.TranslationKey, Qt::CaseInsensitive) != 0)
                continue;
            for (const Node& s : childrenOf(b, table))
                for (int i = 0; i < 8; ++i)
                    if (s.key.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
                        *targets[i] = textValue(b, s);
            return;
        }
    }
}

} // namespace

PeVersionInfo PeVersionInfo::fromBytes(const QByteArray& file) {
    PeVersionInfo info;
    const QByteArray resource = versionResource(file);
    const Bytes b{resource};
    Node root;
    if (resource.isEmpty() || !readNode(b, 0, resource.size(), root))
        return info;
    info.HasResource = true;
    if (root.valueLength >= 52 && b.has(root.value, 52) && b.u32(root.value) == kFixedSignature) {
        FixedFileInfo f;
        f.FileVersionMS = b.u32(root.value + 8);
        f.FileVersionLS = b.u32(root.value + 12);
        f.ProductVersionMS = b.u32(root.value + 16);
        f.ProductVersionLS = b.u32(root.value + 20);
        f.FileType = b.u32(root.value + 36);
        info.Fixed = f;
    }
    readStrings(b, root, info);
    return info;
}

PeVersionInfo PeVersionInfo::read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray head = f.read(2);
    if (head != "MZ")
        return {};
    f.seek(0);
    return fromBytes(f.read(kMaxFile));
}

} // namespace NX_DiskFileInfo
