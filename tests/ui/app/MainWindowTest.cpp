#include "app/MainWindow.h"
#include "app/CommandTable.h"
#include "app/MainMenus.h"
#include "app/MainToolbar.h"
#include "app/PaneLayout.h"
#include "app/ServerWaitPrompt.h"
#include "app/connect/FrmConnect.h"
#include "app/icons/Icons.h"
#include "listing/FileListView.h"
#include "remote/RemoteTree.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeDialupService.h"
#include "support/FakeFtpService.h"
#include "support/FakePasswordVault.h"
#include "support/FakeShell.h"
#include "support/TempFolder.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The real main window over the fakes, shown offscreen.
struct MainWindowTest : ::testing::Test {
    static void SetUpTestSuite() { initResources(); }

    MainWindowTest()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QAction &action(const char *name) { return window.menus().action(QString::fromLatin1(name)); }

    // Fills the connection dialog once it is up, then presses "Connexion".
    void connectThroughTheDialog()
    {
        QTimer::singleShot(0, [] {
            QWidget *dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            const auto set = [dialog](const char *name, const QString &text) {
                dialog->findChild<QLineEdit *>(QString::fromLatin1(name))->setText(text);
            };
            set("txtSiteName", u"Démo"_s);
            set("txtServer", u"127.0.0.1"_s);
            set("txtUser", u"vendrel"_s);
            set("txtPass", u"secret"_s);
            set("TextDosInit", QDir::tempPath());
            dialog->findChild<QPushButton *>(u"Command3"_s)->click();
        });
        window.zConnect_Click();
    }

    void expectServerPaneEmpty() const
    {
        EXPECT_EQ(window.remoteTree().widget().topLevelItemCount(), 0);
        EXPECT_EQ(window.remoteFiles().rowCount(), 0);
        EXPECT_TRUE(window.findChild<QLabel *>(u"Label3"_s)->text().isEmpty());
    }

    test::FakeFtpService ftp;
    test::FakeDialogs dialogs;
    test::FakeClock clock;
    test::TempFolder programFolder;
    int quits = 0;
    test::FakeShell shell;
    test::FakeDialupService dialup;
    test::FakePasswordVault passwords;
    MainWindow window{{ftp, dialogs, clock, shell, ProgramFolders::beside(programFolder.path()), [this] { ++quits; },
                       dialup, passwords}};
};

TEST_F(MainWindowTest, EveryCommandReachesItsHandlerWithoutFailing)
{
    // Commands that open a modal window have their own tests.
    const QSet<QString> modal = {u"zConnect"_s, u"zEnd"_s, u"zHelp"_s, u"zAbout"_s};
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
// same check stops a table that lacks one.
TEST_F(MainWindowTest, ACommandWithoutAHandlerStopsTheStart)
{
    const QStringList names = window.commandNames();
    ASSERT_TRUE(names.contains(QStringLiteral("DelFolder2")));
    CommandTable incomplete;
    for (const QString &name : names) {
        if (name != u"DelFolder2")
            incomplete.add(name, [] {});
    }
    EXPECT_THROW(incomplete.requireHandlers(names), std::logic_error);
}

TEST_F(MainWindowTest, ConnectingListsTheServerAndAFailedConnectLeavesNothingOfTheLastOne)
{
    ftp.setCurrentDirectory(u"/pub"_s);
    ftp.addFile(u"/pub/x.zip"_s, QByteArray(2048, 'x'));
    ftp.addFolder(u"/pub/docs"_s);
    connectThroughTheDialog();
    EXPECT_TRUE(window.session().isConnected());
    EXPECT_EQ(window.connectDialog(), nullptr); // unloaded after a connect
    EXPECT_EQ(window.remoteFiles().rowCount(), 1);
    EXPECT_EQ(RemoteTree::keyOf(window.remoteTree().widget().currentItem()), u"/pub/"_s);
    EXPECT_NE(window.remoteTree().nodeByKey(u"/pub/docs/"_s), nullptr);

    action("zDisconnect").trigger();
    EXPECT_FALSE(window.session().isConnected());
    expectServerPaneEmpty();

    connectThroughTheDialog();
    ASSERT_EQ(window.remoteFiles().rowCount(), 1);
    ftp.failCall(u"InternetConnect"_s);
    connectThroughTheDialog();
    EXPECT_FALSE(window.session().isConnected());
    expectServerPaneEmpty();
    ASSERT_NE(window.connectDialog(), nullptr) << "kept for another try";
    EXPECT_EQ(window.connectDialog()->findChild<QLineEdit *>(u"txtServer"_s)->text(), u"127.0.0.1"_s);
}

TEST_F(MainWindowTest, TheLogTakesNoTypingButCtrlCThereOpensTheConnectionDialog)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *log = window.findChild<QPlainTextEdit *>(u"txtInfo"_s);
    log->setFocus();
    QTest::keyClicks(log, u"abc"_s);
    QTest::keyClick(log, Qt::Key_Return);
    EXPECT_TRUE(log->toPlainText().isEmpty());

    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            shown = dialog->objectName();
            dialog->close();
        }
    });
    QTest::keyClick(log, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(shown, u"FrmConnect"_s);

    for (const char *name : {"Heure", "Message", "Connexion", "Label1"}) {
        auto *label = window.findChild<QLabel *>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), label->text()) << name;
    }
}

