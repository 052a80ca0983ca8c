#include "VsftpdServer.h"

#include "session/Connection.h"
#include "session/TransferOptions.h"
#include "session/ftp/CurlFtpService.h"
#include "session/ftp/FtpErrorCodes.h"
#include "session/tls/TrustOnFirstUse.h"
#include "support/Prerequisite.h"
#include "support/SessionHarness.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

using namespace Qt::StringLiterals;

namespace vendrel::test {
namespace {

const QString host = u"127.0.0.1"_s;
const QString user = QString::fromLatin1(VsftpdServer::user);
const QString password = QString::fromLatin1(VsftpdServer::password());
const GuardedAnswer trustOnce{true, false};
const GuardedAnswer trustAlways{true, true};
const GuardedAnswer cancel{false, false};

class FtpsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VENDREL_REQUIRE_PREREQUISITE(VsftpdServer::missingPrerequisite())
        server = std::make_unique<VsftpdServer>();
    }
    void TearDown() override
    {
        if (HasFailure() && server)
            std::cerr << "vsftpd's log:\n" << server->log().toStdString();
    }

    void start(VsftpdServer::Tls tls)
    {
        port = server->start(tls);
        ASSERT_NE(port, 0) << server->failureReason().toStdString();
    }

    // A new service each time, as a new run of the program: nothing but the
    // trust file is shared.
    FtpHandle connect(quint32 security)
    {
        ftp = std::make_unique<CurlFtpService>(CurlFtpOptions{}, nullptr, &trust);
        const FtpHandle internet = ftp->InternetOpen(u"test"_s, ftp::INTERNET_OPEN_TYPE_DIRECT, {}, {}, 0);
        return ftp->InternetConnect(internet, host, port, user, password, ftp::INTERNET_SERVICE_FTP,
                                    ftp::INTERNET_FLAG_PASSIVE | security, 0);
    }

    qsizetype loginsSent() const { return server->log().count("\"USER "); }

    std::unique_ptr<VsftpdServer> server;
    quint16 port = 0;
    TempFolder profiles;
    FakeDialogs dialogs;
    TrustOnFirstUse trust{TrustedCertificates(TrustedCertificates::fileIn(profiles.path())), dialogs};
    std::unique_ptr<CurlFtpService> ftp;
};

// A changed certificate is refused by default, before any login.
TEST_F(FtpsTest, AnUnknownCertificateIsAskedForUntilTrustedAlwaysAndAChangedOneIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(start(VsftpdServer::Tls::Explicit));
    dialogs.answerGuardedNext(trustOnce);
    dialogs.answerGuardedNext(trustAlways);
    const FtpHandle first = connect(ftp::INTERNET_FLAG_SECURE);
    ASSERT_NE(first, 0u) << ftp->lastError().description.toStdString();
    EXPECT_EQ(ftp->FtpGetSecurityProtocol(first), u"TLS 1.3"_s);
    ASSERT_NE(connect(ftp::INTERNET_FLAG_SECURE), 0u);
    ASSERT_NE(connect(ftp::INTERNET_FLAG_SECURE), 0u);
    ASSERT_EQ(dialogs.guardedQuestions.size(), 2); // trusted once is not remembered; always is
    const QString trusted = server->certificateFingerprint();
    EXPECT_EQ(dialogs.guardedQuestions.first().title, u"Certificat inconnu"_s);
    EXPECT_TRUE(dialogs.guardedQuestions.first().text.contains(trusted));
    EXPECT_TRUE(dialogs.guardedQuestions.first().text.contains(u"127.0.0.1:"_s + QString::number(port)));
    EXPECT_EQ(QFile::permissions(TrustedCertificates::fileIn(profiles.path())),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);

    ASSERT_TRUE(server->makeCertificate());
    ASSERT_NO_FATAL_FAILURE(start(VsftpdServer::Tls::Explicit));
    dialogs.answerGuardedNext(cancel);
    EXPECT_EQ(connect(ftp::INTERNET_FLAG_SECURE), 0u);
    EXPECT_EQ(ftp->lastError().code, ftp::ERROR_INTERNET_INVALID_CA);
    ASSERT_EQ(dialogs.guardedQuestions.size(), 3);
    const GuardedQuestion &changed = dialogs.guardedQuestions.last();
    EXPECT_EQ(changed.title, u"Certificat changé !"_s);
    EXPECT_TRUE(changed.text.contains(trusted) && changed.text.contains(server->certificateFingerprint()));
    EXPECT_EQ(loginsSent(), 3); // the first three connections' only
    EXPECT_EQ(
        TrustedCertificates(TrustedCertificates::fileIn(profiles.path())).fingerprint(host, port).toHex(':').toUpper(),
        trusted.toLatin1());
}

