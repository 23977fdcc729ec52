// The disk search behind the search window: walks folders for files of
// given names, a folder's own files before its subfolders, without entering
// hidden folders, symbolic links or other mounted file systems.
//
// One walk finds every name at once. The rows of the first name are handed
// out as they are found; those of the other names are held and handed out
// after the walk, name by name, so the order is the one a walk per name
// gives (all engine rows, then all utility rows) at the cost of one walk.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <vector>

namespace stewardex {

// A folder's subfolder table holds this many names; a folder with more is
// searched for its own files only, none of its subfolders.
inline constexpr std::size_t SubfolderTableSize = 1001;
// Drive slots of a whole-computer search: drives beyond these are not searched.
inline constexpr std::size_t DriveSlots = 11;

struct FoundFile {
    std::size_t nameIndex = 0;   // which of the searched names
    QString folder;              // ends in "/"
    QString fileName;            // as found on disk
    qint64 size = 0;
    QDateTime modified;
};

class FolderSearch {
public:
    // Called at the start of every folder with its path; false stops the
    // whole search (the user cancelled).
    using FolderStart = std::function<bool(const QString& folder)>;
    using Found = std::function<void(const FoundFile& file)>;

    // Names match without regard to letter case.
    FolderSearch(QStringList names, FolderStart onFolder, Found onFound);

    // Walks each root in turn, then hands out the held rows (also after a
    // stop: what was found stays found). A root that cannot be listed yields
    // nothing. Returns false when the search was stopped.
    bool run(const QStringList& roots);

    std::size_t foldersVisited() const { return foldersVisited_; }

private:
    void searchFolder(const std::string& folder, unsigned long long device);
    void report(FoundFile file);

    std::vector<std::string> names_;
    FolderStart onFolder_;
    Found onFound_;
    std::vector<std::vector<FoundFile>> held_;
    bool stopped_ = false;
    std::size_t foldersVisited_ = 0;
};

// Roots of a whole-computer search: the first DriveSlots drives.
QStringList searchRoots(const QStringList& drives);

} // namespace stewardex
