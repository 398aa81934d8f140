#pragma once
// The volume and file information control, without a window: what a
// volume is (GetUnityInfo), what a file is (GefFileInfo fills the File_ and
// FILE_ATTRIBUTE_ properties), how many files a folder holds and where a
// file lies below a folder. Every property keeps its default until set.

#include "MediaInfo.h"
#include "VolumeSystem.h"
#include "foundation/OleDate.h"

#include <QObject>
#include <QVariant>
#include <QVariantMap>
#include <memory>

namespace NX_DiskFileInfo {

using QuorvaneSDK::Date;

// Getter and setter of one property; every write tells PropertyChanged.
#define NX_DFI_PROPERTY(Type, Name, Default)                                                       \
public:                                                                                            \
    Type Name() const {                                                                            \
        return m_##Name;                                                                           \
    }                                                                                              \
    void set_##Name(const Type& value) {                                                           \
        m_##Name = value;                                                                          \
        emit PropertyChanged(QStringLiteral(#Name));                                               \
    }                                                                                              \
                                                                                                   \
private:                                                                                           \
    Type m_##Name = Default;

class NX_DiskFileInfo_ : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString File_Name READ File_Name WRITE set_File_Name)
    Q_PROPERTY(double Unity_FreeSpace READ Unity_FreeSpace WRITE set_Unity_FreeSpace)
    Q_PROPERTY(double Unity_Size READ Unity_Size WRITE set_Unity_Size)
    Q_PROPERTY(double Unity_UsedSpace READ Unity_UsedSpace WRITE set_Unity_UsedSpace)
    Q_PROPERTY(QString Unity_SerialNumber READ Unity_SerialNumber WRITE set_Unity_SerialNumber)
    Q_PROPERTY(QString Unity_Label READ Unity_Label WRITE set_Unity_Label)
    Q_PROPERTY(QString Unity_PartitionType READ Unity_PartitionType WRITE set_Unity_PartitionType)
    Q_PROPERTY(bool Unity_IsNetwork READ Unity_IsNetwork WRITE set_Unity_IsNetwork)
    Q_PROPERTY(QVariant Unity_Type READ Unity_Type WRITE set_Unity_Type)
    Q_PROPERTY(float Unity_FreeSpacePercentual READ Unity_FreeSpacePercentual WRITE
                   set_Unity_FreeSpacePercentual)
    Q_PROPERTY(float Unity_UsedSpacePercentual READ Unity_UsedSpacePercentual WRITE
                   set_Unity_UsedSpacePercentual)
    Q_PROPERTY(QString File_Directory READ File_Directory WRITE set_File_Directory)
    Q_PROPERTY(QString File_FileType READ File_FileType WRITE set_File_FileType)
    Q_PROPERTY(qint32 File_VerMajor READ File_VerMajor WRITE set_File_VerMajor)
    Q_PROPERTY(qint32 File_VerMinor READ File_VerMinor WRITE set_File_VerMinor)
    Q_PROPERTY(qint32 File_VerRevision READ File_VerRevision WRITE set_File_VerRevision)
    Q_PROPERTY(qint64 File_FileSize READ File_FileSize WRITE set_File_FileSize)
    Q_PROPERTY(double File_CreationDate READ creationDays WRITE setCreationDays)
    Q_PROPERTY(double File_LastModifyTime READ modifyDays WRITE setModifyDays)
    Q_PROPERTY(double File_LastAccessTime READ accessDays WRITE setAccessDays)
    Q_PROPERTY(QString File_CompanyName READ File_CompanyName WRITE set_File_CompanyName)
    Q_PROPERTY(
        QString File_FileDescription READ File_FileDescription WRITE set_File_FileDescription)
    Q_PROPERTY(QString File_FileVersion READ File_FileVersion WRITE set_File_FileVersion)
    Q_PROPERTY(QString File_InternalName READ File_InternalName WRITE set_File_InternalName)
    Q_PROPERTY(QString File_LegalCopyright READ File_LegalCopyright WRITE set_File_LegalCopyright)
    Q_PROPERTY(
        QString File_OriginalFileName READ File_OriginalFileName WRITE set_File_OriginalFileName)
    Q_PROPERTY(QString File_ProductName READ File_ProductName WRITE set_File_ProductName)
    Q_PROPERTY(QString File_ProductVersion READ File_ProductVersion WRITE set_File_ProductVersion)
    Q_PROPERTY(bool FILE_ATTRIBUTE_DIRECTORY READ FILE_ATTRIBUTE_DIRECTORY WRITE
                   set_FILE_ATTRIBUTE_DIRECTORY)
    Q_PROPERTY(
        bool FILE_ATTRIBUTE_HIDDEN READ FILE_ATTRIBUTE_HIDDEN WRITE set_FILE_ATTRIBUTE_HIDDEN)
    Q_PROPERTY(
        bool FILE_ATTRIBUTE_NORMAL READ FILE_ATTRIBUTE_NORMAL WRITE set_FILE_ATTRIBUTE_NORMAL)
    Q_PROPERTY(
        bool FILE_ATTRIBUTE_READONLY READ FILE_ATTRIBUTE_READONLY WRITE set_FILE_ATTRIBUTE_READONLY)
    Q_PROPERTY(
        bool FILE_ATTRIBUTE_SYSTEM READ FILE_ATTRIBUTE_SYSTEM WRITE set_FILE_ATTRIBUTE_SYSTEM)
    Q_PROPERTY(bool FILE_ATTRIBUTE_TEMPORARY READ FILE_ATTRIBUTE_TEMPORARY WRITE
                   set_FILE_ATTRIBUTE_TEMPORARY)
    Q_PROPERTY(
        bool FILE_ATTRIBUTE_ARCHIVE READ FILE_ATTRIBUTE_ARCHIVE WRITE set_FILE_ATTRIBUTE_ARCHIVE)
    Q_PROPERTY(bool FILE_ATTRIBUTE_COMPRESSED READ FILE_ATTRIBUTE_COMPRESSED WRITE
                   set_FILE_ATTRIBUTE_COMPRESSED)

public:
    explicit NX_DiskFileInfo_(QObject* parent = nullptr);
    ~NX_DiskFileInfo_() override;

