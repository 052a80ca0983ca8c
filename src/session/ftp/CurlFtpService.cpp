#include "session/ftp/CurlFtpService.h"

#include "session/ftp/FtpConnection.h"
#include "session/ftp/FtpErrorCodes.h"

#include <malloc.h>

namespace vendrel {

namespace {

void abortConnections(const std::vector<HandleObject> &objects)
{
    for (const HandleObject &object : objects) {
        if (const auto *connection = std::get_if<ConnectionHandleObject>(&object))
            connection->connection->abort();
    }
}

} // namespace

CurlFtpService::CurlFtpService(CurlFtpOptions options, WaitObserver *observer, CertificateTrust *trust)
    : options_(options),
      observer_(observer != nullptr ? *observer : headless_),
      trust_(trust != nullptr ? *trust : refuseAll_)
{
}

CurlFtpService::~CurlFtpService()
{
    abortConnections(handles_.takeAll());
}

FtpHandle CurlFtpService::InternetOpen(const QString &, quint32, const QString &, const QString &, quint32)
{
    succeeded();
    return handles_.add(InternetSession{});
}

FtpHandle CurlFtpService::InternetConnect(FtpHandle internet, const QString &serverName, quint16 port,
                                          const QString &userName, const QString &password, quint32 service,
                                          quint32 flags, quintptr)
{
    if (!handles_.find<InternetSession>(internet))
        return failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not an Internet session handle"));
    if (service != ftp::INTERNET_SERVICE_FTP)
        return failed(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("only FTP is served"));
    const FtpEndpoint endpoint{serverName,       port, userName, password, (flags & ftp::INTERNET_FLAG_PASSIVE) != 0,
                               securityOf(flags)};
    auto connection = std::make_shared<FtpConnection>(endpoint, options_, observer_, trust_);
    if (!connection->login())
        return failedOn(*connection);
    const FtpHandle handle = handles_.add(ConnectionHandleObject{connection}, internet);
    if (handle == 0)
        return failed(ftp::ERROR_INTERNET_OPERATION_CANCELLED, QStringLiteral("the session was closed"));
    succeeded();
    return handle;
}

QString CurlFtpService::FtpGetSecurityProtocol(FtpHandle connection)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    if (!open)
        return {};
    succeeded();
    return open->securityProtocol();
}

bool CurlFtpService::FtpGetCurrentDirectory(FtpHandle connection, QString &currentDirectory)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    if (!open)
        return false;
    currentDirectory = open->entryPath();
    return succeeded();
}

FtpHandle CurlFtpService::FtpFindFirstFile(FtpHandle connection, const QString &searchSpec, FindData &record, quint32,
                                           quintptr)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    if (!open)
        return 0;
    std::optional<std::vector<FindData>> entries = open->list(searchSpec);
    if (!entries)
        return failedOn(*open);
    if (entries->empty())
        return failed(ftp::ERROR_NO_MORE_FILES, QStringLiteral("no entry matches"));
    record = entries->front();
    const FtpHandle find = handles_.add(FindHandleObject{std::move(*entries), 1}, connection);
    if (find == 0)
        return failed(ftp::ERROR_INTERNET_OPERATION_CANCELLED, QStringLiteral("the connection was closed"));
    succeeded();
    return find;
}

bool CurlFtpService::InternetFindNextFile(FtpHandle find, FindData &record)
{
    FindHandleObject *open = handles_.find<FindHandleObject>(find);
    if (!open)
        return failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not a find handle"));
    if (open->next == open->entries.size())
        return failed(ftp::ERROR_NO_MORE_FILES, QStringLiteral("no more entries"));
    record = open->entries[open->next++];
    return succeeded();
}

FtpHandle CurlFtpService::FtpOpenFile(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                                      quintptr)
{
    return FtpOpenFileAt(connection, path, access, flags, 0);
}

FtpHandle CurlFtpService::FtpOpenFileAt(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                                        qint64 offset)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    if (!open)
        return 0;
    if (access != ftp::GENERIC_READ && access != ftp::GENERIC_WRITE)
        return failed(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("access is GENERIC_READ or GENERIC_WRITE"));
    const bool ascii = (flags & 3) == ftp::FTP_TRANSFER_TYPE_ASCII;
    const auto direction = access == ftp::GENERIC_READ ? FtpConnection::Access::Read : FtpConnection::Access::Write;
    if (offset < 0)
        return failed(ftp::ERROR_INVALID_PARAMETER, QStringLiteral("a negative offset"));
    if (!open->openFile(path, direction, ascii, offset))
        return failedOn(*open);
    const FtpHandle file = handles_.add(FileHandleObject{open}, connection);
    if (file == 0) {
        open->closeFile();
        return failed(ftp::ERROR_INTERNET_OPERATION_CANCELLED, QStringLiteral("the connection was closed"));
    }
    succeeded();
    return file;
}

