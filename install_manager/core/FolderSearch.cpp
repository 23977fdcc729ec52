#include "core/FolderSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>

#include <memory>

namespace stewardex {

namespace {

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

QDateTime modificationTime(const struct stat& info)
{
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(info.st_mtim.tv_sec) * 1000
                                          + info.st_mtim.tv_nsec / 1000000);
}

// One folder's listing: the matching files and the subfolders to visit.
struct Listing {
    std::vector<FoundFile> files;
    std::vector<std::string> subfolders;
    bool tooManySubfolders = false;
};

} // namespace

FolderSearch::FolderSearch(QStringList names, FolderStart onFolder, Found onFound)
    : onFolder_(std::move(onFolder)), onFound_(std::move(onFound))
{
    for (const QString& name : names)
        names_.push_back(name.toStdString());
    held_.resize(names_.size());
}

bool FolderSearch::run(const QStringList& roots)
{
    stopped_ = false;
    for (const QString& root : roots) {
        if (stopped_)
            break;
        std::string folder = root.toStdString();
        struct stat info {};
        if (folder.empty() || stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            continue;
        searchFolder(folder, info.st_dev);
    }
    for (auto& held : held_) {
        for (auto& file : held)
            onFound_(file);
        held.clear();
    }
    return !stopped_;
}

void FolderSearch::report(FoundFile file)
{
    if (file.nameIndex == 0)
        onFound_(file);
    else
        held_[file.nameIndex].push_back(std::move(file));
}

void FolderSearch::searchFolder(const std::string& path, unsigned long long device)
{
    if (stopped_)
        return;
    ++foldersVisited_;
    const std::string folder = path.ends_with('/') ? path : path + '/';
    if (onFolder_ && !onFolder_(QString::fromStdString(folder))) {
        stopped_ = true;
        return;
    }
    Listing listing;
    {
        const Directory directory(opendir(folder.c_str()));
        if (!directory)
            return;   // unreadable: nothing from here or below
        const int fd = dirfd(directory.get());
        while (const dirent* entry = readdir(directory.get())) {
            const char* name = entry->d_name;
            if (name[0] == '.')
                continue;   // hidden files and folders, and "." and ".."
            unsigned char type = entry->d_type;
            const std::size_t length = std::char_traits<char>::length(name);
            for (std::size_t index = 0; index < names_.size(); ++index) {
                const std::string& wanted = names_[index];
                if (wanted.size() != length || strncasecmp(wanted.c_str(), name, length) != 0)
                    continue;
                struct stat info {};
                // A link to a file counts as the file; anything else is no match.
                if (fstatat(fd, name, &info, 0) == 0 && S_ISREG(info.st_mode))
                    listing.files.push_back({index, QString(), QString::fromStdString(name),
                                             static_cast<qint64>(info.st_size), modificationTime(info)});
                type = DT_REG;   // never a folder to enter
                break;
            }
            if (type != DT_DIR && type != DT_UNKNOWN)
                continue;
            struct stat info {};
            if (fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(info.st_mode)
                || info.st_dev != device)
                continue;   // not a folder, a link, or another mounted file system
            if (listing.subfolders.size() == SubfolderTableSize) {
                listing.tooManySubfolders = true;
                continue;
            }
            listing.subfolders.emplace_back(name);
        }
    }
    const QString shownFolder = QString::fromStdString(folder);
    for (FoundFile& file : listing.files) {
        file.folder = shownFolder;
        report(std::move(file));
    }
    if (listing.tooManySubfolders)
        return;
    for (const std::string& subfolder : listing.subfolders) {
        if (stopped_)
            return;
        searchFolder(folder + subfolder, device);
    }
}

QStringList searchRoots(const QStringList& drives)
{
    return drives.mid(0, static_cast<qsizetype>(DriveSlots));
}

} // namespace stewardex
