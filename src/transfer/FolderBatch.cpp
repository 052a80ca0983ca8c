#include "transfer/FolderBatch.h"

#include "listing/ServerRowTime.h"
#include "session/ftp/FtpErrorCodes.h"
#include "session/ftp/ServerFolderListing.h"

#include <QCollator>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vendrel {

namespace {

struct FolderEntry {
    QString name;
    bool isFolder = false;
    qint64 size = 0;
    QDateTime modified;
    ShownTime modifiedKind = ShownTime::InLocalTime;
};

// What listing one folder of a tree gave.
struct FolderListing {
    std::vector<FolderEntry> entries;
    CollectionFailure failure = CollectionFailure::None;
};

// Files before folders, each in the order a person reads names; the exact
// name breaks ties, so the order never depends on how the entries came.
void sortForReading(std::vector<FolderEntry> &entries)
{
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, std::size_t>> keys;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        keys.emplace_back(collator.sortKey(entries[i].name), i);
    std::sort(keys.begin(), keys.end(), [&entries](const auto &a, const auto &b) {
        const FolderEntry &first = entries[a.second];
        const FolderEntry &second = entries[b.second];
        if (first.isFolder != second.isFolder)
            return second.isFolder;
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : first.name < second.name;
    });
    std::vector<FolderEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto &key : keys)
        sorted.push_back(std::move(entries[key.second]));
    entries = std::move(sorted);
}

// Walks a tree depth first from the chosen folder, one listing per folder,
// into the collection's batch.
class TreeWalk {
public:
    // Lists one folder, named relative to the batch's base ("photos/2020/").
    using ListFolder = std::function<FolderListing(const QString &relative)>;

    TreeWalk(FolderCollection &into, QString shownBase, ListFolder list)
        : into_(into), shownBase_(std::move(shownBase)), list_(std::move(list))
    {
    }

    void collect(const QString &topName)
    {
        if (!walk(topName + u'/', 0)) {
            into_.batch.folders.clear();
            into_.batch.files.clear();
        }
    }

private:
    bool walk(const QString &relative, int depth)
    {
        if (depth > MaxFolderDepth)
            return stop(CollectionFailure::TooDeep, relative);
        FolderListing listing = list_(relative);
        if (listing.failure != CollectionFailure::None)
            return stop(listing.failure, relative);
        sortForReading(listing.entries);
        into_.batch.folders.append(relative);
        for (const FolderEntry &entry : listing.entries) {
            if (!entry.isFolder)
                into_.batch.files.append({relative + entry.name, entry.size, entry.modified, entry.modifiedKind});
        }
        for (const FolderEntry &entry : listing.entries) {
            if (entry.isFolder && !walk(relative + entry.name + u'/', depth + 1))
                return false;
        }
        return true;
    }

    bool stop(CollectionFailure failure, const QString &relative)
    {
        into_.failure = failure;
        into_.failedFolder = shownBase_ + relative;
        return false;
    }

    FolderCollection &into_;
    QString shownBase_;
    ListFolder list_;
};

// One local folder (ending in '/'). Links to files are followed, links to
// folders are not; what cannot be read is left out and named.
FolderListing listLocalFolder(const QString &folder, QList<SkippedEntry> &skipped)
{
    FolderListing listing;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr) {
        listing.failure = CollectionFailure::ListingFailed;
        return listing;
    }
    const int dirFd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const char *raw = entry->d_name;
        if (std::strcmp(raw, ".") == 0 || std::strcmp(raw, "..") == 0)
            continue;
        const QString name = QFile::decodeName(raw);
        const auto skip = [&](SkippedEntry::Reason reason) { skipped.append({folder + name, reason}); };
        struct stat own {};
        const bool known = ::fstatat(dirFd, raw, &own, AT_SYMLINK_NOFOLLOW) == 0;
        struct stat target = own;
        if (!known || (S_ISLNK(own.st_mode) && ::fstatat(dirFd, raw, &target, 0) != 0)) {
            skip(SkippedEntry::Reason::Unreadable);
        } else if (S_ISDIR(target.st_mode)) {
            if (S_ISLNK(own.st_mode))
                skip(SkippedEntry::Reason::LinkToFolder);
            else if (::faccessat(dirFd, raw, R_OK | X_OK, 0) != 0)
                skip(SkippedEntry::Reason::Unreadable);
            else
                listing.entries.push_back({name, true, 0, {}, ShownTime::InLocalTime});
        } else if (!S_ISREG(target.st_mode)) {
            skip(SkippedEntry::Reason::Special);
        } else if (::faccessat(dirFd, raw, R_OK, 0) != 0) {
            skip(SkippedEntry::Reason::Unreadable);
        } else {
            const qint64 milliseconds = qint64(target.st_mtim.tv_sec) * 1000 + target.st_mtim.tv_nsec / 1'000'000;
            listing.entries.push_back({name, false, qint64(target.st_size),
                                       QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC), ShownTime::InLocalTime});
        }
    }
    ::closedir(dir);
    return listing;
}

// One server folder (ending in '/'), every entry.
FolderListing listTreeFolder(FtpService &ftp, FtpHandle connection, const QString &folder)
{
    const ServerFolderListing server = listServerFolder(ftp, connection, folder);
    FolderListing listing;
    for (const FindData &record : server.entries)
        listing.entries.push_back(
            {record.name, record.isFolder(), record.size, record.lastWriteTime, shownTimeOf(record.lastWriteKind)});
    if (server.error != 0)
        listing.failure = server.error == ftp::ERROR_INTERNET_OPERATION_CANCELLED ? CollectionFailure::Cancelled
                                                                                  : CollectionFailure::ListingFailed;
    return listing;
}

// "/pub/photos/" or "/home/u/photos": the folder that holds it ("/pub/",
// "/home/u/") and its name.
std::pair<QString, QString> splitFolder(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    const qsizetype slash = folder.lastIndexOf(u'/');
    return {folder.left(slash + 1), folder.mid(slash + 1)};
}

} // namespace

FolderCollection collectLocalFolder(const QString &folder, const QString &remoteFolder)
{
    const auto [parent, name] = splitFolder(folder);
    FolderCollection collection;
    collection.batch = TransferBatch(TransferDirection::Upload, parent, remoteFolder);
    TreeWalk(collection, parent, [&collection, base = parent](const QString &relative) {
        return listLocalFolder(base + relative, collection.skipped);
    }).collect(name);
    return collection;
}

FolderCollection collectRemoteFolder(FtpService &ftp, FtpHandle connection, const QString &folder,
                                     const QString &localFolder)
{
    const auto [parent, name] = splitFolder(folder);
    FolderCollection collection;
    collection.batch = TransferBatch(TransferDirection::Download, localFolder, parent);
    TreeWalk(collection, parent, [&ftp, connection, base = parent](const QString &relative) {
        return listTreeFolder(ftp, connection, base + relative);
    }).collect(name);
    return collection;
}

} // namespace vendrel
