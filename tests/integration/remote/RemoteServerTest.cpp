#include "session/Connection.h"
#include "support/Prerequisite.h"
#include "session/TransferOptions.h"
#include "session/ftp/CurlFtpService.h"
#include "support/LocalFtpServer.h"
#include "support/RemotePaneHarness.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

// The server pane's commands through libcurl against pyftpdlib on loopback;
// each test checks the served folder afterwards.
struct RemoteServerTest : ::testing::Test {
    void SetUp() override
    {
        VENDREL_REQUIRE_PREREQUISITE(test::LocalFtpServer::missingPrerequisite())
        ASSERT_TRUE(server.start()) << server.failureReason().toStdString();
        files().createFile(QStringLiteral("pub/a.txt"), "alpha");
        files().createFile(QStringLiteral("pub/b.txt"), "beta");
        files().createFile(QStringLiteral("pub/c.txt"), "gamma");
        files().createDir(QStringLiteral("pub/full"));
        files().createFile(QStringLiteral("pub/full/inside.txt"), "x");
        ASSERT_TRUE(pane.connectTo(server.port(), QString::fromUtf8(test::LocalFtpServer::user),
                                   QString::fromUtf8(test::LocalFtpServer::password)));
        pane.browser.openInitialFolder(QStringLiteral("/pub/"));
    }

    test::TempFolder &files() { return server.files(); }
    bool onServer(const QString &relative) { return files().exists(relative); }
    void select(const QStringList &names)
    {
        for (int i = 0; i < names.size(); ++i)
            pane.view.selectRow(pane.rowOf(names.at(i)), i > 0);
    }

    test::LocalFtpServer server;
    CurlFtpService curl;
    test::RemotePaneHarness pane{&curl};
};

TEST_F(RemoteServerTest, RenamesWithAndWithoutAnExtensionChange)
{
    pane.operations.ListView2_AfterLabelEdit(pane.rowOf(QStringLiteral("a.txt")), QStringLiteral("renommé.txt"));
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.ListView2_AfterLabelEdit(pane.rowOf(QStringLiteral("b.txt")), QStringLiteral("b.log"));
    EXPECT_TRUE(onServer(QStringLiteral("pub/renommé.txt")));
    EXPECT_TRUE(onServer(QStringLiteral("pub/b.log")));
    EXPECT_FALSE(onServer(QStringLiteral("pub/a.txt")));
    EXPECT_EQ(files().read(QStringLiteral("pub/renommé.txt")), "alpha");
    EXPECT_TRUE(pane.rowNames().contains(QStringLiteral("renommé.txt")));
    EXPECT_EQ(pane.dialogs.messageTexts(),
              QStringList{QStringLiteral("Etes vous sur de changer l'extension du fichier: \"txt\" to: \"log\"")});
}

TEST_F(RemoteServerTest, RenamingOntoAMissingFileFails)
{
    files().createFile(QStringLiteral("pub/gone.txt"));
    pane.browser.zRemRef_Click();
    QFile::remove(files().filePath(QStringLiteral("pub/gone.txt")));
    pane.operations.ListView2_AfterLabelEdit(pane.rowOf(QStringLiteral("gone.txt")), QStringLiteral("x.txt"));
    EXPECT_EQ(pane.dialogs.messageTexts(), QStringList{QStringLiteral("Ne peut accomplir la demande")});
    EXPECT_FALSE(onServer(QStringLiteral("pub/x.txt")));
}

TEST_F(RemoteServerTest, ANonEmptyFolderIsRefusedByTheServerAndAnEmptyOneGoes)
{
    pane.browser.TView1_NodeClick();
    pane.clickNode(QStringLiteral("/pub/full/"));
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.zRemDF_Click();
    EXPECT_EQ(pane.dialogs.messageTexts().last(),
              QStringLiteral("Erreur! Etes vous sur que le dossier ne contienne pas de fichiers ?"));
    EXPECT_TRUE(onServer(QStringLiteral("pub/full")));

    QFile::remove(files().filePath(QStringLiteral("pub/full/inside.txt")));
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.zRemDF_Click();
    EXPECT_FALSE(onServer(QStringLiteral("pub/full")));
    EXPECT_EQ(RemoteTree::keyOf(pane.treeWidget.currentItem()), QStringLiteral("/pub/"));
    EXPECT_EQ(pane.tree.nodeByKey(QStringLiteral("/pub/full/")), nullptr);
}

