#include "app/CommandTable.h"
#include "app/HelpWindow.h"
#include "app/MainMenus.h"
#include "app/MainToolbar.h"
#include "app/MainWindow.h"
#include "app/frame/ActivityLog.h"
#include "app/frame/StatusPanels.h"
#include "app/icons/Icons.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "remote/RemoteTree.h"
#include "app/connect/FrmConnect.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeDialupService.h"
#include "support/FakeFtpService.h"
#include "support/FakeShell.h"
#include "support/TempFolder.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <stdexcept>

namespace vendrel {
namespace {

struct MainWindowTest : ::testing::Test {
    static void SetUpTestSuite() { initResources(); }

    MainWindowTest() { window.show(); }

    QAction &action(const char *name) { return window.menus().action(QString::fromLatin1(name)); }

    // Answers the connection dialog once it is up, then presses "Connexion".
    void connectThroughTheDialog(const QString &server)
    {
        QTimer::singleShot(0, [server] {
            QWidget *dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            const auto set = [dialog](const char *name, const QString &text) {
                dialog->findChild<QLineEdit *>(QString::fromLatin1(name))->setText(text);
            };
            set("txtSiteName", QStringLiteral("Démo"));
            set("txtServer", server);
            set("txtUser", QStringLiteral("vendrel"));
            set("txtPass", QStringLiteral("secret"));
            set("TextDosInit", QDir::tempPath());
            dialog->findChild<QPushButton *>(QStringLiteral("Command3"))->click();
        });
        window.zConnect_Click();
    }

    QString serverPath() const { return window.findChild<QLabel *>(QStringLiteral("Label3"))->text(); }

    void expectServerPaneEmpty() const
    {
        EXPECT_EQ(window.remoteTree().widget().topLevelItemCount(), 0);
        EXPECT_EQ(window.remoteFiles().rowCount(), 0);
        EXPECT_TRUE(serverPath().isEmpty());
        EXPECT_EQ(window.statusPanels().panelText(StatusPanels::ConnectionPanel), QStringLiteral("Off"));
    }

