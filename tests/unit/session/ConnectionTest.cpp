#include "session/Connection.h"
#include "session/ServerHost.h"
#include "session/TransferOptions.h"
#include "support/SessionHarness.h"
#include "support/TempFolder.h"

#include <QPlainTextEdit>
#include <QStatusBar>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

using test::hex;

struct ConnectionTest : test::SessionHarness, ::testing::Test {
    ConnectParameters parameters() const
    {
        return {QStringLiteral("Mon site"), QStringLiteral("10.0.0.5"), QStringLiteral("anonyme"),
                QStringLiteral("x@y"), QStringLiteral("21"), localFolder.path(), true, true};
    }

    ConnectOutcome connect(const ConnectParameters &p)
    {
        return connection.ConnectProfile(p, [this] { ++hides; });
    }

    // Host, user and password of every InternetConnect, one line each.
    QStringList logins() const
    {
        QStringList texts;
        for (const test::FtpCall &call : ftp.calls) {
            if (call.name == u"InternetConnect")
                texts.append(call.arguments.mid(1, 4).join(u' '));
        }
        return texts;
    }

    TransferOptions options{session, true, false};
    test::TempFolder localFolder;
    QStringList events;
    int hides = 0;
    Connection connection{context(), options,
                          ConnectTargets{[this] { events.append(QStringLiteral("clear pane")); },
                                         [this](const QString &folder) { events.append(QStringLiteral("open remote ") + folder); },
                                         [this](const QString &folder) { events.append(QStringLiteral("open local ") + folder); }}};
};

TEST_F(ConnectionTest, ASuccessfulConnectLogsEachStepAndOpensBothFolders)
{
    ftp.setCurrentDirectory(QStringLiteral("/"));
    EXPECT_EQ(connect(parameters()), ConnectOutcome::Unload);

    EXPECT_EQ(log.text(), QStringLiteral("05/12/2026, 14:07:33 *** MON SITE ***\r\n"
                                         "14:07:33 > Connexion vers: 10.0.0.5...\r\n"
                                         "14:07:33 > Connexion vers le serveur, attente de l'hôte.\r\n"
                                         "14:07:33 > Connexion vers le serveur.\r\n"));
    EXPECT_EQ(ftp.callTexts(),
              (QStringList{QStringLiteral("InternetOpen(Mon site, 1, , , 0x04000000)"),
                           QStringLiteral("InternetConnect(16, 10.0.0.5, 21, anonyme, x@y, 1, 0x08000000, 0)"),
                           QStringLiteral("FtpGetCurrentDirectory(17)")}));
    EXPECT_EQ(events, (QStringList{QStringLiteral("clear pane"), QStringLiteral("open remote /"),
                                   QStringLiteral("open local ") + localFolder.path()}));
    EXPECT_TRUE(session.isConnected());
    EXPECT_EQ(session.RemoteFolder, QStringLiteral("/"));
    EXPECT_EQ(session.RemoteSearchSpec, QStringLiteral("/*.*"));
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_BINARY);
    EXPECT_EQ(session.ServerPort, 21);
    EXPECT_TRUE(options.passiveMarked());
    EXPECT_EQ(status.panelText(StatusPanels::ConnectionPanel), QStringLiteral("En attente de l'hôte"));
    EXPECT_EQ(hides, 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ConnectionTest, TheServersLoginFolderBecomesTheCurrentFolder)
{
    ftp.setCurrentDirectory(QStringLiteral("/home/vendrel"));
    connect(parameters());
    EXPECT_EQ(session.RemoteFolder, QStringLiteral("/home/vendrel/"));
    EXPECT_EQ(session.RemoteSearchSpec, QStringLiteral("/home/vendrel/*.*"));
    EXPECT_TRUE(events.contains(QStringLiteral("open remote /home/vendrel/")));

    EXPECT_EQ(Connection::remoteFolderFromLogin(QString()), QStringLiteral("/"));
    EXPECT_EQ(Connection::remoteFolderFromLogin(QStringLiteral("C:\\ftp")), QStringLiteral("/"));
    EXPECT_EQ(Connection::remoteFolderFromLogin(QStringLiteral("/pub/")), QStringLiteral("/pub/"));
}

