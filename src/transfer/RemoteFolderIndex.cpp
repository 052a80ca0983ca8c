#include "transfer/RemoteFolderIndex.h"

#include "platform/Paths.h"
#include "session/SessionState.h"
#include "session/ftp/ServerFolderListing.h"

namespace vendrel {

std::optional<FindData> RemoteFolderIndex::entry(const QString &path)
{
    const Entries &entries = folderOf(path);
    const auto found = entries.constFind(namePartOf(path));
    if (found == entries.cend())
        return std::nullopt;
    return *found;
}

void RemoteFolderIndex::stored(const QString &path, qint64 size)
{
    FindData record;
    record.name = namePartOf(path);
    record.size = size;
    record.lastWriteTime = QDateTime::currentDateTimeUtc();
    record.lastWriteKind = ServerTime::Utc;
    folderOf(path).insert(record.name, record);
}

RemoteFolderIndex::Entries &RemoteFolderIndex::folderOf(const QString &path)
{
    const QString folder = folderPartOf(path);
    auto known = folders_.find(folder);
    if (known == folders_.end())
        known = folders_.insert(folder, list(folder));
    return *known;
}

// A folder that cannot be listed gives no entries: its files go as new ones.
RemoteFolderIndex::Entries RemoteFolderIndex::list(const QString &folder)
{
    Entries entries;
    for (const FindData &record : listServerFolder(context_.ftp, context_.session.ConnectionHandle, folder).entries)
        entries.insert(record.name, record);
    return entries;
}

} // namespace vendrel
