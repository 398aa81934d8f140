#pragma once
// A catalogue with the current schema on each engine, and a Main object on
// it. Helpers append media and files the way the scan engine does.

#include "SdkTestSupport.h"

#include "catalogue/Main.h"
#include "foundation/Records.h"

#include <QStringList>
#include <memory>

namespace QuorvaneTest {

class CatalogueTest : public EngineTest {
public:
    // A FileQuorvane of medium `mediaId` with the given place and size.
    static QuorvaneSDK::FileQuorvane makeFile(qint32 mediaId, const QString& folder,
                                              const QString& name, double size = 0);

protected:
    void SetUp() override;
    void TearDown() override;

    QuorvaneSDK::Main& main() { return *m_main; }
    // Messages of Main's Error event since SetUp.
    const QStringList& errorEvents() const { return m_errorEvents; }
    // Drops a table (with what references it) so that its queries fail.
    void dropTable(const QString& table);

    // A stored medium (serial number and label as given); returns its key.
    qint32 addMedia(const QString& label, const QString& serial = QString(),
                    const QString& group = QString());
    // set_Files + get_LastIDFile.
    qint32 addFile(qint32 mediaId, const QString& folder, const QString& name, double size = 0);
    // An entry of archive file `parentId`; set_FilesCompressed + get_LastIDFileCompressed.
    qint32 addEntry(qint32 parentId, const QString& name, const QString& path = QString(),
                    double compressedSize = 0);
    // First column of the first row as an integer (-1 on failure).
    qint64 scalar(const QString& sql);

private:
    std::unique_ptr<QuorvaneSDK::Main> m_main;
    QStringList m_errorEvents;
};

} // namespace QuorvaneTest