TEST_F(ConnectionTest, ActiveAsciiConnectSetsFlagsTypeAndMarks)
{
    ConnectParameters p = parameters();
    p.binary = false;
    p.passive = false;
    options.zPassive_Click();
    connect(p);
    EXPECT_EQ(ftp.calls.at(1).arguments.at(6), hex(ftp::INTERNET_FLAG_EXISTING_CONNECT));
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    EXPECT_FALSE(options.binaryMarked());
    EXPECT_FALSE(options.passiveMarked());
}

TEST_F(ConnectionTest, AnyHostNameOrAddressIsTakenAndNothingElse)
{
    const std::pair<QString, QString> accepted[] = {
        {QStringLiteral("nas"), QStringLiteral("nas")},
        {QStringLiteral(" ftp.fr "), QStringLiteral("ftp.fr")},
        {QStringLiteral("ftp.fr."), QStringLiteral("ftp.fr.")},
        {QStringLiteral("mon_nas.local"), QStringLiteral("mon_nas.local")},
        {QStringLiteral("bücher.example"), QStringLiteral("bücher.example")},
        {QStringLiteral("1.2.3.4"), QStringLiteral("1.2.3.4")},
        {QStringLiteral("::1"), QStringLiteral("::1")},
        {QStringLiteral("[::1]"), QStringLiteral("::1")},
        {QStringLiteral("[2001:db8::7]"), QStringLiteral("2001:db8::7")},
    };
    for (const auto &[typed, host] : accepted)
        EXPECT_EQ(hostToConnect(typed), host) << typed.toStdString();
    for (const char *refused : {"", "  ", "ftp fr", "ftp.fr/pub", "moi@ftp.fr", "ftp.fr:21", "1.2.3.", "256.1.1.1",
                                "[nas]", "[::1", "-nas", "a..b", "::g"})
        EXPECT_FALSE(hostToConnect(QString::fromLatin1(refused))) << refused;

    // However short, a host reaches the server; brackets do not.
    ConnectParameters p = parameters();
    for (const char *typed : {"nas", " [::1] "}) {
        p.server = QString::fromLatin1(typed);
        EXPECT_EQ(connect(p), ConnectOutcome::Unload);
    }
    EXPECT_EQ(logins(), (QStringList{QStringLiteral("nas 21 anonyme x@y"), QStringLiteral("::1 21 anonyme x@y")}));
}

TEST_F(ConnectionTest, AnonymousLogsInAsTheServersAnonymousUser)
{
    ConnectParameters p = parameters();
    p.anonymous = true;
    connect(p);
    p.password.clear();
    connect(p);
    // A password typed goes as the user's e-mail address, as the custom is.
    EXPECT_EQ(logins(), (QStringList{QStringLiteral("10.0.0.5 21 anonymous x@y"),
                                     QStringLiteral("10.0.0.5 21 anonymous anonymous@")}));
}

TEST_F(ConnectionTest, AnAddressNoHostCanHaveOrABadPortIsRefusedBeforeAnythingChanges)
{
    log.AppendUntimedLine(QStringLiteral("earlier"));
    ConnectParameters p = parameters();
    p.server = QStringLiteral("1.2.3.");
    EXPECT_EQ(connect(p), ConnectOutcome::StayOpen);
    for (const char *port : {"0", "65536", "abc", "", "-21"}) {
        p = parameters();
        p.port = QString::fromLatin1(port);
        EXPECT_EQ(connect(p), ConnectOutcome::StayOpen) << port;
    }
    ASSERT_EQ(dialogs.messages.size(), 6);
    EXPECT_EQ(dialogs.messages.at(0).text, QStringLiteral("Adresse erronée !"));
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::None);
    EXPECT_EQ(dialogs.messages.at(1).text, QStringLiteral("Port erroné ! Entrez un nombre de 1 à 65535."));
    EXPECT_TRUE(ftp.calls.isEmpty());
    EXPECT_EQ(log.text(), QStringLiteral("earlier\r\n"));
    EXPECT_EQ(hides, 0);

    p = parameters();
    p.server = QStringLiteral("1.2.3.4");
    p.port = QStringLiteral("65535");
    EXPECT_EQ(connect(p), ConnectOutcome::Unload);
}

