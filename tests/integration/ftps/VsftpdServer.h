#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace vendrel::test {

// vsftpd on 127.0.0.1, serving a temporary folder to a system user, with a
// certificate made for the test. vsftpd needs root and a system account:
// the server makes the account when it is missing. It dies with the test
// process.
class VsftpdServer {
public:
    enum class Tls {
        None,     // plain FTP only
        Explicit, // AUTH TLS, demanded for logins and data
        Implicit, // TLS from the first byte
    };

    static constexpr char user[] = "vendrelftp";
    // Drawn for each run: the system account must not open to a known password.
    static const QByteArray &password();

    // Why vsftpd cannot run here; nothing when it can.
    static std::optional<QString> missingPrerequisite();

    VsftpdServer();
    ~VsftpdServer() { stop(); }
    VsftpdServer(const VsftpdServer &) = delete;
    VsftpdServer &operator=(const VsftpdServer &) = delete;

    // The port it listens on, the same at every start; 0 when it did not
    // start (failureReason says why).
    quint16 start(Tls tls);
    QString failureReason() const { return failure_; }
    // The server's certificate becomes another one; takes effect at the next start.
    bool makeCertificate();
    // As openssl x509 -fingerprint -sha256 prints it.
    QString certificateFingerprint() const;

    // The folder the user logs in to.
    QString root() const { return path(QStringLiteral("root")); }
    // Every command and reply the server logged.
    QByteArray log() const;

private:
    void stop();
    QString path(const QString &name) const { return folder_.filePath(name); }

    QTemporaryDir folder_;
    QProcess process_;
    QString failure_;
    quint16 port_ = 0;
};

} // namespace vendrel::test
