#include "PeTestWriter.h"

namespace QuorvaneTest {

namespace {

void put16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& out, quint32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void pad4(QByteArray& out) {
    while (out.size() % 4)
        out.append('\0');
}
void set16(QByteArray& out, qsizetype at, quint32 v) {
    out[at] = char(v & 0xFF);
    out[at + 1] = char((v >> 8) & 0xFF);
}
void set32(QByteArray& out, qsizetype at, quint32 v) {
    set16(out, at, v & 0xFFFF);
    set16(out, at + 2, v >> 16);
}

// One node of a version tree: header, key, value, children, each aligned.
QByteArray node(const QString& key, const QByteArray& value, quint16 valueLength, quint16 type,
                const QList<QByteArray>& children = {}) {
    QByteArray out(6, '\0');
    for (QChar c : key)
        put16(out, c.unicode());
    put16(out, 0);
    pad4(out);
    out.append(value);
    for (const QByteArray& child : children) {
        pad4(out);
        out.append(child);
    }
    set16(out, 0, quint32(out.size()));
    set16(out, 2, valueLength);
    set16(out, 4, type);
    return out;
}

QByteArray textNode(const QString& key, const QString& text) {
    QByteArray value;
    for (QChar c : text)
        put16(value, c.unicode());
    put16(value, 0);
    return node(key, value, quint16(text.size() + 1), 1);
}

QByteArray versionInfo(const PeVersionLayout& s) {
    QByteArray fixed;
    put32(fixed, 0xFEEF04BD);
    put32(fixed, 0x00010000);
    put32(fixed, quint32(s.fileVersion[0]) << 16 | s.fileVersion[1]);
    put32(fixed, quint32(s.fileVersion[2]) << 16 | s.fileVersion[3]);
    put32(fixed, quint32(s.productVersion[0]) << 16 | s.productVersion[1]);
    put32(fixed, quint32(s.productVersion[2]) << 16 | s.productVersion[3]);
    put32(fixed, 0x3F);
    put32(fixed, 0);
    put32(fixed, 0x40004); // NT, Windows32
    put32(fixed, s.fileType);
    put32(fixed, 0);
    put32(fixed, 0);
    put32(fixed, 0);
    QList<QByteArray> strings;
    for (const auto& [name, text] : s.strings)
        strings.append(textNode(name, text));
    QList<QByteArray> children{
        node("StringFileInfo", {}, 0, 1, {node(s.stringTableKey, {}, 0, 1, strings)})};
    if (s.translation) {
        QByteArray pair;
        put16(pair, s.language);
        put16(pair, s.codePage);
        children.append(node("VarFileInfo", {}, 0, 1, {node("Translation", pair, 4, 0)}));
    }
    return node("VS_VERSION_INFO", fixed, 52, 0, children);
}

// Headers of a PE32 image with one section at RVA 0x1000, file offset 0x200.
QByteArray headers(quint32 resourceSize, quint32 sectionSize) {
    QByteArray out(0x40, '\0');
    out[0] = 'M';
    out[1] = 'Z';
    set32(out, 0x3C, 0x40);
    out.append("PE\0\0", 4);
    put16(out, 0x14C); // i386
    put16(out, 1);     // one section
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put16(out, 224); // optional header size
    put16(out, 0x0102);
    QByteArray optional(224, '\0');
    set16(optional, 0, 0x10B);
    set32(optional, 92, 16);
    set32(optional, 96 + 2 * 8, resourceSize ? 0x1000 : 0);
    set32(optional, 96 + 2 * 8 + 4, resourceSize);
    out.append(optional);
    QByteArray section(40, '\0');
    section.replace(0, 5, ".rsrc");
    set32(section, 8, sectionSize);
    set32(section, 12, 0x1000);
    set32(section, 16, sectionSize);
    set32(section, 20, 0x200);
    out.append(section);
    out.append(QByteArray(0x200 - out.size(), '\0'));
    return out;
}

} // namespace

QByteArray makePe(const PeVersionLayout& layout) {
    const QByteArray info = versionInfo(layout);
    QByteArray rsrc;
    const auto directory = [&](quint32 id, quint32 target) {
        put32(rsrc, 0);
        put32(rsrc, 0);
        put16(rsrc, 0);
        put16(rsrc, 0);
        put16(rsrc, 0); // named entries
        put16(rsrc, 1); // id entries
        put32(rsrc, id);
        put32(rsrc, target);
    };
    directory(16, 0x80000000u | 0x18); // type: version
    directory(1, 0x80000000u | 0x30);  // name: 1
    directory(layout.language, 0x48);  // language -> data entry
    put32(rsrc, 0x1000 + 0x58);
    put32(rsrc, quint32(info.size()));
    put32(rsrc, 0);
    put32(rsrc, 0);
    rsrc.append(QByteArray(0x58 - rsrc.size(), '\0'));
    rsrc.append(info);
    return headers(quint32(rsrc.size()), quint32(rsrc.size())) + rsrc;
}

QByteArray makePeWithoutResources() {
    return headers(0, 16) + QByteArray(16, '\xCC');
}

} // namespace QuorvaneTest