TEST_F(MainWindowTest, TheServerPaneAnswersClicksKeysAndItsMenu)
{
    ftp.addFolder(u"/pub"_s);
    ftp.addFile(u"/pub/a.txt"_s, "a");
    connectThroughTheDialog();
    auto *tree = window.findChild<QTreeWidget *>(u"TView1"_s);

    QTest::keyClick(tree, Qt::Key_Delete); // the root is selected: refused
    EXPECT_EQ(dialogs.messages.size(), 1);
    QTreeWidgetItem *pub = window.remoteTree().nodeByKey(u"/pub/"_s);
    ASSERT_NE(pub, nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(pub).center());
    EXPECT_EQ(window.session().RemoteFolder, u"/pub/"_s);
    ASSERT_EQ(window.remoteFiles().rowCount(), 1);

    window.remoteList().selectRow(0);
    dialogs.answerNext(MessageAnswer::No);
    QTest::keyClick(window.remoteList().detailsView(), Qt::Key_Delete);
    EXPECT_EQ(dialogs.messages.last().buttons, MessageButtons::YesNo);
    EXPECT_TRUE(ftp.hasFile(u"/pub/a.txt"_s));

    ftp.addFile(u"/pub/b.txt"_s, "b");
    action("zRemRef").trigger();
    EXPECT_EQ(window.remoteFiles().rowCount(), 2);
}

TEST_F(MainWindowTest, QuitAsksFirstThenOffersToHangUpADialupConnection)
{
    dialogs.answerNext(MessageAnswer::No);
    action("zEnd").trigger();
    EXPECT_EQ(quits, 0);

    dialup.add(u"Orange"_s, true);
    dialogs.answerNext(MessageAnswer::Yes); // quit
    dialogs.answerNext(MessageAnswer::Yes); // hang up
    action("zEnd").trigger();
    EXPECT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(dialup.hangUpsAsked, QList<QString>{u"Orange"_s});
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWindowTest, AtItsSmallestSizeEveryPaneStaysVisibleWhereverTheBarsGo)
{
    window.resize(50, 50);
    const QSizeF minimum = minimumWindowTwips();
    EXPECT_GE(window.frameGeometry().width() * twipsPerInch / window.logicalDpiX(), minimum.width());
    EXPECT_GE(window.frameGeometry().height() * twipsPerInch / window.logicalDpiY(), minimum.height());

    // Borders, caption and menu bar as on a common desktop; the clamp at zero must not be what saves it.
    const WindowTwips smallest{minimum.width(), minimum.height(), minimum.width() - 120, minimum.height() - 800};
    for (const bool toolbarShown : {true, false}) {
        for (const double bar : {10000.0, -10000.0}) {
            PaneGeometry g = designGeometry();
            if (!toolbarShown)
                shiftForToolbar(g, false);
            applyResizeRules(g, smallest);
            dragPicture1(g, bar);
            releasePicture1(g, smallest);
            dragPicture2(g, bar);
            releasePicture2(g, smallest);
            for (std::size_t i = 0; i < g.rects.size(); ++i)
                EXPECT_TRUE(g.rects[i].width() > 0 && g.rects[i].height() > 0) << "pane " << i << ", bar at " << bar;
        }
    }
}

// A window the user might click or type into while the server is awaited.
struct ServerWaitPromptTest : ::testing::Test {
    ServerWaitPromptTest()
    {
        QObject::connect(&other, &QPushButton::clicked, [this] { ++clicks; });
        other.show();
    }

    // As a person clicks: through the native window, which sees the event first.
    static void clickThroughWindow(QWidget *widget)
    {
        QWidget *top = widget->window();
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, widget->rect().center()));
    }

    ServerWaitPrompt prompt{std::chrono::milliseconds(0)};
    QPushButton other{u"Autre commande"_s};
    int clicks = 0;
};

TEST_F(ServerWaitPromptTest, TheBoxOffersAnnulerAndNoOtherCommandGetsThrough)
{
    prompt.waitStarted();
    EXPECT_FALSE(prompt.handleEvents());
    ASSERT_NE(prompt.box(), nullptr);
    EXPECT_TRUE(prompt.box()->isVisible());
    EXPECT_EQ(prompt.box()->findChild<QLabel *>()->text(), u"Attente du serveur..."_s);
    clickThroughWindow(&other);
    EXPECT_FALSE(prompt.handleEvents());
    EXPECT_EQ(clicks, 0);

    clickThroughWindow(prompt.box()->findChild<QPushButton *>(u"serverWaitCancel"_s));
    EXPECT_TRUE(prompt.handleEvents());
    prompt.waitEnded();
    EXPECT_EQ(prompt.box(), nullptr);
    clickThroughWindow(&other);
    EXPECT_EQ(clicks, 1) << "input flows again once the wait is over";
}

TEST_F(ServerWaitPromptTest, EscapeCancelsBeforeTheBoxShows)
{
    ServerWaitPrompt patient{std::chrono::hours(1)};
    patient.waitStarted();
    EXPECT_FALSE(patient.handleEvents());
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_TRUE(patient.handleEvents());
    EXPECT_EQ(patient.box(), nullptr);
    patient.waitEnded();

    patient.waitStarted();
    EXPECT_FALSE(patient.handleEvents()) << "a cancel ends with its wait";
    patient.waitEnded();
}

} // namespace
} // namespace vendrel
