// The local pane driven with the mouse and the keyboard in a shown window.
// With VENDREL_SCREENSHOT_DIR set, the pictures of the pane in its four view
// modes, with the context menu open, and of the shell's own windows are
// written there to be looked at.
#include "LocalPaneFixture.h"

#include "desktop/FilePropertiesWindow.h"
#include "desktop/FindFilesWindow.h"
#include "local/LocalFileOperations.h"
#include "support/FakeShell.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <array>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

struct LocalPaneUiTest : test::LocalPaneFixture, ::testing::Test {
    LocalPaneUiTest()
    {
        temp.createFile(QStringLiteral("Documents/lisezmoi.txt"));
        temp.createDir(QStringLiteral("Images"));
        temp.createDir(QStringLiteral("Logiciels"));
        temp.createFile(QStringLiteral("index.html"), QByteArray(4210, 'h'));
        temp.createFile(QStringLiteral("photo-vacances.jpg"), QByteArray(183'402, 'j'));
        temp.createFile(QStringLiteral("archive.zip"), QByteArray(1'048'576, 'z'));
        temp.createFile(QStringLiteral("notes.txt"), QByteArray(1536, 'n'));
        temp.createFile(QStringLiteral("setup.exe"), QByteArray(65'000, 'e'));
        window.resize(380, 520);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        browser.openFolder(temp.path());
    }

    QPoint centreOfRow(const QString &name) const
    {
        const QTreeView *details = ListView1.detailsView();
        return details->visualRect(files.index(rowOf(name), 0)).center();
    }

    QPoint centreOfFolder(const QString &name) const
    {
        const QList<QTreeWidgetItem *> items = Dir1.findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return items.isEmpty() ? QPoint() : Dir1.visualItemRect(items.first()).center();
    }

    // As a person does it: the first click presses the row, the second comes as a double click.
    static void doubleClick(QWidget *widget, const QPoint &at)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    }

    void saveShot(const QPixmap &picture, const QString &name) const
    {
        const QString folder = qEnvironmentVariable("VENDREL_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            EXPECT_TRUE(picture.save(folder + u'/' + name + QStringLiteral(".png")));
        }
    }

    test::FakeShell shell;
    LocalFileOperations operations{context(), browser, shell, temp.filePath(QStringLiteral("program"))};
};

TEST_F(LocalPaneUiTest, ClicksSelectAndSumDoubleClickOpensAndDeleteAsks)
{
    QWidget *rows = ListView1.detailsView()->viewport();
    QTest::mouseClick(rows, Qt::LeftButton, {}, centreOfRow(QStringLiteral("notes.txt")));
    EXPECT_EQ(statusText(), QStringLiteral("Local: 1 Fichiers sélectionnés, 1,536 Ko"));
    QTest::mouseClick(rows, Qt::LeftButton, Qt::ControlModifier, centreOfRow(QStringLiteral("index.html")));
    EXPECT_EQ(statusText(), QStringLiteral("Local: 2 Fichiers sélectionnés, 5,746 Ko"));

    doubleClick(rows, centreOfRow(QStringLiteral("setup.exe")));
    EXPECT_EQ(shell.openedDocuments, QStringList{temp.filePath(QStringLiteral("setup.exe"))});

    dialogs.answerNext(MessageAnswer::No);
    QTest::keyClick(ListView1.detailsView(), Qt::Key_Delete);
    EXPECT_EQ(lastMessage().buttons, MessageButtons::YesNo);
    EXPECT_TRUE(temp.exists(QStringLiteral("setup.exe")));
}

TEST_F(LocalPaneUiTest, ADoubleClickInDir1OpensTheFolderAndDeleteThereAsksToDeleteIt)
{
    doubleClick(Dir1.viewport(), centreOfFolder(QStringLiteral("Documents")));
    EXPECT_EQ(Dir1.path(), temp.filePath(QStringLiteral("Documents")));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("lisezmoi.txt")});

    dialogs.answerNext(MessageAnswer::No);
    QTest::keyClick(&Dir1, Qt::Key_Delete);
    EXPECT_TRUE(lastMessage().text.startsWith(QStringLiteral("Etes vous sur de supprimer ce dossier: \"Documents\"?")));
}

TEST_F(LocalPaneUiTest, ARenameTypedIntoTheRowRenamesTheFile)
{
    ListView1.selectRow(rowOf(QStringLiteral("notes.txt")));
    operations.zLokRS_Click();
    auto *editor = ListView1.detailsView()->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("notes-2026.txt"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([this] { return temp.exists(QStringLiteral("notes-2026.txt")); }, 2000));
    EXPECT_TRUE(rowNames().contains(QStringLiteral("notes-2026.txt")));
    EXPECT_TRUE(shell.openedDocuments.isEmpty()); // the Enter that ended the edit opens nothing
}

TEST_F(LocalPaneUiTest, ARightClickOpensTheLocalMenuAndTheViewModesCanBeSeen)
{
    const std::array<std::pair<FileListView::ViewMode, const char *>, 4> modes{{
        {FileListView::LargeIcons, "local-pane-large-icons"},
        {FileListView::SmallIcons, "local-pane-small-icons"},
        {FileListView::List, "local-pane-list"},
        {FileListView::Details, "local-pane-details"},
    }};
    for (const auto &[mode, name] : modes) {
        ListView1.setViewMode(mode);
        QApplication::processEvents();
        saveShot(window.grab(), QString::fromLatin1(name));
    }

    zLocal.addSeparator();
    zLocal.addAction(QStringLiteral("&Propriétés"));
    QWidget *rows = ListView1.detailsView()->viewport();
    const QPoint at = centreOfRow(QStringLiteral("archive.zip"));
    QTest::mouseClick(rows, Qt::LeftButton, {}, at);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, rows->mapToGlobal(at));
    QApplication::sendEvent(rows, &rightClick);
    ASSERT_TRUE(QTest::qWaitFor([this] { return zLocal.isVisible(); }, 2000));

    QPixmap shot = window.grab();
    QPainter(&shot).drawPixmap(window.mapFromGlobal(zLocal.pos()), zLocal.grab());
    saveShot(shot, QStringLiteral("local-pane-context-menu"));
    zLocal.hide();

    FilePropertiesWindow properties(temp.filePath(QStringLiteral("photo-vacances.jpg")));
    properties.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&properties));
    saveShot(properties.grab(), QStringLiteral("properties-window"));

    FindFilesWindow find([](const QString &) { return true; });
    find.setStartFolder(temp.path());
    find.nameField().setText(QStringLiteral("*.txt;*.zip"));
    find.show();
    QSignalSpy finished(&find, &FindFilesWindow::searchFinished);
    find.startSearch();
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(find.results().topLevelItemCount(), 3);
    saveShot(find.grab(), QStringLiteral("find-window"));
}

} // namespace
} // namespace vendrel
