#include "NX_DiskFileInfo_.h"
#include "FileFacts.h"
#include "VolumeInfo.h"

#include <QMetaProperty>

namespace NX_DiskFileInfo {

NX_DiskFileInfo_::NX_DiskFileInfo_(QObject* parent)
    : QObject(parent), m_system(std::make_shared<LinuxVolumeSystem>()) {
}

NX_DiskFileInfo_::~NX_DiskFileInfo_() = default;

MediaInfo NX_DiskFileInfo_::GetUnityInfo(const QString& UnityLetter) {
    m_lastError.clear();
    if (UnityLetter.isEmpty())
        return {};
    return volumeInfo(UnityLetter, *m_system, &m_lastError);
}

void NX_DiskFileInfo_::GefFileInfo(const QString& FileName) {
    if (FileName.isEmpty())
        return;
    set_File_Name(FileName);
    const FileFacts f = FileFacts::examine(FileName);
    set_File_Directory(f.Directory);
    set_File_FileType(f.FileType);
    set_File_VerMajor(f.VerMajor);
    set_File_VerMinor(f.VerMinor);
    set_File_VerRevision(f.VerRevision);
    set_File_FileSize(f.FileSize);
    set_File_CreationDate(f.CreationDate);
    set_File_LastModifyTime(f.LastModifyTime);
    set_File_LastAccessTime(f.LastAccessTime);
    set_File_CompanyName(f.CompanyName);
    set_File_FileDescription(f.FileDescription);
    set_File_FileVersion(f.FileVersion);
    set_File_InternalName(f.InternalName);
    set_File_LegalCopyright(f.LegalCopyright);
    set_File_OriginalFileName(f.OriginalFileName);
    set_File_ProductName(f.ProductName);
    set_File_ProductVersion(f.ProductVersion);
    set_FILE_ATTRIBUTE_ARCHIVE(f.Attributes & 0x20);
    set_FILE_ATTRIBUTE_COMPRESSED(f.Attributes & 0x800);
    set_FILE_ATTRIBUTE_DIRECTORY(f.Attributes & 0x10);
    set_FILE_ATTRIBUTE_HIDDEN(f.Attributes & 0x2);
    set_FILE_ATTRIBUTE_NORMAL(f.Attributes & 0x80);
    set_FILE_ATTRIBUTE_READONLY(f.Attributes & 0x1);
    set_FILE_ATTRIBUTE_SYSTEM(f.Attributes & 0x4);
    set_FILE_ATTRIBUTE_TEMPORARY(f.Attributes & 0x100);
}

QVariantMap NX_DiskFileInfo_::WriteProperties() const {
    QVariantMap bag;
    const QMetaObject* meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        bag.insert(QString::fromLatin1(meta->property(i).name()), meta->property(i).read(this));
    return bag;
}

void NX_DiskFileInfo_::ReadProperties(const QVariantMap& bag) {
    const NX_DiskFileInfo_ defaults;
    const QMetaObject* meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        const QString name = QString::fromLatin1(p.name());
        p.write(this, bag.contains(name) ? bag.value(name) : p.read(&defaults));
    }
}

} // namespace NX_DiskFileInfo