TEST_F(RemoteServerTest, DeletingThreeFilesStopsWhereTheServerRefuses)
{
    pane.operations.ListView2_ColumnClick(FileListModel::Name);
    pane.operations.ListView2_ColumnClick(FileListModel::Name); // a, b, c
    select({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    QFile::remove(files().filePath(QStringLiteral("pub/b.txt"))); // gone behind the list's back
    pane.dialogs.answerNext(MessageAnswer::Yes);
    pane.operations.zRemDS_Click();
    EXPECT_FALSE(onServer(QStringLiteral("pub/a.txt")));
    EXPECT_TRUE(onServer(QStringLiteral("pub/c.txt")));
    EXPECT_EQ(pane.dialogs.messageTexts().last(), QStringLiteral("Erreur rencontrée lors de la suppression du fichier !"));
    EXPECT_EQ(pane.rowNames(), QStringList{QStringLiteral("c.txt")});
}

TEST_F(RemoteServerTest, CreatingAnExistingFolderFailsAndANewOneAppears)
{
    pane.browser.TView1_NodeClick();
    pane.dialogs.typeNext(QStringLiteral("full"));
    pane.operations.zRemNF_Click();
    EXPECT_EQ(pane.dialogs.messageTexts(), QStringList{QStringLiteral("Erreur rencontrée lors de la création du nouveau dossier!")});
    pane.dialogs.typeNext(QStringLiteral("Été 2026"));
    pane.operations.zRemNF_Click();
    EXPECT_TRUE(QFileInfo(files().filePath(QStringLiteral("pub/Été 2026"))).isDir());
    EXPECT_NE(pane.tree.nodeByKey(QStringLiteral("/pub/Été 2026/")), nullptr);
}

TEST_F(RemoteServerTest, NamesWithBlanksAccentsAndUrlCharactersWorkEverywhere)
{
    pane.browser.TView1_NodeClick();
    for (const char *name : {"dossier #1", "100% sûr", "quoi?"}) {
        const QString folder = QString::fromUtf8(name);
        pane.dialogs.typeNext(folder);
        pane.operations.zRemNF_Click();
        ASSERT_TRUE(QFileInfo(files().filePath(QStringLiteral("pub/") + folder)).isDir()) << name;
        files().createFile(QStringLiteral("pub/") + folder + QStringLiteral("/f #%?.txt"), "data");
        pane.clickNode(QStringLiteral("/pub/") + folder + u'/');
        ASSERT_EQ(pane.rowNames(), QStringList{QStringLiteral("f #%?.txt")}) << name;
        pane.operations.ListView2_AfterLabelEdit(0, QStringLiteral("g #%?.txt"));
        EXPECT_TRUE(onServer(QStringLiteral("pub/") + folder + QStringLiteral("/g #%?.txt"))) << name;
        pane.view.selectRow(0);
        pane.dialogs.answerNext(MessageAnswer::Yes);
        pane.operations.zRemDS_Click();
        EXPECT_FALSE(onServer(QStringLiteral("pub/") + folder + QStringLiteral("/g #%?.txt"))) << name;
        pane.dialogs.answerNext(MessageAnswer::Yes);
        pane.operations.zRemDF_Click();
        EXPECT_FALSE(onServer(QStringLiteral("pub/") + folder)) << name;
    }
    EXPECT_TRUE(pane.dialogs.messageTexts().filter(QStringLiteral("Erreur")).isEmpty()) << pane.dialogs.messageTexts().join(u'|').toStdString();
}

TEST_F(RemoteServerTest, AFilterListsOnlyMatchingFilesButKeepsTheFolders)
{
    files().createFile(QStringLiteral("pub/d.zip"), "z");
    pane.browser.TView1_NodeClick();
    pane.dialogs.typeNext(QStringLiteral("*.ZIP"));
    pane.browser.zDefine2_Click();
    EXPECT_EQ(pane.rowNames(), QStringList{QStringLiteral("d.zip")});
    EXPECT_NE(pane.tree.nodeByKey(QStringLiteral("/pub/full/")), nullptr);
}

// "Anonyme" as the dialog sends it: a standard server lets it in to read.
TEST_F(RemoteServerTest, AnAnonymousConnectIsLetInAndListsTheServer)
{
    TransferOptions options{pane.session, true, false};
    Connection connection{pane.context(), options,
                          ConnectTargets{[this] { pane.browser.clearPane(); },
                                         [this](const QString &folder) { pane.browser.openInitialFolder(folder); },
                                         [](const QString &) {}}};
    const ConnectParameters anonymous{.siteName = QStringLiteral("Public"),
                                      .server = QStringLiteral("127.0.0.1"),
                                      .user = QStringLiteral("anonyme"),
                                      .password = {},
                                      .port = QString::number(server.port()),
                                      .initialLocalFolder = QDir::tempPath(),
                                      .anonymous = true};
    EXPECT_EQ(connection.ConnectProfile(anonymous, [] {}), ConnectOutcome::Unload);
    EXPECT_TRUE(pane.session.isConnected());
    EXPECT_NE(pane.tree.nodeByKey(QStringLiteral("/pub/")), nullptr);
    EXPECT_EQ(pane.label3.text(), QStringLiteral("/*.*"));
    EXPECT_TRUE(server.commandLog().contains("USER 'anonymous' logged in"));
}

} // namespace
} // namespace vendrel