bool CurlFtpService::InternetReadFile(FtpHandle file, char *buffer, quint32 bytesToRead, quint32 &bytesRead)
{
    bytesRead = 0;
    const FileHandleObject *open = handles_.find<FileHandleObject>(file);
    if (!open)
        return failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not a file handle"));
    const std::shared_ptr<FtpConnection> connection = open->connection;
    return connection->read(buffer, bytesToRead, bytesRead) ? succeeded() : failedOn(*connection);
}

bool CurlFtpService::InternetWriteFile(FtpHandle file, const char *buffer, quint32 bytesToWrite, quint32 &bytesWritten)
{
    bytesWritten = 0;
    const FileHandleObject *open = handles_.find<FileHandleObject>(file);
    if (!open)
        return failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not a file handle"));
    const std::shared_ptr<FtpConnection> connection = open->connection;
    if (!connection->write(buffer, bytesToWrite))
        return failedOn(*connection);
    bytesWritten = bytesToWrite;
    return succeeded();
}

bool CurlFtpService::FtpGetFileSize(FtpHandle file, qint64 &size)
{
    const FileHandleObject *open = handles_.find<FileHandleObject>(file);
    if (!open)
        return failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not a file handle"));
    return open->connection->announcedSize(size)
               ? succeeded()
               : failed(ftp::ERROR_INTERNET_EXTENDED_ERROR, QStringLiteral("Le serveur n'a pas annoncé de taille."));
}

bool CurlFtpService::FtpGetRemoteFileSize(FtpHandle connection, const QString &path, qint64 &size)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    return open && (open->fileSize(path, size) ? succeeded() : failedOn(*open));
}

bool CurlFtpService::FtpGetFileTime(FtpHandle connection, const QString &path, QDateTime &modified)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    return open && (open->modificationTime(path, modified) ? succeeded() : failedOn(*open));
}

bool CurlFtpService::FtpSetFileTime(FtpHandle connection, const QString &path, const QDateTime &modified)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    return open && (open->setModificationTime(path, modified) ? succeeded() : failedOn(*open));
}

bool CurlFtpService::FtpCreateDirectory(FtpHandle connection, const QString &path)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    return open && (open->createDirectory(path) ? succeeded() : failedOn(*open));
}

bool CurlFtpService::FtpRemoveDirectory(FtpHandle connection, const QString &path)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    return open && (open->removeDirectory(path) ? succeeded() : failedOn(*open));
}

bool CurlFtpService::FtpDeleteFile(FtpHandle connection, const QString &path)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    return open && (open->deleteFile(path) ? succeeded() : failedOn(*open));
}

bool CurlFtpService::FtpRenameFile(FtpHandle connection, const QString &existing, const QString &renamed)
{
    const std::shared_ptr<FtpConnection> open = connectionOf(connection);
    return open && (open->renameFile(existing, renamed) ? succeeded() : failedOn(*open));
}

bool CurlFtpService::InternetCloseHandle(FtpHandle handle)
{
    std::vector<HandleObject> closed = handles_.take(handle);
    if (closed.empty())
        return failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not an open handle"));
    // A file closed on its own completes its transfer; closed with its
    // connection, it goes down with it.
    if (const auto *file = std::get_if<FileHandleObject>(&closed.front())) {
        const std::shared_ptr<FtpConnection> connection = file->connection;
        return connection->closeFile() ? succeeded() : failedOn(*connection);
    }
    if (std::holds_alternative<FindHandleObject>(closed.front())) {
        // A big listing was built on the worker thread's heap: give that memory
        // back now rather than keep it for the program's whole life.
        closed.clear();
        malloc_trim(0);
        return succeeded();
    }
    abortConnections(closed);
    return succeeded();
}

bool CurlFtpService::AbortTransfer(FtpHandle file)
{
    if (!handles_.find<FileHandleObject>(file))
        return failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not a file handle"));
    const std::vector<HandleObject> closed = handles_.take(file);
    std::get<FileHandleObject>(closed.front()).connection->abortFile();
    return succeeded();
}

std::shared_ptr<FtpConnection> CurlFtpService::connectionOf(FtpHandle connection)
{
    const ConnectionHandleObject *open = handles_.find<ConnectionHandleObject>(connection);
    if (!open) {
        failed(ftp::ERROR_INVALID_HANDLE, QStringLiteral("not a connection handle"));
        return nullptr;
    }
    return open->connection;
}

bool CurlFtpService::succeeded()
{
    lastError_ = {};
    return true;
}

bool CurlFtpService::failed(int code, const QString &description)
{
    lastError_ = {code, description};
    return false;
}

bool CurlFtpService::failedOn(const FtpConnection &connection)
{
    lastError_ = connection.lastError();
    return false;
}

} // namespace vendrel
