#include "session/Connection.h"
#include "session/TransferOptions.h"
#include "session/ftp/CurlFtpService.h"
#include "support/LocalFtpServer.h"
#include "support/PaneHarness.h"
#include "support/Prerequisite.h"

#include <QDir>
#include <gtest/gtest.h>
#include <iostream>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

CurlFtpOptions shortTimeouts()
{
    CurlFtpOptions options;
    options.connectTimeout = std::chrono::milliseconds(2'000);
    options.serverResponseTimeout = std::chrono::seconds(2);
    options.stalledTransferTimeout = std::chrono::seconds(2);
    options.listingLimits = {20'000, 4 * 1024 * 1024}; // a runaway listing ends in a moment
    return options;
}

// The server pane through libcurl against pyftpdlib on loopback, where the
// real server's behaviour matters: what it lets in, what it lists.
struct RemoteServerTest : ::testing::Test {
    void SetUp() override { VENDREL_REQUIRE_PREREQUISITE(test::LocalFtpServer::missingPrerequisite()) }
    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "The server's log:\n" << server.commandLog().toStdString();
    }


    test::LocalFtpServer server;
    CurlFtpService curl{shortTimeouts()};
    test::RemotePaneHarness pane{&curl};
};

// "anonyme" as the dialog sends it: a standard server lets it in to read.
TEST_F(RemoteServerTest, AnAnonymousConnectIsLetInAndListsTheServer)
{
    ASSERT_TRUE(server.start()) << server.failureReason().toStdString();
    server.files().createDir(u"pub"_s);
    TransferOptions options{pane.session, true, false};
    Connection connection{pane.context(), options,
                          ConnectTargets{[this] { pane.browser.clearPane(); },
                                         [this](const QString &folder) { pane.browser.openInitialFolder(folder); },
                                         [](const QString &) {}}};
    const ConnectParameters anonymous{.siteName = u"Public"_s, .server = u"127.0.0.1"_s, .user = u"anonyme"_s,
                                      .password = {}, .port = QString::number(server.port()),
                                      .initialLocalFolder = QDir::tempPath(), .anonymous = true};
    EXPECT_EQ(connection.ConnectProfile(anonymous, [] {}), ConnectOutcome::Unload);
    EXPECT_TRUE(pane.session.isConnected());
    EXPECT_NE(pane.tree.nodeByKey(u"/pub/"_s), nullptr);
    EXPECT_TRUE(server.commandLog().contains("USER 'anonymous' logged in"));
}

TEST_F(RemoteServerTest, AListingWithoutEndFailsPastItsLimitAndTheSessionGoesOn)
{
    for (const bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        test::LocalFtpServer::Options options;
        options.mlsd = mlsd;
        options.endlessListing = u"fast"_s;
        test::LocalFtpServer hostile;
        ASSERT_TRUE(hostile.start(options));
        hostile.files().createDir(u"endless"_s);
        hostile.files().createFile(u"readme.txt"_s);
        test::RemotePaneHarness side{&curl};
        ASSERT_TRUE(side.connectTo(hostile.port(), u"vendrel"_s, u"secret"_s));

        side.browser.openInitialFolder(u"/endless/"_s);
        EXPECT_EQ(side.dialogs.messageTexts(), QStringList{u"Erreur rencontrée lors de la lecture du dossier !"_s});
        EXPECT_EQ(side.files.rowCount(), 0);
        side.browser.openInitialFolder(u"/"_s);
        EXPECT_EQ(side.rowNames(), QStringList{u"readme.txt"_s});
    }
}

// libcurl turns a bare CR of a listing it receives in ASCII mode into a line
// end: "a\rb" would come out as a file "a" that the server does not have.
TEST_F(RemoteServerTest, NamesHoldingABareCarriageReturnAreLeftOutWhole)
{
    for (const bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        test::LocalFtpServer::Options options;
        options.mlsd = mlsd;
        test::LocalFtpServer hostile;
        ASSERT_TRUE(hostile.start(options));
        for (const QString &name : {u"a\rb"_s, u"good.txt"_s, u"c.txt\r"_s})
            hostile.files().createFile(name);
        test::RemotePaneHarness side{&curl};
        ASSERT_TRUE(side.connectTo(hostile.port(), u"vendrel"_s, u"secret"_s));
        side.browser.openInitialFolder(u"/"_s);
        EXPECT_EQ(side.rowNames(), QStringList{u"good.txt"_s});
        EXPECT_TRUE(side.dialogs.messages.isEmpty());
    }
}

} // namespace
} // namespace vendrel
