#pragma once

#include "session/ftp/CurlFtpOptions.h"
#include "session/ftp/FtpHandleTable.h"
#include "session/ftp/FtpService.h"
#include "session/ftp/ServerCertificate.h"
#include "session/ftp/WaitObserver.h"

namespace vendrel {

// The FTP service over libcurl. Each connection logs in once, at
// InternetConnect, and keeps its control connection on a worker thread of its
// own; the calls block their caller as the interface says, while the wait
// observer handles the caller's events at least every 10 ms and may cancel
// the call. Closing a connection, or destroying the service, stops its thread.
class CurlFtpService final : public FtpService {
public:
    // Without an observer, waits show nothing and take no input; without a
    // trust, only certificates the system's authorities vouch for are taken.
    explicit CurlFtpService(CurlFtpOptions options = {}, WaitObserver *observer = nullptr,
                            CertificateTrust *trust = nullptr);
    ~CurlFtpService() override;

    FtpHandle InternetOpen(const QString &agent, quint32 accessType, const QString &proxy, const QString &proxyBypass,
                           quint32 flags) override;
    FtpHandle InternetConnect(FtpHandle internet, const QString &serverName, quint16 port, const QString &userName,
                              const QString &password, quint32 service, quint32 flags, quintptr context) override;
    QString FtpGetSecurityProtocol(FtpHandle connection) override;
    bool FtpGetCurrentDirectory(FtpHandle connection, QString &currentDirectory) override;

    FtpHandle FtpFindFirstFile(FtpHandle connection, const QString &searchSpec, FindData &record, quint32 flags,
                               quintptr context) override;
    bool InternetFindNextFile(FtpHandle find, FindData &record) override;

    FtpHandle FtpOpenFile(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                          quintptr context) override;
    FtpHandle FtpOpenFileAt(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                            qint64 offset) override;
    bool InternetReadFile(FtpHandle file, char *buffer, quint32 bytesToRead, quint32 &bytesRead) override;
    bool InternetWriteFile(FtpHandle file, const char *buffer, quint32 bytesToWrite, quint32 &bytesWritten) override;
    bool FtpGetFileSize(FtpHandle file, qint64 &size) override;
    bool FtpGetRemoteFileSize(FtpHandle connection, const QString &path, qint64 &size) override;

    bool FtpGetFileTime(FtpHandle connection, const QString &path, QDateTime &modified) override;
    bool FtpSetFileTime(FtpHandle connection, const QString &path, const QDateTime &modified) override;
    bool FtpCreateDirectory(FtpHandle connection, const QString &path) override;
    bool FtpRemoveDirectory(FtpHandle connection, const QString &path) override;
    bool FtpDeleteFile(FtpHandle connection, const QString &path) override;
    bool FtpRenameFile(FtpHandle connection, const QString &existing, const QString &renamed) override;

    bool InternetCloseHandle(FtpHandle handle) override;
    bool AbortTransfer(FtpHandle file) override;

    FtpError lastError() const override { return lastError_; }

private:
    std::shared_ptr<FtpConnection> connectionOf(FtpHandle connection);
    bool succeeded();
    bool failed(int code, const QString &description);
    bool failedOn(const FtpConnection &connection);

    CurlFtpOptions options_;
    WaitObserver headless_;
    WaitObserver &observer_;
    struct RefuseAll final : CertificateTrust {
        bool trusts(const ServerCertificate &) override { return false; }
    } refuseAll_;
    CertificateTrust &trust_;
    FtpHandleTable handles_;
    FtpError lastError_;
};

} // namespace vendrel