    test::FakeFtpService ftp;
    test::FakeDialogs dialogs;
    test::FakeClock clock;
    test::TempFolder programFolder;
    int quits = 0;
    test::FakeShell shell;
    test::FakeDialupService dialup;
    MainWindow window{{ftp, dialogs, clock, shell, programFolder.path(), [this] { ++quits; }, dialup}};
};

TEST_F(MainWindowTest, StartsWithItsTitleMenusAndMarks)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vendrel Version 1.1 - Transfert de fichiers"));
    EXPECT_EQ(window.menus().menu(QStringLiteral("zSoubor")).title(), QStringLiteral("&Fichier"));
    EXPECT_EQ(action("zConnect").text(), QStringLiteral("Se &Connecter sur le Serveur"));
    EXPECT_EQ(action("zConnect").shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    EXPECT_EQ(action("zEnd").shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(action("zLokUp").shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    EXPECT_EQ(action("zAbout").shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(action("ztSmallIc").text(), QStringLiteral("&Petitesl Icônes"));
    EXPECT_EQ(action("zFind").text(), QStringLiteral("Recherher un fichier"));
    for (const char *checked : {"zAll", "zAll2", "zBinary", "zTools"})
        EXPECT_TRUE(action(checked).isChecked()) << checked;
    for (const char *clear : {"Z_HTML", "Z_Images", "Z_Zip", "Z_Exe", "zDefine", "zDefine2", "zAscii", "zPassive"})
        EXPECT_FALSE(action(clear).isChecked()) << clear;
    EXPECT_FALSE(action("zOption").isEnabled());
    EXPECT_TRUE(action("Mnu_DeconnectInternet").isEnabled());
    for (const char *pictured : {"zOpen", "zSave", "zConnect", "zDisconnect", "zOdpojit", "zLokRef", "zOpenFile",
                                 "zLokUp", "zFind", "zProperties", "zRemRef", "zRemDown", "zTento", "zServer", "zHelp"})
        EXPECT_FALSE(action(pictured).icon().isNull()) << pictured;
    EXPECT_TRUE(action("zEnd").icon().isNull());
    EXPECT_TRUE(action("zSep9").isSeparator());
    // The same menus serve as the panes' context menus: their items are in place.
    const QList<QAction *> serverItems = window.menus().menu(QStringLiteral("zRemote")).actions();
    ASSERT_EQ(serverItems.size(), 10);
    EXPECT_EQ(serverItems.at(2)->objectName(), QStringLiteral("zRemDown"));
}

TEST_F(MainWindowTest, TheToolbarHasSixteenEntriesWithCaptionsAndTips)
{
    const QList<QAction *> entries = window.toolbar().actions();
    ASSERT_EQ(entries.size(), 16);
    EXPECT_EQ(entries.at(2)->objectName(), QStringLiteral("Spr1"));
    EXPECT_TRUE(entries.at(2)->isSeparator());
    EXPECT_TRUE(entries.at(9)->isSeparator());
    QToolButton *download = window.toolbar().button(QStringLiteral("DownLoad"));
    ASSERT_NE(download, nullptr);
    EXPECT_EQ(download->text(), QStringLiteral("Recevoir"));
    EXPECT_EQ(download->toolTip(), QStringLiteral("Recevoir à partir du serveur"));
    EXPECT_EQ(download->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(window.toolbar().button(QStringLiteral("Disconnect"))->text(), QStringLiteral("Deconnect."));
    EXPECT_EQ(window.toolbar().button(QStringLiteral("Rename2"))->toolTip(),
              QStringLiteral("Renommer un fichier sur le serveur"));
}

TEST_F(MainWindowTest, EveryCommandReachesItsHandlerWithoutFailing)
{
    // Commands that would open a modal window are covered by their own tests.
    const QSet<QString> modal = {QStringLiteral("zConnect"), QStringLiteral("zEnd"), QStringLiteral("zHelp"),
                                 QStringLiteral("zAbout")};
    dialogs.cancelUnscripted = true;
    for (QAction *command : window.menus().commands()) {
        if (!modal.contains(command->objectName()))
            command->trigger();
    }
    for (const char *key : {"Disconnect", "Spr1", "Reload", "Upload", "NewFolder", "DelFolder", "DelFile", "Rename",
                            "Reload2", "DownLoad", "NewFolder2", "DelFolder2", "DelFile2", "Rename2", "nothing"})
        window.Toolbar1_ButtonClick(QString::fromLatin1(key));
    EXPECT_EQ(quits, 0);
}

// The window above was built, so each of its commands has a handler; the
// same check stops a table that lacks one, a menu item's or a button's.
TEST_F(MainWindowTest, ACommandWithoutAHandlerStopsTheStart)
{
    const QStringList names = window.commandNames();
    ASSERT_TRUE(names.contains(QStringLiteral("zRemDF")) && names.contains(QStringLiteral("DelFolder2")));
    CommandTable incomplete;
    for (const QString &name : names) {
        if (name != u"zRemDF" && name != u"DelFolder2")
            incomplete.add(name, [] {});
    }
    try {
        incomplete.requireHandlers(names);
        ADD_FAILURE() << "an incomplete table passed";
    } catch (const std::logic_error &error) {
        const QString message = QString::fromUtf8(error.what());
        EXPECT_TRUE(message.contains(u"zRemDF") && message.contains(u"DelFolder2")) << error.what();
    }
}

TEST_F(MainWindowTest, ViewModeItemsSwitchTheirOwnList)
{
    action("zsBigIc").trigger();
    EXPECT_EQ(window.remoteList().viewMode(), FileListView::LargeIcons);
    EXPECT_EQ(window.localList().viewMode(), FileListView::Details);
    action("ztSeznam").trigger();
    EXPECT_EQ(window.localList().viewMode(), FileListView::List);
    action("zsSmallIc").trigger();
    EXPECT_EQ(window.remoteList().viewMode(), FileListView::SmallIcons);
    action("zsReport").trigger();
    EXPECT_EQ(window.remoteList().viewMode(), FileListView::Details);
    EXPECT_FALSE(action("zsReport").isChecked());
}

TEST_F(MainWindowTest, TransferItemsKeepExactlyOneTypeChecked)
{
    action("zBinary").trigger();
    EXPECT_TRUE(action("zBinary").isChecked());
    EXPECT_EQ(window.session().TransferType, 0u);
    action("zAscii").trigger();
    EXPECT_TRUE(action("zAscii").isChecked());
    EXPECT_FALSE(action("zBinary").isChecked());
    EXPECT_EQ(window.session().TransferType, ftp::FTP_TRANSFER_TYPE_ASCII);
    action("zPassive").trigger();
    EXPECT_TRUE(action("zPassive").isChecked());
}

TEST_F(MainWindowTest, TheToolbarToggleTwiceReturnsEveryControl)
{
    const QRect logBefore = window.pane(Pane::txtInfo).geometry();
    const QRect listBefore = window.pane(Pane::ListView2).geometry();
    action("zTools").trigger();
    EXPECT_FALSE(action("zTools").isChecked());
    EXPECT_FALSE(window.toolbar().isVisible());
    EXPECT_LT(window.pane(Pane::txtInfo).y(), logBefore.y());
    EXPECT_GT(window.pane(Pane::ListView2).height(), listBefore.height());
    action("zTools").trigger();
    EXPECT_TRUE(window.toolbar().isVisible());
    EXPECT_EQ(window.pane(Pane::txtInfo).geometry(), logBefore);
    EXPECT_EQ(window.pane(Pane::ListView2).geometry(), listBefore);
}

TEST_F(MainWindowTest, QuitAsksFirstAndNoChangesNothing)
{
    dialogs.answerNext(MessageAnswer::No);
    action("zEnd").trigger();
    EXPECT_EQ(quits, 0);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.at(0).text, QStringLiteral("Quitter Vendrel ?  Confirmez."));
    EXPECT_EQ(dialogs.messages.at(0).title, QStringLiteral("Quitter le programme"));
    EXPECT_EQ(dialogs.messages.at(0).buttons, MessageButtons::YesNo);

    dialogs.answerNext(MessageAnswer::Yes);
    action("zEnd").trigger();
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWindowTest, OptionsSaysThereIsNothing)
{
    window.zOption_Click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.at(0).text, QStringLiteral("...rien."));
    EXPECT_EQ(dialogs.messages.at(0).title, QStringLiteral("Erreur"));
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::Stop);
}

TEST_F(MainWindowTest, HelpShowsTheFileBesideTheProgram)
{
    programFolder.createFile(QStringLiteral("VENDREL.HLP"), "<html><body><h1 id=\"sommaire\">Sommaire</h1></body></html>");
    action("zHelp").trigger();
    ASSERT_NE(window.helpWindow(), nullptr);
    EXPECT_TRUE(window.helpWindow()->isVisible());
    EXPECT_TRUE(window.helpWindow()->browser().toPlainText().contains(QStringLiteral("Sommaire")));
}

TEST_F(MainWindowTest, AMissingHelpFileIsSaidInTheHelpWindow)
{
    window.zHelp_Click();
    EXPECT_TRUE(window.helpWindow()->browser().toPlainText().contains(QStringLiteral("introuvable")));
}

TEST_F(MainWindowTest, ConnectingFromTheDialogListsTheServerAndSelectsItsFolder)
{
    ftp.setCurrentDirectory(QStringLiteral("/pub"));
    ftp.addFile(QStringLiteral("/pub/x.zip"), QByteArray(2048, 'x'));
    ftp.addFolder(QStringLiteral("/pub/docs"));
    connectThroughTheDialog(QStringLiteral("127.0.0.1"));

    EXPECT_TRUE(window.session().isConnected());
    EXPECT_EQ(window.connectDialog(), nullptr); // unloaded after a connect
    ASSERT_EQ(window.remoteFiles().rowCount(), 1);
    EXPECT_EQ(window.remoteFiles().cellText(0, FileListModel::Name), QStringLiteral("x.zip"));
    EXPECT_EQ(RemoteTree::keyOf(window.remoteTree().widget().currentItem()), QStringLiteral("/pub/"));
    EXPECT_NE(window.remoteTree().nodeByKey(QStringLiteral("/pub/docs/")), nullptr);
    EXPECT_TRUE(window.activityLog().text().contains(QStringLiteral("*** DÉMO ***")));

    EXPECT_EQ(serverPath(), QStringLiteral("/pub/*.*"));

    action("zDisconnect").trigger();
    EXPECT_FALSE(window.session().isConnected());
    EXPECT_TRUE(window.activityLog().text().endsWith(QStringLiteral("14:07:33 > Déconnexion du Serveur.\r\n")));
    expectServerPaneEmpty();

    // A failed connect after a good one leaves nothing of the first server either.
    connectThroughTheDialog(QStringLiteral("127.0.0.1"));
    ASSERT_EQ(window.remoteFiles().rowCount(), 1);
    ftp.failCall(QStringLiteral("InternetConnect"));
    connectThroughTheDialog(QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(window.session().isConnected());
    expectServerPaneEmpty();
}

TEST_F(MainWindowTest, AFailedConnectKeepsTheDialogAndItsFields)
{
    ftp.failCall(QStringLiteral("InternetConnect"));
    connectThroughTheDialog(QStringLiteral("127.0.0.1"));
    ASSERT_NE(window.connectDialog(), nullptr);
    EXPECT_EQ(window.connectDialog()->findChild<QLineEdit *>(QStringLiteral("txtServer"))->text(),
              QStringLiteral("127.0.0.1"));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Connexion vers le serveur annulée !")});
}

TEST_F(MainWindowTest, CtrlCInTheLogStillOpensTheConnectionDialog)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *log = window.findChild<QPlainTextEdit *>(QStringLiteral("txtInfo"));
    log->setFocus();
    bool dialogShown = false;
    QTimer::singleShot(0, [&dialogShown] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            dialogShown = dialog->objectName() == u"FrmConnect";
            dialog->close();
        }
    });
    QTest::keyClick(log, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(dialogShown);
}

TEST_F(MainWindowTest, TheLogTakesNoTypingAndEveryShownTextReachesAScreenReader)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *log = window.findChild<QPlainTextEdit *>(QStringLiteral("txtInfo"));
    log->setFocus();
    QTest::keyClicks(log, QStringLiteral("abc"));
    QTest::keyClick(log, Qt::Key_Return);
    EXPECT_TRUE(log->toPlainText().isEmpty());

