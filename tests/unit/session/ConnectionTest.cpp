#include "session/Connection.h"
#include "session/ServerHost.h"
#include "session/TransferOptions.h"
#include "support/SessionHarness.h"
#include "support/TempFolder.h"

#include <QTextCursor>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct ConnectionTest : test::SessionHarness, ::testing::Test {
    ConnectParameters parameters() const
    {
        return {u"Mon site"_s, u"10.0.0.5"_s, u"anonyme"_s, u"x@y"_s, u"21"_s, localFolder.path(), true, true};
    }
    ConnectOutcome connect(const ConnectParameters &p)
    {
        return connection.ConnectProfile(p, [this] { ++hides; });
    }

    // Host, port, user and password of every InternetConnect, one line each.
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
                          ConnectTargets{[this] { events.append(u"clear pane"_s); },
                                         [this](const QString &folder) { events.append(u"open remote "_s + folder); },
                                         [this](const QString &folder) { events.append(u"open local "_s + folder); }}};
};

TEST_F(ConnectionTest, ASuccessfulConnectMakesItsCallsAndOpensBothFolders)
{
    ftp.setCurrentDirectory(u"/home/vendrel"_s);
    EXPECT_EQ(connect(parameters()), ConnectOutcome::Unload);
    EXPECT_EQ(ftp.callTexts(), (QStringList{u"InternetOpen(Mon site, 1, , , 0x04000000)"_s,
                                            u"InternetConnect(16, 10.0.0.5, 21, anonyme, x@y, 1, 0x08000000, 0)"_s,
                                            u"FtpGetCurrentDirectory(17)"_s}));
    EXPECT_EQ(events,
              (QStringList{u"clear pane"_s, u"open remote /home/vendrel/"_s, u"open local "_s + localFolder.path()}));
    EXPECT_EQ(session.RemoteSearchSpec, u"/home/vendrel/*.*"_s);
    EXPECT_TRUE(log.text().startsWith(u"05/12/2026, 14:07:33 *** MON SITE ***\r\n"_s));
    EXPECT_EQ(hides, 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    EXPECT_EQ(Connection::remoteFolderFromLogin(QString()), u"/"_s);
    EXPECT_EQ(Connection::remoteFolderFromLogin(u"C:\\ftp"_s), u"/"_s);
}

TEST_F(ConnectionTest, TheConnectOptionsSetTheFlagsTheTypeAndTheMenuMarks)
{
    ConnectParameters p = parameters();
    p.binary = false;
    p.passive = false;
    options.zPassive_Click();
    connect(p);
    EXPECT_EQ(ftp.calls.at(1).arguments.at(6), test::hex(ftp::INTERNET_FLAG_EXISTING_CONNECT));
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    EXPECT_FALSE(options.binaryMarked());
    EXPECT_FALSE(options.passiveMarked());

    options.zBinary_Click();
    options.zBinary_Click();
    EXPECT_EQ(session.TransferType, ftp::FTP_TRANSFER_TYPE_BINARY) << "choosing the checked type changes nothing";
    EXPECT_TRUE(options.binaryMarked());
    options.zPassive_Click();
    EXPECT_TRUE(options.passiveMarked());
}

TEST_F(ConnectionTest, AnyHostNameOrAddressIsTakenAndNothingElse)
{
    const std::pair<QString, QString> accepted[] = {
        {u"nas"_s, u"nas"_s},
        {u" ftp.fr "_s, u"ftp.fr"_s},
        {u"ftp.fr."_s, u"ftp.fr."_s},
        {u"mon_nas.local"_s, u"mon_nas.local"_s},
        {u"bücher.example"_s, u"bücher.example"_s},
        {u"1.2.3.4"_s, u"1.2.3.4"_s},
        {u"::1"_s, u"::1"_s},
        {u"[2001:db8::7]"_s, u"2001:db8::7"_s},
    };
    for (const auto &[typed, host] : accepted)
        EXPECT_EQ(hostToConnect(typed), host) << typed.toStdString();
    for (const char *refused : {"", "  ", "ftp fr", "ftp.fr/pub", "moi@ftp.fr", "ftp.fr:21", "1.2.3.", "256.1.1.1",
                                "[nas]", "[::1", "-nas", "a..b", "::g"})
        EXPECT_FALSE(hostToConnect(QString::fromLatin1(refused))) << refused;

    ConnectParameters p = parameters();
    p.anonymous = false;
    p.server = u" [::1] "_s;
    EXPECT_EQ(connect(p), ConnectOutcome::Unload);
    p.anonymous = true;
    p.password.clear();
    connect(p);
    // A password typed goes as the anonymous user's e-mail address, as the custom is.
    EXPECT_EQ(logins(), (QStringList{u"::1 21 anonyme x@y"_s, u"::1 21 anonymous anonymous@"_s}));
}

TEST_F(ConnectionTest, ABadAddressOrPortIsRefusedBeforeAnythingChanges)
{
    log.AppendUntimedLine(u"earlier"_s);
    ConnectParameters p = parameters();
    p.server = u"1.2.3."_s;
    EXPECT_EQ(connect(p), ConnectOutcome::StayOpen);
    for (const char *port : {"0", "65536", "abc", "", "-21"}) {
        p = parameters();
        p.port = QString::fromLatin1(port);
        EXPECT_EQ(connect(p), ConnectOutcome::StayOpen) << port;
    }
    EXPECT_EQ(dialogs.messages.size(), 6);
    EXPECT_EQ(dialogs.messages.at(1).text, u"Port erroné ! Entrez un nombre de 1 à 65535."_s);
    EXPECT_TRUE(ftp.calls.isEmpty());
    EXPECT_EQ(log.text(), u"earlier\r\n"_s);
    EXPECT_EQ(hides, 0);
    p.port = u"65535"_s;
    EXPECT_EQ(connect(p), ConnectOutcome::Unload);
}

// A login folder with control characters would make every listing fail.
TEST_F(ConnectionTest, AFailedOpenLoginOrLoginFolderClosesEveryHandleAndSaysSo)
{
    const auto failAt = [this](const QString &call, const QString &folder) {
        ftp.failCall(call);
        ftp.setCurrentDirectory(folder);
        EXPECT_EQ(connect(parameters()), ConnectOutcome::Hidden) << call.toStdString();
        EXPECT_FALSE(session.isConnected());
        EXPECT_TRUE(ftp.openHandles.isEmpty());
        EXPECT_FALSE(ftp.callNames().contains(u"FtpFindFirstFile"_s));
        EXPECT_EQ(status.panelText(StatusPanels::ConnectionPanel), u"Off"_s);
    };
    failAt(u"InternetOpen"_s, u"/"_s);
    failAt(u"InternetConnect"_s, u"/"_s);
    failAt(u"nothing"_s, u"/pub\x01\r\nDELE x/"_s);
    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{u"Connexion vers le serveur erronée !"_s, u"Connexion vers le serveur annulée !"_s,
                           u"Dossier du serveur invalide !"_s}));
}

