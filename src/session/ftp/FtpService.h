#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace vendrel {

// A session, connection, find or file of the FTP service; 0 is "none" or a failure.
using FtpHandle = quint32;

namespace ftp {
constexpr quint32 INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr quint32 INTERNET_SERVICE_FTP = 1;
constexpr quint32 INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000;
constexpr quint32 INTERNET_FLAG_PASSIVE = 0x08000000;
constexpr quint32 INTERNET_FLAG_EXISTING_CONNECT = 0x20000000;
// TLS on the control and data connections, asked for with AUTH TLS
// (explicit FTPS); never falls back to plain text.
constexpr quint32 INTERNET_FLAG_SECURE = 0x00800000;
// Vendrel's own: TLS from the first byte (implicit FTPS, port 990).
constexpr quint32 FTP_FLAG_IMPLICIT_TLS = 0x00000100;
constexpr quint32 INTERNET_FLAG_RELOAD = 0x80000000;
constexpr quint32 GENERIC_READ = 0x80000000;
constexpr quint32 GENERIC_WRITE = 0x40000000;
constexpr quint32 FTP_TRANSFER_TYPE_ASCII = 1;
constexpr quint32 FTP_TRANSFER_TYPE_BINARY = 2;
constexpr quint32 FILE_ATTRIBUTE_DIRECTORY = 16;
constexpr int MAX_PATH = 260;
} // namespace ftp

// How a connection is protected.
enum class FtpSecurity : quint8 {
    Plain,       // FTP: everything in clear
    ExplicitTls, // FTPS explicit: AUTH TLS before the login
    ImplicitTls, // FTPS implicit: TLS from the first byte
};

constexpr quint32 securityFlags(FtpSecurity security)
{
    switch (security) {
    case FtpSecurity::ExplicitTls: return ftp::INTERNET_FLAG_SECURE;
    case FtpSecurity::ImplicitTls: return ftp::FTP_FLAG_IMPLICIT_TLS;
    case FtpSecurity::Plain: break;
    }
    return 0;
}

constexpr FtpSecurity securityOf(quint32 flags)
{
    if ((flags & ftp::FTP_FLAG_IMPLICIT_TLS) != 0)
        return FtpSecurity::ImplicitTls;
    return (flags & ftp::INTERNET_FLAG_SECURE) != 0 ? FtpSecurity::ExplicitTls : FtpSecurity::Plain;
}

// What a listing's time says. MLSD names an instant in UTC, so it can be shown
// in the user's zone; LIST writes the server's own clock in a zone it never
// names, so it can only be shown as written; old Unix entries give no time of day.
enum class ServerTime : quint8 {
    AsWritten, // calendar fields of the server's clock
    Utc,       // an instant
    DateOnly,  // the day alone; the time fields are midnight, so dates still sort
};

// One entry of a server folder, as the listing calls hand it out.
struct FindData {
    quint32 attributes = 0;  // FILE_ATTRIBUTE_DIRECTORY for a folder
    QDateTime lastWriteTime; // calendar fields as the server gave them (held as Qt::UTC, never shifted)
    qint64 size = 0;         // bytes
    QString name;            // never empty, ".", "..", nor holding '/' or '\'
    ServerTime lastWriteKind = ServerTime::AsWritten; // how to read lastWriteTime

    bool isFolder() const { return (attributes & ftp::FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// Why the last call on this service failed; lets a caller tell the end of a
// file from a broken transfer. Not shown to users.
struct FtpError {
    int code = 0; // 0 = the last call succeeded
    QString description;
};

// The FTP service: the handle-based calls the application was designed
// around, with their arguments and flag values. Every call blocks its caller
// until the server has answered, a deadline has passed or the user has
// cancelled the wait; the user interface keeps repainting meanwhile and
// takes no input that could start another call.
class FtpService {
public:
    virtual ~FtpService() = default;

    virtual FtpHandle InternetOpen(const QString &agent, quint32 accessType, const QString &proxy,
                                   const QString &proxyBypass, quint32 flags) = 0;
    // Connects and logs in; 0 when the server cannot be reached or refuses the login.
    virtual FtpHandle InternetConnect(FtpHandle internet, const QString &serverName, quint16 port,
                                      const QString &userName, const QString &password, quint32 service, quint32 flags,
                                      quintptr context) = 0;
    // The TLS version agreed on a secure connection ("TLS 1.3"); empty for a
    // plain one.
    virtual QString FtpGetSecurityProtocol(FtpHandle /*connection*/) { return {}; }
    // The server's current folder at login.
    virtual bool FtpGetCurrentDirectory(FtpHandle connection, QString &currentDirectory) = 0;

    // searchSpec is a folder and a file pattern: "/pub/*.*". Fills record with
    // the first entry; 0 when nothing matches or the listing failed.
    virtual FtpHandle FtpFindFirstFile(FtpHandle connection, const QString &searchSpec, FindData &record, quint32 flags,
                                       quintptr context) = 0;
    virtual bool InternetFindNextFile(FtpHandle find, FindData &record) = 0;

    // access is GENERIC_READ or GENERIC_WRITE; flags the transfer type.
    virtual FtpHandle FtpOpenFile(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                                  quintptr context) = 0;
    // Goes on with a file from offset: reading skips its first offset bytes
    // (REST); writing appends to the server's file, which then holds offset
    // bytes (APPE). An offset of 0 is FtpOpenFile.
    virtual FtpHandle FtpOpenFileAt(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                                    qint64 offset) = 0;
    // Fills the buffer fully until the end of the file, then less, then 0
    // bytes with true. A broken transfer returns false with bytesRead 0.
    virtual bool InternetReadFile(FtpHandle file, char *buffer, quint32 bytesToRead, quint32 &bytesRead) = 0;
    virtual bool InternetWriteFile(FtpHandle file, const char *buffer, quint32 bytesToWrite, quint32 &bytesWritten) = 0;
    // The size the server announced for a file opened for reading in binary,
    // once it has been read to its end; false when it announced none.
    virtual bool FtpGetFileSize(FtpHandle file, qint64 &size) = 0;
    // The size of a remote file as the server states it now; false when it
    // does not say.
    virtual bool FtpGetRemoteFileSize(FtpHandle connection, const QString &path, qint64 &size) = 0;

    // A file's modification time as the server states it (MDTM), in UTC.
    virtual bool FtpGetFileTime(FtpHandle connection, const QString &path, QDateTime &modified) = 0;
    // Sets a file's modification time (MFMT); false, with nothing sent, when
    // the server does not offer it.
    virtual bool FtpSetFileTime(FtpHandle connection, const QString &path, const QDateTime &modified) = 0;

    virtual bool FtpCreateDirectory(FtpHandle connection, const QString &path) = 0;
    virtual bool FtpRemoveDirectory(FtpHandle connection, const QString &path) = 0;
    virtual bool FtpDeleteFile(FtpHandle connection, const QString &path) = 0;
    virtual bool FtpRenameFile(FtpHandle connection, const QString &existing, const QString &renamed) = 0;

    // Closing a file opened for writing completes the upload: false when the
    // server did not take the whole file. Closing 0 is allowed and does nothing.
    virtual bool InternetCloseHandle(FtpHandle handle) = 0;
    // Drops the transfer of an open file at once and closes its handle; an
    // upload is left unfinished, and the server may keep what it received.
    // Allowed from an event handled while a read or write on that file
    // waits: that call then fails.
    virtual bool AbortTransfer(FtpHandle file) = 0;

    virtual FtpError lastError() const = 0;
};

} // namespace vendrel
