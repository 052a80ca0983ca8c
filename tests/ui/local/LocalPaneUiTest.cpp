#include "platform/FilePropertiesWindow.h"
#include "platform/FileSearch.h"
#include "platform/FindFilesWindow.h"
#include "platform/Shell.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

QStringList foundNames(FileSearch &search, const QString &folder, const QString &pattern, bool intoSubfolders)
{
    QStringList names;
    QObject::connect(&search, &FileSearch::found, &search, [&names](const QList<QFileInfo> &files) {
        for (const QFileInfo &file : files)
            names.append(file.fileName());
    });
    QSignalSpy finished(&search, &FileSearch::finished);
    search.start(folder, pattern, intoSubfolders);
    EXPECT_TRUE(finished.wait(5000));
    QObject::disconnect(&search, &FileSearch::found, nullptr, nullptr);
    names.sort();
    return names;
}

TEST(DesktopFindTool, TakesTheFirstInstalledToolAndTellsItWhereToStart)
{
    QStringList installed;
    const auto lookup = [&installed](const QString &program) {
        return installed.contains(program) ? QStringLiteral("/usr/bin/") + program : QString();
    };
    EXPECT_FALSE(desktopFindTool(QStringLiteral("/tmp/a/"), lookup).has_value());

    installed = {QStringLiteral("kfind"), QStringLiteral("gnome-search-tool")};
    std::optional<ShellCommand> tool = desktopFindTool(QStringLiteral("/tmp/a/"), lookup);
    ASSERT_TRUE(tool.has_value());
    EXPECT_EQ(tool->program, QStringLiteral("/usr/bin/gnome-search-tool"));
    EXPECT_EQ(tool->arguments, QStringList{QStringLiteral("--path=/tmp/a/")});

    installed = {QStringLiteral("kfind"), QStringLiteral("catfish")};
    tool = desktopFindTool(QStringLiteral("/tmp/a/"), lookup);
    EXPECT_EQ(tool->program, QStringLiteral("/usr/bin/catfish"));
    EXPECT_EQ(tool->arguments, QStringList{QStringLiteral("/tmp/a/")});
}

TEST(FileSearch, FindsMatchingNamesBelowTheFolderButNotHiddenOnes)
{
    test::TempFolder temp;
    for (const char *name : {"a.txt", "e.doc", "sub/B.TXT", "sub/deeper/c.txt", "sub/.d.txt", ".hidden/f.txt"})
        temp.createFile(QString::fromLatin1(name));
    FileSearch search;
    EXPECT_EQ(foundNames(search, temp.path(), QStringLiteral("*.txt"), true),
              (QStringList{QStringLiteral("B.TXT"), QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
    EXPECT_EQ(foundNames(search, temp.path(), QStringLiteral("*.txt;*.doc"), false),
              (QStringList{QStringLiteral("a.txt"), QStringLiteral("e.doc")}));
}

TEST(FindFilesWindow, ListsWhatItFindsAndOpensAResult)
{
    test::TempFolder temp;
    temp.createFile(QStringLiteral("docs/lettre.doc"), QByteArray(1536, 'x'));
    temp.createFile(QStringLiteral("docs/note.txt"));
    QStringList opened;
    FindFilesWindow window([&opened](const QString &path) {
        opened.append(path);
        return true;
    });
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Rechercher des fichiers"));

    window.setStartFolder(temp.path());
    window.nameField().setText(QStringLiteral("*.DOC"));
    QSignalSpy finished(&window, &FindFilesWindow::searchFinished);
    window.startSearch();
    ASSERT_TRUE(finished.wait(5000));

    ASSERT_EQ(window.results().topLevelItemCount(), 1);
    QTreeWidgetItem *result = window.results().topLevelItem(0);
    EXPECT_EQ(result->text(0), QStringLiteral("lettre.doc"));
    EXPECT_EQ(result->text(1), temp.filePath(QStringLiteral("docs")));
    EXPECT_EQ(result->text(2), QStringLiteral("1\u202f536"));
    EXPECT_EQ(window.statusLabel().text(), QStringLiteral("1 fichier trouvé."));

    Q_EMIT window.results().itemActivated(result, 0);
    EXPECT_EQ(opened, QStringList{temp.filePath(QStringLiteral("docs/lettre.doc"))});

    window.folderField().setText(temp.filePath(QStringLiteral("absent")));
    window.startSearch();
    EXPECT_EQ(window.statusLabel().text(),
              QStringLiteral("Le dossier \"") + temp.filePath(QStringLiteral("absent")) + QStringLiteral("\" n'existe pas."));
    EXPECT_EQ(window.results().topLevelItemCount(), 0);
}

TEST(FilePropertiesWindow, ShowsTheFileInFrench)
{
    test::TempFolder temp;
    const QString path = temp.createFile(QStringLiteral("rapport.txt"), QByteArray(1536, 'r'));
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    FilePropertiesWindow window(path);
    const auto text = [&window](const char *name) {
        return window.findChild<QLabel *>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Propriétés de rapport.txt"));
    EXPECT_EQ(text("name"), QStringLiteral("rapport.txt"));
    EXPECT_EQ(text("type"), QStringLiteral("document texte brut"));
    EXPECT_EQ(text("folder"), temp.path());
    EXPECT_EQ(text("size"), QStringLiteral("1,54 Ko (1\u202f536 octets)"));
    EXPECT_TRUE(text("rights").startsWith(QStringLiteral("rw-r-----")));
}

TEST(DesktopShell, WithoutAFileManagerOrASearchToolItShowsItsOwnWindows)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vendrel-test-bus");
    const QByteArray path = qgetenv("PATH");
    test::TempFolder emptyPath;
    qputenv("PATH", emptyPath.path().toLocal8Bit());
    const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
    test::TempFolder temp;
    const QString file = temp.createFile(QStringLiteral("a.txt"));

    QWidget owner;
    DesktopShell shell([&owner] { return &owner; });
    shell.showProperties(file);
    shell.findFiles(temp.path());

    auto *properties = owner.findChild<FilePropertiesWindow *>();
    ASSERT_NE(properties, nullptr);
    EXPECT_TRUE(properties->isVisible());
    EXPECT_EQ(properties->windowTitle(), QStringLiteral("Propriétés de a.txt"));
    auto *find = owner.findChild<FindFilesWindow *>();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(find->folderField().text(), temp.path());
}

} // namespace
} // namespace vendrel
