#include "transfer/RemoteFolderIndex.h"

#include "session/SessionState.h"
#include "session/ftp/ServerFolderListing.h"

namespace vendrel {

namespace {

QString parentOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

QString nameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace

std::optional<FindData> RemoteFolderIndex::entry(const QString &path)
{
    const Entries &entries = folderOf(path);
    const auto found = entries.constFind(nameOf(path));
    if (found == entries.cend())
        return std::nullopt;
    return *found;
}

void RemoteFolderIndex::stored(const QString &path, qint64 size)
{
    FindData record;
    record.name = nameOf(path);
    record.size = size;
    record.lastWriteTime = QDateTime::currentDateTimeUtc();
    record.lastWriteKind = ServerTime::Utc;
    folderOf(path).insert(record.name, record);
}

QString RemoteFolderIndex::withSlash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

RemoteFolderIndex::Entries &RemoteFolderIndex::folderOf(const QString &path)
{
    const QString folder = parentOf(path);
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
