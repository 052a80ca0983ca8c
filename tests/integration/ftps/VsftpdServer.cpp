#include "VsftpdServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace vendrel::test {

namespace {

// Its output when it succeeds.
std::optional<QByteArray> run(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30'000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool ensureUser()
{
    if (getpwnam(VsftpdServer::user) == nullptr
        && !run(u"useradd"_s, {u"-M"_s, u"-d"_s, u"/nonexistent"_s, u"-s"_s, u"/bin/bash"_s,
                               QString::fromLatin1(VsftpdServer::user)}))
        return false;
    return run(u"chpasswd"_s, {}, QByteArray(VsftpdServer::user) + ':' + VsftpdServer::password() + '\n').has_value();
}

// Connects to the port, or binds it when it is 0: returns the port reached or bound, 0 on failure.
quint16 probe(quint16 port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    auto *generic = reinterpret_cast<sockaddr *>(&address);
    socklen_t length = sizeof address;
    const bool done = port != 0 ? ::connect(socket, generic, length) == 0
                                : bind(socket, generic, length) == 0 && getsockname(socket, generic, &length) == 0;
    close(socket);
    return done ? ntohs(address.sin_port) : 0;
}

QByteArray configuration(VsftpdServer::Tls tls, quint16 port, const QString &folder, const QString &root)
{
    QString text =
        u"listen=YES\nlisten_address=127.0.0.1\nlisten_port=%1\nbackground=NO\n"
        "anonymous_enable=NO\nlocal_enable=YES\nwrite_enable=YES\nchroot_local_user=YES\n"
        "allow_writeable_chroot=YES\nlocal_root=%2\nsecure_chroot_dir=%3\n"
        "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\n"
        "log_ftp_protocol=YES\nxferlog_enable=YES\nxferlog_std_format=NO\nvsftpd_log_file=%3/vsftpd.log\n"_s.arg(
            QString::number(port), root, folder);
    if (tls != VsftpdServer::Tls::None)
        text += u"ssl_enable=YES\nforce_local_logins_ssl=YES\nforce_local_data_ssl=YES\nrequire_ssl_reuse=YES\n"
                "rsa_cert_file=%1/cert.pem\nrsa_private_key_file=%1/key.pem\n"_s.arg(folder);
    if (tls == VsftpdServer::Tls::Implicit)
        text += u"implicit_ssl=YES\n"_s;
    return text.toUtf8();
}

} // namespace

const QByteArray &VsftpdServer::password()
{
    static const QByteArray drawn = QByteArray::number(QRandomGenerator::system()->generate64(), 36)
                                    + QByteArray::number(QRandomGenerator::system()->generate64(), 36);
    return drawn;
}

std::optional<QString> VsftpdServer::missingPrerequisite()
{
    for (const QString &program : {u"vsftpd"_s, u"openssl"_s, u"useradd"_s, u"chpasswd"_s}) {
        if (QStandardPaths::findExecutable(program, {u"/usr/sbin"_s, u"/usr/bin"_s, u"/sbin"_s}).isEmpty()
            && QStandardPaths::findExecutable(program).isEmpty())
            return program + u" is missing (Debian: vsftpd, openssl, passwd)"_s;
    }
    if (geteuid() != 0)
        return u"vsftpd needs root to run and a system user to log in"_s;
    if (!ensureUser())
        return u"the system user %1 could not be made"_s.arg(QString::fromLatin1(user));
    return std::nullopt;
}

VsftpdServer::VsftpdServer()
{
    // vsftpd's user must reach its folder; vsftpd wants the chroot folder owned by root.
    QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                              | QFileDevice::ReadOther | QFileDevice::ExeOther);
    QDir(folder_.path()).mkdir(u"root"_s);
    const passwd *account = getpwnam(user);
    if (account != nullptr && chown(QFile::encodeName(root()).constData(), account->pw_uid, account->pw_gid) != 0)
        failure_ = u"the served folder cannot be given to the user"_s;
    makeCertificate();
}

bool VsftpdServer::makeCertificate()
{
    return run(u"openssl"_s, {u"req"_s, u"-x509"_s, u"-newkey"_s, u"ec"_s, u"-pkeyopt"_s,
                              u"ec_paramgen_curve:prime256v1"_s, u"-nodes"_s, u"-days"_s, u"2"_s, u"-subj"_s,
                              u"/CN=localhost"_s, u"-keyout"_s, path(u"key.pem"_s), u"-out"_s, path(u"cert.pem"_s)})
        .has_value();
}

QString VsftpdServer::certificateFingerprint() const
{
    const QString output = QString::fromLatin1(
        run(u"openssl"_s, {u"x509"_s, u"-noout"_s, u"-fingerprint"_s, u"-sha256"_s, u"-in"_s, path(u"cert.pem"_s)})
            .value_or(QByteArray())
            .trimmed());
    return output.mid(output.indexOf(u'=') + 1);
}

quint16 VsftpdServer::start(Tls tls)
{
    stop();
    // Restarted, it keeps its port: the same host and port, another certificate.
    if (port_ == 0)
        port_ = probe(0); // a port nobody listens on now
    const quint16 port = port_;
    QFile config(path(u"vsftpd.conf"_s));
    if (port == 0 || !config.open(QIODevice::WriteOnly)
        || config.write(configuration(tls, port, folder_.path(), root())) < 0) {
        failure_ = u"no configuration could be written"_s;
        return 0;
    }
    config.close();
    // The server goes with the test process, however that ends.
    process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(u"vsftpd"_s, {config.fileName()});
    const QDeadlineTimer deadline(5'000);
    while (probe(port) == 0) {
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) {
            failure_ = u"vsftpd did not start: "_s + QString::fromLocal8Bit(process_.readAll());
            return 0;
        }
        QThread::msleep(20);
    }
    return port;
}

void VsftpdServer::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished();
}

QByteArray VsftpdServer::log() const
{
    QFile file(folder_.filePath(u"vsftpd.log"_s));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace vendrel::test