TEST_F(ConnectionTest, AMissingInitialFolderIsReportedAndTheConnectionStays)
{
    ConnectParameters p = parameters();
    p.initialLocalFolder = localFolder.filePath(u"gone"_s);
    EXPECT_EQ(connect(p), ConnectOutcome::Unload);
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(session.isConnected());
    EXPECT_TRUE(events.filter(u"open local"_s).isEmpty());
}

TEST_F(ConnectionTest, ReconnectingClosesTheFirstSessionAndDisconnectingTwiceIsHarmless)
{
    connect(parameters());
    connect(parameters());
    EXPECT_EQ(ftp.openHandles.size(), 2) << "the second session only";
    ftp.calls.clear();
    events.clear();
    connection.zDisconnect_Click();
    connection.zDisconnect_Click();
    EXPECT_EQ(events, QStringList(2, u"clear pane"_s));
    EXPECT_EQ(ftp.callTexts(), (QStringList{u"InternetCloseHandle(19)"_s, u"InternetCloseHandle(18)"_s,
                                            u"InternetCloseHandle(0)"_s, u"InternetCloseHandle(0)"_s}));
    EXPECT_EQ(log.text().count(u"14:07:33 > Déconnexion du Serveur.\r\n"_s), 2);
    EXPECT_FALSE(session.isConnected());
    EXPECT_TRUE(ftp.openHandles.isEmpty());
}

TEST_F(ConnectionTest, ALogLineGoesAtTheEndAndKeepsWhatTheUserSelected)
{
    log.AppendUntimedLine(u"one"_s);
    log.AppendUntimedLine(u"two"_s);
    QTextCursor selection = txtInfo.textCursor();
    selection.setPosition(0);
    selection.setPosition(3, QTextCursor::KeepAnchor); // "one"
    txtInfo.setTextCursor(selection);
    log.AppendUntimedLine(u"new"_s);
    EXPECT_EQ(log.text(), u"one\r\ntwo\r\nnew\r\n"_s);
    EXPECT_EQ(txtInfo.textCursor().selectedText(), u"one"_s);
}

} // namespace
} // namespace vendrel
