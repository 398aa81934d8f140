#pragma once
// A work folder private to one run, below <base>/Uncompress/: archive
// entries are extracted into it, analysed and removed, so two runs never
// touch each other's files and a stale file is never taken for an entry.

#include <QString>

namespace QuorvaneCataloguing {

class WorkFolder {
public:
    WorkFolder();
    ~WorkFolder(); // removes the folder and what it holds
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    // Where archive entries are extracted.
    QString path() const { return m_path; }
    // A folder beside it for links to files with odd names; empty() does
    // not touch it, so an archive reached through one stays reachable.
    QString linkFolder() const { return m_root; }
    // Removes everything inside path(), keeping the folder.
    void empty() const;

private:
    QString m_root;
    QString m_path;
};

} // namespace QuorvaneCataloguing
