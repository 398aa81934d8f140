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
    QString path() const { return m_path; }
    // Removes everything inside, keeping the folder.
    void empty() const;

private:
    QString m_path;
};

} // namespace QuorvaneCataloguing
