#include "support/FakeFtpService.h"

#include "platform/WildcardPattern.h"
#include "session/ftp/FtpErrorCodes.h"

#include <algorithm>
#include <cstring>

namespace vendrel::test {

namespace {

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/', path.endsWith(u'/') ? -2 : -1);
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

QString n(quint64 value)
{
    return QString::number(value);
}

} // namespace

QString hex(quint32 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

FakeFtpService::FakeFtpService()
{
    folders_.insert(QStringLiteral("/"));
}

void FakeFtpService::addFolder(const QString &path)
{
    const QString folder = withoutTrailingSlash(path);
    if (folder != u"/")
        addFolder(parentOf(folder));
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
    QStringList texts;
    for (const FtpCall &call : calls)
        texts.append(call.text());
    return texts;
}

QStringList FakeFtpService::callNames() const
{
    QStringList names;
    for (const FtpCall &call : calls)
        names.append(call.name);
    return names;
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

void FakeFtpService::tick()
{
    if (clock_ != nullptr)
        clock_->advance(millisecondsPerBlock_);
    if (++blocks_ == hookBlock_ && hook_)
        hook_();
}

FtpHandle FakeFtpService::newHandle()
{
    openHandles.insert(nextHandle_);
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
    if (fails(__func__, {n(internet), serverName, n(port), userName, password, n(service), hex(flags), n(context)})
        || !openHandles.contains(internet))
        return 0;
    const FtpHandle connection = newHandle();
    connections_.insert(connection);
    return connection;
}

bool FakeFtpService::FtpGetCurrentDirectory(FtpHandle connection, QString &currentDirectory)
{
    if (fails(__func__, {n(connection)}) || !isConnection(connection))
        return false;
    currentDirectory = currentDirectory_;
    return true;
}

// The pattern picks files; folders always come, so a filtered folder can still be left.
std::vector<FindData> FakeFtpService::entriesOf(const QString &folder, const QString &pattern) const
{
    const WildcardPattern wildcard(pattern);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    const auto nameIn = [&prefix](const QString &path) {
        const QString name = path.mid(prefix.size());
        return path.startsWith(prefix) && !name.isEmpty() && !name.contains(u'/') ? name : QString();
    };
    QStringList subFolders;
    for (const QString &path : folders_)
        subFolders.append(nameIn(path));
    subFolders.removeAll(QString());
    subFolders.sort();
    std::vector<FindData> entries;
    for (const QString &name : subFolders)
        entries.push_back({ftp::FILE_ATTRIBUTE_DIRECTORY, QDateTime(QDate(2006, 1, 1), QTime(0, 0), Qt::UTC), 0, name});
    for (auto file = files_.cbegin(); file != files_.cend(); ++file) {
        const QString name = nameIn(file.key());
        if (!name.isEmpty() && wildcard.matches(name))
            entries.push_back({0, file->modified, file->content.size(), name, file->modifiedKind});
    }
    return entries;
}

FtpHandle FakeFtpService::FtpFindFirstFile(FtpHandle connection, const QString &searchSpec, FindData &record,
                                           quint32 flags, quintptr context)
{
    if (fails(__func__, {n(connection), searchSpec, hex(flags), n(context)}) || !isConnection(connection))
        return 0;
    const qsizetype slash = searchSpec.lastIndexOf(u'/');
    const QString folder = withoutTrailingSlash(searchSpec.left(slash + 1));
    if (!folders_.contains(folder)) {
        error_ = {ftp::ERROR_INTERNET_EXTENDED_ERROR, QStringLiteral("550 No such directory.")};
        return 0;
    }
    std::vector<FindData> entries = entriesOf(folder, searchSpec.mid(slash + 1));
    if (entries.empty()) {
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
    calls.append({QStringLiteral("InternetFindNextFile"), {n(find)}});
    auto entries = finds_.find(find);
    if (entries == finds_.end() || entries->empty())
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
    if (!isConnection(connection) || (writing ? !folders_.contains(parentOf(path)) : !files_.contains(path))
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
    tick();
    auto open = openFiles_.find(file);
    if (fails(__func__, {n(file), n(bytesToRead)}) || open == openFiles_.end() || open->writing)
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
    tick();
    auto open = openFiles_.find(file);
    if (fails(__func__, {n(file), n(bytesToWrite)}) || open == openFiles_.end() || !open->writing)
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
    if (fails(__func__, {n(connection), path}) || !isConnection(connection) || !files_.contains(path))
        return false;
    size = files_.value(path).content.size();
    return true;
}

bool FakeFtpService::FtpGetFileTime(FtpHandle connection, const QString &path, QDateTime &modified)
{
    if (fails(__func__, {n(connection), path}) || !isConnection(connection) || !files_.contains(path))
        return false;
    modified = files_.value(path).modified;
    return true;
}

bool FakeFtpService::FtpSetFileTime(FtpHandle connection, const QString &path, const QDateTime &modified)
{
    if (!offersFileTimes_ || fails(__func__, {n(connection), path, modified.toUTC().toString(Qt::ISODate)})
        || !isConnection(connection) || !files_.contains(path))
        return false;
    files_[path].modified = modified.toUTC();
    return true;
}

bool FakeFtpService::FtpCreateDirectory(FtpHandle connection, const QString &path)
{
    const QString folder = withoutTrailingSlash(path);
    if (fails(__func__, {n(connection), path}) || !isConnection(connection) || folders_.contains(folder)
        || files_.contains(folder) || !folders_.contains(parentOf(folder)))
        return false;
    folders_.insert(folder);
    return true;
}

bool FakeFtpService::FtpRemoveDirectory(FtpHandle connection, const QString &path)
{
    const QString folder = withoutTrailingSlash(path);
    if (fails(__func__, {n(connection), path}) || !isConnection(connection) || !folders_.contains(folder)
        || folder == u"/" || !entriesOf(folder, QStringLiteral("*")).empty())
        return false;
    folders_.remove(folder);
    return true;
}

bool FakeFtpService::FtpDeleteFile(FtpHandle connection, const QString &path)
{
    return !fails(__func__, {n(connection), path}) && isConnection(connection) && files_.remove(path) > 0;
}

bool FakeFtpService::FtpRenameFile(FtpHandle connection, const QString &existing, const QString &renamed)
{
    if (fails(__func__, {n(connection), existing, renamed}) || !isConnection(connection) || !files_.contains(existing)
        || files_.contains(renamed) || folders_.contains(renamed))
        return false;
    files_.insert(renamed, files_.take(existing));
    return true;
}

bool FakeFtpService::InternetCloseHandle(FtpHandle handle)
{
    calls.append({QStringLiteral("InternetCloseHandle"), {n(handle)}});
    if (!openHandles.remove(handle))
        return false;
    connections_.remove(handle);
    finds_.remove(handle);
    storeUpload(openFiles_.take(handle));
    return true;
}

bool FakeFtpService::AbortTransfer(FtpHandle file)
{
    calls.append({QStringLiteral("AbortTransfer"), {n(file)}});
    if (!openFiles_.contains(file))
        return false;
    openHandles.remove(file);
    storeUpload(openFiles_.take(file));
    return true;
}

void FakeFtpService::storeUpload(const OpenFile &open)
{
    if (open.writing)
        files_.insert(open.path, {open.written, QDateTime(QDate(2026, 12, 5), QTime(14, 7), Qt::UTC)});
}

} // namespace vendrel::test
