// The local pane, the shell's own windows and the certificate question driven
// with the mouse and the keyboard, shown offscreen.
#include "desktop/FilePropertiesWindow.h"
#include "desktop/FindFilesWindow.h"
#include "desktop/QtDialogs.h"
#include "desktop/Shell.h"
#include "local/LocalFileOperations.h"
#include "support/FakeShell.h"
#include "support/PaneHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct LocalPaneUiTest : test::LocalPaneHarness, ::testing::Test {
    LocalPaneUiTest()
    {
        temp.createFile(u"index.html"_s, QByteArray(4210, 'h'));
        temp.createFile(u"notes.txt"_s, QByteArray(1536, 'n'));
        temp.createFile(u"setup.exe"_s, QByteArray(65'000, 'e'));
        window.resize(380, 520);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        browser.openFolder(temp.path());
    }

    QPoint centreOfRow(const QString &name) const
    {
        return ListView1.detailsView()->visualRect(files.index(rowOf(name), 0)).center();
    }

    test::FakeShell shell;
    LocalFileOperations operations{context(), browser, shell, temp.filePath(u"program"_s)};
};

TEST_F(LocalPaneUiTest, ClicksSelectAndSumADoubleClickOpensAndDeleteAsks)
{
    QWidget *rows = ListView1.detailsView()->viewport();
    QTest::mouseClick(rows, Qt::LeftButton, {}, centreOfRow(u"notes.txt"_s));
    QTest::mouseClick(rows, Qt::LeftButton, Qt::ControlModifier, centreOfRow(u"index.html"_s));
    EXPECT_EQ(statusText(), u"Local: 2 Fichiers sélectionnés, 5,746 Ko"_s);
    // As a person does it: the first click presses, the second comes as a double click.
    QTest::mouseClick(rows, Qt::LeftButton, {}, centreOfRow(u"setup.exe"_s));
    QTest::mouseDClick(rows, Qt::LeftButton, {}, centreOfRow(u"setup.exe"_s));
    EXPECT_EQ(shell.openedDocuments, QStringList{temp.filePath(u"setup.exe"_s)});
    dialogs.answerNext(MessageAnswer::No);
    QTest::keyClick(ListView1.detailsView(), Qt::Key_Delete);
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(temp.exists(u"setup.exe"_s));
}

// The Enter that ends the name editor must not reach the list as an "open".
TEST_F(LocalPaneUiTest, ANameTypedIntoTheRowAndEndedWithEnterRenamesTheFileAndOpensNothing)
{
    ListView1.selectRow(rowOf(u"notes.txt"_s));
    operations.zLokRS_Click();
    auto *editor = ListView1.detailsView()->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, u"notes-2026.txt"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([this] { return temp.exists(u"notes-2026.txt"_s); }, 2000));
    EXPECT_TRUE(rowNames().contains(u"notes-2026.txt"_s));
    EXPECT_TRUE(shell.openedDocuments.isEmpty());
}

// Without a file manager or a search tool the shell shows its own windows;
// its search finds matching names below the folder but not hidden ones.
TEST(DesktopShell, OnABareDesktopItsOwnWindowsShowPropertiesAndFindFiles)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vendrel-test-bus");
    const QByteArray path = qgetenv("PATH");
    test::TempFolder emptyPath;
    qputenv("PATH", emptyPath.path().toLocal8Bit());
    const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
    test::TempFolder temp;
    for (const char *name : {"a.txt", "e.doc", "sub/B.TXT", "sub/deeper/c.txt", "sub/.d.txt", ".hidden/f.txt"})
        temp.createFile(QString::fromLatin1(name));
    QWidget owner;
    DesktopShell shell([&owner] { return &owner; });
    shell.showProperties(temp.filePath(u"a.txt"_s));
    shell.findFiles(temp.path());
    auto *properties = owner.findChild<FilePropertiesWindow *>();
    ASSERT_TRUE(properties != nullptr && properties->isVisible());
    auto *find = owner.findChild<FindFilesWindow *>();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->folderField().text(), temp.path());

    find->nameField().setText(u"*.txt;*.doc"_s);
    QSignalSpy finished(find, &FindFilesWindow::searchFinished);
    find->startSearch();
    ASSERT_TRUE(finished.wait(5000));
    QStringList found;
    for (int i = 0; i < find->results().topLevelItemCount(); ++i)
        found.append(find->results().topLevelItem(i)->text(0));
    found.sort();
    EXPECT_EQ(found, (QStringList{u"B.TXT"_s, u"a.txt"_s, u"c.txt"_s, u"e.doc"_s}));
    find->folderField().setText(temp.filePath(u"absent"_s));
    find->startSearch();
    EXPECT_EQ(find->results().topLevelItemCount(), 0);
}

// The certificate questions: Enter must not trust, only a deliberate click.
GuardedAnswer answer(const std::function<void(QMessageBox &)> &user)
{
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        user(*box);
    });
    QtDialogs dialogs([]() -> QWidget * { return nullptr; });
    return dialogs.askGuarded({u"Certificat changé !"_s, u"Empreinte SHA-256 : AB:CD"_s, u"Faire confiance"_s,
                               u"Toujours faire confiance à ce certificat pour cet hôte"_s});
}

TEST(GuardedQuestionTest, EnterCancelsAndOnlyTheTrustButtonTrusts)
{
    const GuardedAnswer entered = answer([](QMessageBox &box) {
        box.checkBox()->setChecked(true);
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_FALSE(entered.accepted);

    const GuardedAnswer trusted = answer([](QMessageBox &box) {
        box.checkBox()->setChecked(true);
        for (QAbstractButton *button : box.buttons()) {
            if (button->text() == u"Faire confiance"_s)
                button->click();
        }
    });
    EXPECT_TRUE(trusted.accepted);
    EXPECT_TRUE(trusted.optionChecked);
}

} // namespace
} // namespace vendrel