TEST_F(ConnectionTest, ARefusedLoginClosesTheSessionAndSaysSo)
{
    ftp.failCall(QStringLiteral("InternetConnect"));
    EXPECT_EQ(connect(parameters()), ConnectOutcome::Hidden);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Connexion vers le serveur annulée !")});
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::Exclamation);
    EXPECT_TRUE(log.text().endsWith(QStringLiteral("14:07:33 > Connexion vers le serveur annulée.\r\n")));
    EXPECT_EQ(ftp.callNames().last(), QStringLiteral("InternetCloseHandle"));
    EXPECT_TRUE(ftp.openHandles.isEmpty());
    EXPECT_FALSE(session.isConnected());
    EXPECT_EQ(session.ConnectionHandle, 0u);
    EXPECT_EQ(status.panelText(StatusPanels::ConnectionPanel), QStringLiteral("Off"));
    EXPECT_EQ(events, QStringList{QStringLiteral("clear pane")});
}

// Every path is built on it: a folder the server garbled would make every
// listing fail afterwards.
TEST_F(ConnectionTest, ALoginFolderWithControlCharactersEndsTheConnect)
{
    ftp.setCurrentDirectory(QStringLiteral("/pub\x01\r\nDELE x/"));
    EXPECT_EQ(connect(parameters()), ConnectOutcome::Hidden);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Dossier du serveur invalide !")});
    EXPECT_FALSE(session.isConnected());
    EXPECT_TRUE(ftp.openHandles.isEmpty());
    EXPECT_FALSE(ftp.callNames().contains(QStringLiteral("FtpFindFirstFile")));
    EXPECT_EQ(status.panelText(StatusPanels::ConnectionPanel), QStringLiteral("Off"));
}

TEST_F(ConnectionTest, ASessionThatCannotOpenIsLoggedWithoutTime)
{
    ftp.failCall(QStringLiteral("InternetOpen"));
    EXPECT_EQ(connect(parameters()), ConnectOutcome::Hidden);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Connexion vers le serveur erronée !")});
    EXPECT_EQ(log.text(), QStringLiteral("Connexion vers le serveur erronée !\r\n"));
    EXPECT_EQ(ftp.callTexts().last(), QStringLiteral("InternetCloseHandle(0)"));
}

TEST_F(ConnectionTest, AMissingInitialFolderIsReportedAndTheConnectionStays)
{
    ConnectParameters p = parameters();
    p.initialLocalFolder = localFolder.filePath(QStringLiteral("gone"));
    EXPECT_EQ(connect(p), ConnectOutcome::Unload);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.at(0).text,
              QStringLiteral("Le dossier local initial ") + p.initialLocalFolder + QStringLiteral(" n'existe plus !"));
    EXPECT_EQ(dialogs.messages.at(0).title, QStringLiteral("Erreur"));
    EXPECT_TRUE(session.isConnected());
    EXPECT_EQ(events.filter(QStringLiteral("open local")).size(), 0);
}

TEST_F(ConnectionTest, ReconnectingClosesTheFirstSessionFirst)
{
    connect(parameters());
    connect(parameters());
    EXPECT_EQ(ftp.openHandles.size(), 2); // the second session only
    EXPECT_EQ(log.text().count(QStringLiteral("*** MON SITE ***")), 1);
}

TEST_F(ConnectionTest, DisconnectTwiceClosesAndLogsBothTimes)
{
    connect(parameters());
    ftp.calls.clear();
    events.clear();
    connection.zDisconnect_Click();
    connection.zDisconnect_Click();
    EXPECT_EQ(events, QStringList(2, QStringLiteral("clear pane")));
    EXPECT_EQ(status.panelText(StatusPanels::ConnectionPanel), QStringLiteral("Off"));
    EXPECT_EQ(ftp.callTexts(), (QStringList{QStringLiteral("InternetCloseHandle(17)"), QStringLiteral("InternetCloseHandle(16)"),
                                            QStringLiteral("InternetCloseHandle(0)"), QStringLiteral("InternetCloseHandle(0)")}));
    EXPECT_EQ(log.text().count(QStringLiteral("14:07:33 > Déconnexion du Serveur.\r\n")), 2);
    EXPECT_FALSE(session.isConnected());
    EXPECT_TRUE(ftp.openHandles.isEmpty());
}

} // namespace
} // namespace vendrel