    const QStringList shown{QStringLiteral("Heure"), QStringLiteral("Message"), QStringLiteral("Connexion"),
                            QStringLiteral("Label1")};
    for (const QString &name : shown) {
        auto *label = window.findChild<QLabel *>(name);
        ASSERT_NE(label, nullptr) << name.toStdString();
        EXPECT_FALSE(label->text().isEmpty()) << name.toStdString();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), label->text());
    }
}

TEST_F(MainWindowTest, TheServerPaneAnswersClicksKeysAndItsMenu)
{
    ftp.setCurrentDirectory(QStringLiteral("/"));
    ftp.addFolder(QStringLiteral("/pub"));
    ftp.addFile(QStringLiteral("/pub/a.txt"), "a");
    connectThroughTheDialog(QStringLiteral("127.0.0.1"));
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("TView1"));

    // The Delete key in the tree asks to delete the selected folder: the root is refused.
    QTest::keyClick(tree, Qt::Key_Delete);
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Ce dossier ne peut être supprimé (Racine)!"));

    // A click on a node opens it.
    QTreeWidgetItem *pub = window.remoteTree().nodeByKey(QStringLiteral("/pub/"));
    ASSERT_NE(pub, nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(pub).center());
    EXPECT_EQ(window.session().RemoteFolder, QStringLiteral("/pub/"));
    ASSERT_EQ(window.remoteFiles().rowCount(), 1);

    // The Delete key in the list asks to delete the selected files.
    window.remoteList().selectRow(0);
    dialogs.answerNext(MessageAnswer::No);
    QTest::keyClick(window.remoteList().detailsView(), Qt::Key_Delete);
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Etes vous sur de supprimer ce fichier ?"));

    // "&Rafraîchir" of the server menu lists the folder again.
    ftp.addFile(QStringLiteral("/pub/b.txt"), "b");
    action("zRemRef").trigger();
    EXPECT_EQ(window.remoteFiles().rowCount(), 2);
}

} // namespace
} // namespace vendrel
