#include "session/Connection.h"
#include "session/TransferOptions.h"
#include "session/ftp/CurlFtpService.h"
#include "support/LocalFtpServer.h"
#include "support/PaneHarness.h"
#include "support/Prerequisite.h"

#include <QDir>
#include <QFileInfo>
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

// The server pane's commands through libcurl against pyftpdlib on loopback;
// each test checks the served folder afterwards.
struct RemoteServerTest : ::testing::Test {
    void SetUp() override { VENDREL_REQUIRE_PREREQUISITE(test::LocalFtpServer::missingPrerequisite()) }
    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "The server's log:\n" << server.commandLog().toStdString();
    }

    void open(const test::LocalFtpServer::Options &options = {})
    {
        ASSERT_TRUE(server.start(options)) << server.failureReason().toStdString();
        files().createFile(u"pub/a.txt"_s, "alpha");
        files().createFile(u"pub/b.txt"_s, "beta");
        files().createFile(u"pub/c.txt"_s, "gamma");
        files().createFile(u"pub/full/inside.txt"_s, "x");
        ASSERT_TRUE(pane.connectTo(server.port(), u"vendrel"_s, u"secret"_s));
        pane.browser.openInitialFolder(u"/pub/"_s);
    }
    test::TempFolder &files() { return server.files(); }

    test::LocalFtpServer server;
    CurlFtpService curl{shortTimeouts()};
    test::RemotePaneHarness pane{&curl};
};

TEST_F(RemoteServerTest, RenamesHappenOnTheServerAndOneOfAVanishedFileFails)
{
    open();
    pane.operations.ListView2_AfterLabelEdit(pane.rowOf(u"a.txt"_s), u"renommé.txt"_s);
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.ListView2_AfterLabelEdit(pane.rowOf(u"b.txt"_s), u"b.log"_s);
    EXPECT_EQ(files().read(u"pub/renommé.txt"_s), "alpha");
    EXPECT_TRUE(files().exists(u"pub/b.log"_s));
    EXPECT_FALSE(files().exists(u"pub/a.txt"_s));
    EXPECT_TRUE(pane.rowNames().contains(u"renommé.txt"_s));

    QFile::remove(files().filePath(u"pub/c.txt"_s)); // behind the list's back
    pane.operations.ListView2_AfterLabelEdit(pane.rowOf(u"c.txt"_s), u"x.txt"_s);
    EXPECT_EQ(pane.dialogs.messages.size(), 2);
    EXPECT_FALSE(files().exists(u"pub/x.txt"_s));
}

TEST_F(RemoteServerTest, FoldersComeAndGoAsTheServerAllows)
{
    open();
    pane.browser.TView1_NodeClick();
    pane.dialogs.typeNext(u"full"_s);
    pane.operations.zRemNF_Click();
    pane.dialogs.typeNext(u"Été 2026"_s);
    pane.operations.zRemNF_Click();
    EXPECT_TRUE(QFileInfo(files().filePath(u"pub/Été 2026"_s)).isDir());
    EXPECT_NE(pane.tree.nodeByKey(u"/pub/Été 2026/"_s), nullptr);

    pane.clickNode(u"/pub/full/"_s);
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.zRemDF_Click();
    EXPECT_TRUE(files().exists(u"pub/full"_s)) << "not empty";
    QFile::remove(files().filePath(u"pub/full/inside.txt"_s));
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.zRemDF_Click();
    EXPECT_FALSE(files().exists(u"pub/full"_s));
    EXPECT_EQ(RemoteTree::keyOf(pane.treeWidget.currentItem()), u"/pub/"_s);
    EXPECT_EQ(pane.dialogs.messages.size(), 4) << "two refusals and two questions";
}

TEST_F(RemoteServerTest, DeletingThreeFilesStopsWhereTheServerRefuses)
{
    open();
    pane.operations.ListView2_ColumnClick(FileListModel::Name);
    pane.operations.ListView2_ColumnClick(FileListModel::Name); // a, b, c
    for (int row = 0; row < 3; ++row)
        pane.view.selectRow(row, row > 0);
    QFile::remove(files().filePath(u"pub/b.txt"_s));
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.zRemDS_Click();
    EXPECT_FALSE(files().exists(u"pub/a.txt"_s));
    EXPECT_TRUE(files().exists(u"pub/c.txt"_s));
    EXPECT_EQ(pane.rowNames(), QStringList{u"c.txt"_s});
}

// "anonyme" as the dialog sends it: a standard server lets it in to read.
TEST_F(RemoteServerTest, AnAnonymousConnectIsLetInAndListsTheServer)
{
    open();
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
