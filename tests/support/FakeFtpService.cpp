#include "support/FakeFtpService.h"

#include "platform/WildcardPattern.h"
#include "session/ftp/FtpErrorCodes.h"

#include <algorithm>
#include <cstring>

namespace vendrel::test {

namespace {

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

QString parentOf(const QString &path)
{
    const qsizetype slash = withoutTrailingSlash(path).lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

QString n(quint64 value)
{
    return QString::number(value);
}

template <typename Part>
QStringList eachCall(const QList<FtpCall> &calls, Part part)
{
    QStringList parts;
    for (const FtpCall &call : calls)
        parts.append(std::invoke(part, call));
    return parts;
}

} // namespace

QString hex(quint32 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

void FakeFtpService::addFolder(const QString &path)
{
    for (QString folder = withoutTrailingSlash(path); folder != u"/"; folder = parentOf(folder))
        folders_.insert(folder);
}

void FakeFtpService::addFile(const QString &path, const QByteArray &content, const QDateTime &modified,
                             ServerTime modifiedKind)
{
    addFolder(parentOf(path));
    files_.insert(path, {content, modified, modifiedKind});
}

QStringList FakeFtpService::callTexts() const
{
    return eachCall(calls, &FtpCall::text);
}

QStringList FakeFtpService::callNames() const
{
    return eachCall(calls, &FtpCall::name);
}

bool FakeFtpService::fails(const char *function, QStringList arguments)
{
    const QString name = QString::fromLatin1(function);
    calls.append({name, std::move(arguments)});
    error_ = {};
    auto found = failures_.find(name);
    if (found == failures_.end() || found->times == 0 || found->after-- > 0)
        return false;
    --found->times;
    error_ = {ftp::ERROR_INTERNET_EXTENDED_ERROR, QStringLiteral("550 scripted failure of ") + name};
    return true;
}

FakeFtpService::OpenFile *FakeFtpService::block(FtpHandle file, bool writing)
{
    if (clock_ != nullptr)
        clock_->advance(millisecondsPerBlock_);
    if (++blocks_ == hookBlock_ && hook_)
        hook_();
    const auto open = openFiles_.find(file);
    return open == openFiles_.end() || open->writing != writing ? nullptr : &*open;
}

FtpHandle FakeFtpService::newHandle(QSet<FtpHandle> *kind)
{
    openHandles.insert(nextHandle_);
    if (kind != nullptr)
        kind->insert(nextHandle_);
    return nextHandle_++;
}

FtpHandle FakeFtpService::InternetOpen(const QString &agent, quint32 accessType, const QString &proxy,
                                       const QString &proxyBypass, quint32 flags)
{
    return fails(__func__, {agent, n(accessType), proxy, proxyBypass, hex(flags)}) ? 0 : newHandle();
}

FtpHandle FakeFtpService::InternetConnect(FtpHandle internet, const QString &serverName, quint16 port,
                                          const QString &userName, const QString &password, quint32 service,
                                          quint32 flags, quintptr context)
{
    const bool failed =
        fails(__func__, {n(internet), serverName, n(port), userName, password, n(service), hex(flags), n(context)});
    return failed || !openHandles.contains(internet) ? 0 : newHandle(&connections_);
}

bool FakeFtpService::FtpGetCurrentDirectory(FtpHandle connection, QString &currentDirectory)
{
    if (fails(__func__, {n(connection)}) || !connections_.contains(connection))
        return false;
    currentDirectory = currentDirectory_;
    return true;
}

// The pattern picks files; folders always come, so a filtered folder can still be left.
std::vector<FindData> FakeFtpService::entriesOf(const QString &folder, const QString &pattern) const
{
    const WildcardPattern wildcard(pattern);
    const auto inFolder = [&folder](const QString &path) { return path != u"/" && parentOf(path) == folder; };
    const auto nameOf = [](const QString &path) { return path.mid(path.lastIndexOf(u'/') + 1); };
    QStringList subFolders(folders_.cbegin(), folders_.cend());
    subFolders.sort();
    std::vector<FindData> entries;
    for (const QString &path : std::as_const(subFolders)) {
        if (inFolder(path))
            entries.push_back(
                {ftp::FILE_ATTRIBUTE_DIRECTORY, QDateTime(QDate(2006, 1, 1), QTime(), Qt::UTC), 0, nameOf(path)});
    }
    for (auto file = files_.cbegin(); file != files_.cend(); ++file) {
        if (inFolder(file.key()) && wildcard.matches(nameOf(file.key())))
            entries.push_back({0, file->modified, file->content.size(), nameOf(file.key()), file->modifiedKind});
    }
    return entries;
}

FtpHandle FakeFtpService::FtpFindFirstFile(FtpHandle connection, const QString &searchSpec, FindData &record,
                                           quint32 flags, quintptr context)
{
    if (fails(__func__, {n(connection), searchSpec, hex(flags), n(context)}) || !connections_.contains(connection))
        return 0;
    const qsizetype slash = searchSpec.lastIndexOf(u'/');
    const QString folder = withoutTrailingSlash(searchSpec.left(slash + 1));
    std::vector<FindData> entries;
    if (folders_.contains(folder))
        entries = entriesOf(folder, searchSpec.mid(slash + 1));
    else
        error_ = {ftp::ERROR_INTERNET_EXTENDED_ERROR, QStringLiteral("550 No such directory.")};
    if (entries.empty()) {
        if (error_.code == 0)
            error_ = {ftp::ERROR_NO_MORE_FILES, QStringLiteral("no matching entry")};
        return 0;
    }
    std::reverse(entries.begin(), entries.end());
    record = entries.back();
    entries.pop_back();
    const FtpHandle find = newHandle();
    finds_.insert(find, std::move(entries));
    return find;
}

bool FakeFtpService::InternetFindNextFile(FtpHandle find, FindData &record)
{
    auto entries = finds_.find(find);
    if (fails(__func__, {n(find)}) || entries == finds_.end() || entries->empty())
        return false;
    record = entries->back();
    entries->pop_back();
    return true;
}

FtpHandle FakeFtpService::FtpOpenFile(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                                      quintptr context)
{
    if (fails(__func__, {n(connection), path, hex(access), n(flags), n(context)}))
        return 0;
    return openAt(connection, path, access == ftp::GENERIC_WRITE, 0);
}

FtpHandle FakeFtpService::FtpOpenFileAt(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                                        qint64 offset)
{
    if (fails(__func__, {n(connection), path, hex(access), n(flags), QString::number(offset)}))
        return 0;
    return openAt(connection, path, access == ftp::GENERIC_WRITE, offset);
}

FtpHandle FakeFtpService::openAt(FtpHandle connection, const QString &path, bool writing, qint64 offset)
{
    if (!connections_.contains(connection) || (writing ? !folders_.contains(parentOf(path)) : !files_.contains(path))
        || (offset > 0 && files_.value(path).content.size() < offset))
        return 0;
    const FtpHandle file = newHandle();
    // Appending keeps what the server holds, as APPE does.
    openFiles_.insert(file, {path, writing, writing ? 0 : offset, offset > 0 ? files_.value(path).content : QByteArray()});
    return file;
}

bool FakeFtpService::InternetReadFile(FtpHandle file, char *buffer, quint32 bytesToRead, quint32 &bytesRead)
{
    bytesRead = 0;
    OpenFile *open = block(file, false);
    if (fails(__func__, {n(file), n(bytesToRead)}) || open == nullptr)
        return false;
    const QByteArray &content = files_[open->path].content;
    bytesRead = quint32(std::min<qint64>(content.size() - open->position, bytesToRead));
    std::memcpy(buffer, content.constData() + open->position, bytesRead);
    open->position += bytesRead;
    return true;
}

bool FakeFtpService::InternetWriteFile(FtpHandle file, const char *buffer, quint32 bytesToWrite, quint32 &bytesWritten)
{
    bytesWritten = 0;
    OpenFile *open = block(file, true);
    if (fails(__func__, {n(file), n(bytesToWrite)}) || open == nullptr)
        return false;
    open->written.append(buffer, bytesToWrite);
    bytesWritten = bytesToWrite;
    return true;
}

bool FakeFtpService::FtpGetFileSize(FtpHandle file, qint64 &size)
{
    const auto open = openFiles_.constFind(file);
    if (fails(__func__, {n(file)}) || open == openFiles_.cend() || open->writing)
        return false;
    size = announcedSizes_.value(open->path, files_.value(open->path).content.size());
    return true;
}

bool FakeFtpService::FtpGetRemoteFileSize(FtpHandle connection, const QString &path, qint64 &size)
{
    if (fails(__func__, {n(connection), path}) || !connections_.contains(connection) || !files_.contains(path))
        return false;
    size = files_.value(path).content.size();
    return true;
}

bool FakeFtpService::FtpGetFileTime(FtpHandle connection, const QString &path, QDateTime &modified)
{
    if (fails(__func__, {n(connection), path}) || !connections_.contains(connection) || !files_.contains(path))
        return false;
    modified = files_.value(path).modified;
    return true;
}

bool FakeFtpService::FtpSetFileTime(FtpHandle connection, const QString &path, const QDateTime &modified)
{
    if (!offersFileTimes_ || fails(__func__, {n(connection), path, modified.toUTC().toString(Qt::ISODate)})
        || !connections_.contains(connection) || !files_.contains(path))
        return false;
    files_[path].modified = modified.toUTC();
    return true;
}

bool FakeFtpService::FtpCreateDirectory(FtpHandle connection, const QString &path)
{
    const QString folder = withoutTrailingSlash(path);
    if (fails(__func__, {n(connection), path}) || !connections_.contains(connection) || folders_.contains(folder)
        || files_.contains(folder) || !folders_.contains(parentOf(folder)))
        return false;
    folders_.insert(folder);
    return true;
}

bool FakeFtpService::FtpRemoveDirectory(FtpHandle connection, const QString &path)
{
    const QString folder = withoutTrailingSlash(path);
    return !fails(__func__, {n(connection), path}) && connections_.contains(connection) && folder != u"/"
           && entriesOf(folder, QStringLiteral("*")).empty() && folders_.remove(folder);
}

bool FakeFtpService::FtpDeleteFile(FtpHandle connection, const QString &path)
{
    return !fails(__func__, {n(connection), path}) && connections_.contains(connection) && files_.remove(path) > 0;
}

bool FakeFtpService::FtpRenameFile(FtpHandle connection, const QString &existing, const QString &renamed)
{
    if (fails(__func__, {n(connection), existing, renamed}) || !connections_.contains(connection)
        || !files_.contains(existing) || files_.contains(renamed) || folders_.contains(renamed))
        return false;
    files_.insert(renamed, files_.take(existing));
    return true;
}

bool FakeFtpService::InternetCloseHandle(FtpHandle handle)
{
    return !fails(__func__, {n(handle)}) && closeHandle(handle);
}

// Like a real server, keeps what an aborted upload sent so far.
bool FakeFtpService::AbortTransfer(FtpHandle file)
{
    return !fails(__func__, {n(file)}) && openFiles_.contains(file) && closeHandle(file);
}

bool FakeFtpService::closeHandle(FtpHandle handle)
{
    if (!openHandles.remove(handle))
        return false;
    connections_.remove(handle);
    finds_.remove(handle);
    const OpenFile open = openFiles_.take(handle);
    if (open.writing)
        files_.insert(open.path, {open.written, QDateTime(QDate(2026, 12, 5), QTime(14, 7), Qt::UTC)});
    return true;
}

} // namespace vendrel::test