// The certificate trusted is the only one the connection takes: a new
// control connection that meets another one stops before its login.
TEST_F(FtpsTest, ACertificateChangedDuringTheSessionIsNeverUsed)
{
    ASSERT_NO_FATAL_FAILURE(start(VsftpdServer::Tls::Implicit));
    dialogs.answerGuardedNext(trustOnce);
    const FtpHandle connection = connect(ftp::FTP_FLAG_IMPLICIT_TLS);
    ASSERT_NE(connection, 0u);
    ASSERT_TRUE(server->makeCertificate());
    ASSERT_NO_FATAL_FAILURE(start(VsftpdServer::Tls::Implicit));

    // Dropping a transfer closes the control connection, which the old server kept.
    ftp->AbortTransfer(ftp->FtpOpenFile(connection, u"/x"_s, ftp::GENERIC_WRITE, ftp::FTP_TRANSFER_TYPE_BINARY, 0));
    EXPECT_FALSE(ftp->FtpCreateDirectory(connection, u"/dossier"_s));
    EXPECT_EQ(ftp->lastError().code, ftp::ERROR_INTERNET_INVALID_CA);
    EXPECT_EQ(loginsSent(), 1);
    EXPECT_FALSE(QDir(server->root()).exists(u"dossier"_s));
}

// The whole connect procedure names what went wrong, and what was agreed.
TEST_F(FtpsTest, TlsAgainstAPlainServerSendsNoLoginAndTheConnectProcedureLogsTheSecurity)
{
    ASSERT_NO_FATAL_FAILURE(start(VsftpdServer::Tls::None));
    EXPECT_EQ(connect(ftp::INTERNET_FLAG_SECURE), 0u);
    EXPECT_EQ(ftp->lastError().code, ftp::ERROR_FTP_TLS_UNAVAILABLE);
    EXPECT_EQ(loginsSent(), 0);
    EXPECT_TRUE(dialogs.guardedQuestions.isEmpty());

    ASSERT_NO_FATAL_FAILURE(start(VsftpdServer::Tls::Explicit));
    CurlFtpService curl(CurlFtpOptions{}, nullptr, &trust);
    SessionHarness harness(&curl);
    TransferOptions options(harness.session, true, true);
    Connection connection(harness.context(), options,
                          ConnectTargets{[] {}, [](const QString &) {}, [](const QString &) {}});
    ConnectParameters parameters{u"Site"_s, host, user, password, QString::number(port), profiles.path()};

    EXPECT_EQ(connection.ConnectProfile(parameters, [] {}), ConnectOutcome::Hidden);
    ASSERT_EQ(harness.dialogs.messages.size(), 1);
    EXPECT_TRUE(harness.dialogs.messages.first().text.contains(u"FTPS"_s));
    EXPECT_TRUE(harness.txtInfo.toPlainText().contains(u"FTPS"_s));

    dialogs.answerGuardedNext(trustOnce);
    parameters.security = FtpSecurity::ExplicitTls;
    EXPECT_EQ(connection.ConnectProfile(parameters, [] {}), ConnectOutcome::Unload);
    EXPECT_TRUE(harness.txtInfo.toPlainText().contains(u" > Connexion sécurisée (TLS 1.3).\n"_s));
}

class FtpsTransferTest : public FtpsTest, public ::testing::WithParamInterface<VsftpdServer::Tls> {};

TEST_P(FtpsTransferTest, FilesGoBothWaysOverTlsByteForByte)
{
    ASSERT_NO_FATAL_FAILURE(start(GetParam()));
    dialogs.answerGuardedNext(trustOnce);
    const FtpHandle connection =
        connect(GetParam() == VsftpdServer::Tls::Implicit ? ftp::FTP_FLAG_IMPLICIT_TLS : ftp::INTERNET_FLAG_SECURE);
    ASSERT_NE(connection, 0u) << ftp->lastError().description.toStdString();

    const QByteArray sent = randomBytes(3 * 1024 * 1024 + 7);
    const FtpHandle upload =
        ftp->FtpOpenFile(connection, u"/up.bin"_s, ftp::GENERIC_WRITE, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    quint32 written = 0;
    ASSERT_TRUE(ftp->InternetWriteFile(upload, sent.constData(), quint32(sent.size()), written));
    ASSERT_TRUE(ftp->InternetCloseHandle(upload)) << ftp->lastError().description.toStdString();
    const FtpHandle download =
        ftp->FtpOpenFile(connection, u"/up.bin"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    QByteArray received;
    QByteArray block(64 * 1024, Qt::Uninitialized);
    for (quint32 count = 1; count > 0; received.append(block.constData(), count))
        ASSERT_TRUE(ftp->InternetReadFile(download, block.data(), quint32(block.size()), count));
    EXPECT_TRUE(ftp->InternetCloseHandle(download));
    EXPECT_TRUE(received == sent);

    // A transfer dropped midway takes the control connection with it: the
    // next call logs in again on the certificate trusted, asking nothing.
    const FtpHandle dropped =
        ftp->FtpOpenFile(connection, u"/up.bin"_s, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0);
    quint32 count = 0;
    ASSERT_TRUE(ftp->InternetReadFile(dropped, block.data(), 1024, count));
    EXPECT_TRUE(ftp->AbortTransfer(dropped));
    EXPECT_TRUE(ftp->FtpDeleteFile(connection, u"/up.bin"_s));
    EXPECT_TRUE(QDir(server->root()).isEmpty());
    EXPECT_EQ(dialogs.guardedQuestions.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(ExplicitAndImplicit, FtpsTransferTest,
                         ::testing::Values(VsftpdServer::Tls::Explicit, VsftpdServer::Tls::Implicit));

} // namespace
} // namespace vendrel::test