    // The volume holding `UnityLetter` (any path on it). An empty text, or
    // a path whose volume cannot be described, gives an all-empty record;
    // the reason of the latter is in LastError(). The Unity_ properties
    // are not changed.
    MediaInfo GetUnityInfo(const QString& UnityLetter);
    QString LastError() const { return m_lastError; }

    // Fills the File_ and FILE_ATTRIBUTE_ properties from the file.
    void GefFileInfo(const QString& FileName);

    // Plain files of a folder (no folders, no hidden files), those whose
    // extension is `Extension` (letter case aside, wildcards allowed) when given.
    qint32 NumberOfFiles(const QString& Path, const QString& Extension = QString()) const;

    // It returns the full path for the specified file: the start folder
    // first, then its sub-folders depth first; "" when nowhere.
    QString File_FindFile(const QString& FileNameToFind, const QString& StartSearchPath) const;

    // Every property under its own name, and back (missing names take
    // their defaults), as a hosting window saves and restores them.
    QVariantMap WriteProperties() const;
    void ReadProperties(const QVariantMap& bag);

    // Where volume facts come from (tests describe their own volumes).
    void setVolumeSystem(std::shared_ptr<VolumeSystem> system) { m_system = std::move(system); }

signals:
    void PropertyChanged(const QString& name);

private:
    double creationDays() const { return m_File_CreationDate.toDouble(); }
    void setCreationDays(double d) { set_File_CreationDate(Date(d)); }
    double modifyDays() const { return m_File_LastModifyTime.toDouble(); }
    void setModifyDays(double d) { set_File_LastModifyTime(Date(d)); }
    double accessDays() const { return m_File_LastAccessTime.toDouble(); }
    void setAccessDays(double d) { set_File_LastAccessTime(Date(d)); }

    std::shared_ptr<VolumeSystem> m_system;
    QString m_lastError;

    NX_DFI_PROPERTY(QString, File_Name, QString())
    NX_DFI_PROPERTY(double, Unity_FreeSpace, 0)
    NX_DFI_PROPERTY(double, Unity_Size, 0)
    NX_DFI_PROPERTY(double, Unity_UsedSpace, 0)
    NX_DFI_PROPERTY(QString, Unity_SerialNumber, QString())
    NX_DFI_PROPERTY(QString, Unity_Label, QString())
    NX_DFI_PROPERTY(QString, Unity_PartitionType, QString())
    NX_DFI_PROPERTY(bool, Unity_IsNetwork, false)
    NX_DFI_PROPERTY(QVariant, Unity_Type, QVariant(0))
    NX_DFI_PROPERTY(float, Unity_FreeSpacePercentual, 0)
    NX_DFI_PROPERTY(float, Unity_UsedSpacePercentual, 0)
    NX_DFI_PROPERTY(QString, File_Directory, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_FileType, QStringLiteral("0"))
    NX_DFI_PROPERTY(qint32, File_VerMajor, 0)
    NX_DFI_PROPERTY(qint32, File_VerMinor, 0)
    NX_DFI_PROPERTY(qint32, File_VerRevision, 0)
    NX_DFI_PROPERTY(qint64, File_FileSize, 0)
    NX_DFI_PROPERTY(Date, File_CreationDate, Date())
    NX_DFI_PROPERTY(Date, File_LastModifyTime, Date())
    NX_DFI_PROPERTY(Date, File_LastAccessTime, Date())
    NX_DFI_PROPERTY(QString, File_CompanyName, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_FileDescription, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_FileVersion, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_InternalName, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_LegalCopyright, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_OriginalFileName, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_ProductName, QStringLiteral("0"))
    NX_DFI_PROPERTY(QString, File_ProductVersion, QStringLiteral("0"))
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_DIRECTORY, false)
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_HIDDEN, false)
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_NORMAL, false)
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_READONLY, false)
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_SYSTEM, false)
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_TEMPORARY, false)
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_ARCHIVE, false)
    NX_DFI_PROPERTY(bool, FILE_ATTRIBUTE_COMPRESSED, false)
};

#undef NX_DFI_PROPERTY

} // namespace NX_DiskFileInfo
