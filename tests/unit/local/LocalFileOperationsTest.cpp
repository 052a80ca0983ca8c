#include "LocalPaneFixture.h"

#include "local/LocalFileOperations.h"
#include "support/FakeShell.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

const QString extensionQuestion = QStringLiteral("Etes vous sur de changer l'exrtension du fichier: ");

struct LocalFileOperationsTest : test::LocalPaneFixture, ::testing::Test {
    LocalFileOperationsTest() { temp.createDir(QStringLiteral("program/Logon")); }

    void open(const QStringList &names)
    {
        for (const QString &name : names)
            temp.createFile(name, name.toUtf8());
        browser.openFolder(temp.path());
    }

    void makeCurrent(const QString &name, bool keepOthers = false) { ListView1.selectRow(rowOf(name), keepOthers); }

    void rename(const QString &from, const QString &to)
    {
        makeCurrent(from);
        Q_EMIT ListView1.labelEdited(rowOf(from), to);
    }

    test::FakeShell shell;
    LocalFileOperations operations{context(), browser, shell, temp.filePath(QStringLiteral("program"))};
};

TEST_F(LocalFileOperationsTest, ARenameWithTheSameExtensionHappensAtOnceAndRebuildsTheList)
{
    open({QStringLiteral("a.txt")});
    makeCurrent(QStringLiteral("a.txt"));
    operations.zLokRS_Click();
    EXPECT_EQ(statusText(), QStringLiteral("Local: Renommer le fichier: \"a.txt\""));
    EXPECT_NE(ListView1.activeView()->viewport()->findChild<QLineEdit *>(), nullptr); // the name editor is open

    Q_EMIT ListView1.labelEdited(0, QStringLiteral("b.txt"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("b.txt")});
    EXPECT_EQ(temp.read(QStringLiteral("b.txt")), "a.txt");
    EXPECT_EQ(ListView1.currentRow(), -1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(LocalFileOperationsTest, AnotherExtensionIsAskedAboutCaseIncludedAndNoKeepsTheFile)
{
    open({QStringLiteral("a.txt"), QStringLiteral("b.TXT"), QStringLiteral("README")});

    dialogs.answerNext(MessageAnswer::No);
    rename(QStringLiteral("a.txt"), QStringLiteral("a.doc"));
    EXPECT_EQ(lastMessage().text, extensionQuestion + QStringLiteral("\"txt\" to: \"doc\""));
    EXPECT_EQ(lastMessage().buttons, MessageButtons::YesNo);
    EXPECT_EQ(lastMessage().icon, MessageIcon::Question);
    EXPECT_TRUE(temp.exists(QStringLiteral("a.txt")));
    EXPECT_TRUE(rowNames().contains(QStringLiteral("a.txt")));

    dialogs.answerNext(MessageAnswer::Yes);
    rename(QStringLiteral("b.TXT"), QStringLiteral("b.txt"));
    EXPECT_EQ(lastMessage().text, extensionQuestion + QStringLiteral("\"TXT\" to: \"txt\""));
    EXPECT_TRUE(temp.exists(QStringLiteral("b.txt")));
    EXPECT_FALSE(temp.exists(QStringLiteral("b.TXT")));

    dialogs.answerNext(MessageAnswer::Yes);
    rename(QStringLiteral("README"), QStringLiteral("README2"));
    EXPECT_EQ(lastMessage().text, extensionQuestion + QStringLiteral("\"README\" to: \"README2\""));
    EXPECT_TRUE(temp.exists(QStringLiteral("README2")));
}

TEST_F(LocalFileOperationsTest, ARenameThatCannotHappenSaysWhyAndLosesNothing)
{
    open({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    rename(QStringLiteral("a.txt"), QStringLiteral("b.txt"));
    EXPECT_EQ(lastMessage().text, QStringLiteral("Nom de fichier déjà présent dans le dossier en cours? Erreur!"));
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_EQ(temp.read(QStringLiteral("b.txt")), "b.txt");
    EXPECT_EQ(temp.read(QStringLiteral("a.txt")), "a.txt");

    temp.createDir(QStringLiteral("sub"));
    rename(QStringLiteral("a.txt"), QStringLiteral("sub/a.txt"));
    EXPECT_EQ(lastMessage().text, QStringLiteral("Le nom \"sub/a.txt\" n'est pas un nom de fichier valide !"));
    EXPECT_TRUE(temp.exists(QStringLiteral("a.txt")));

    const qsizetype shown = dialogs.messages.size();
    rename(QStringLiteral("a.txt"), QStringLiteral("a.txt"));
    EXPECT_EQ(dialogs.messages.size(), shown);

    QFile::remove(temp.filePath(QStringLiteral("a.txt")));
    rename(QStringLiteral("a.txt"), QStringLiteral("c.txt"));
    EXPECT_EQ(lastMessage().text, QStringLiteral("Le fichier \"a.txt\" n'existe plus dans le dossier !"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("b.txt")});

    dialogs.messages.clear();
    ListView1.clearCurrentRow();
    operations.zLokRS_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Pas de fichier à renommer !")});
}

TEST_F(LocalFileOperationsTest, RootsAndTheProgramFoldersAreNeverDeleted)
{
    const QString refused = QStringLiteral("Ce dossier ne peut être suppimé (Racine)!");
    for (const QString &folder : {QStringLiteral("/"), temp.filePath(QStringLiteral("program")),
                                  temp.filePath(QStringLiteral("program/Logon"))}) {
        browser.openFolder(folder);
        operations.zLokDF_Click();
        EXPECT_EQ(lastMessage().text, refused) << folder.toStdString();
        EXPECT_EQ(lastMessage().buttons, MessageButtons::Ok);
        EXPECT_TRUE(QFileInfo(folder).isDir());
    }
}

TEST_F(LocalFileOperationsTest, DeletingTheCurrentFolderAsksByNameAndShowsItsParent)
{
    const QString old = temp.createDir(QStringLiteral("OLD"));
    browser.openFolder(old);

    dialogs.answerNext(MessageAnswer::No);
    Q_EMIT Dir1.keyReleased(Qt::Key_Delete);
    EXPECT_EQ(lastMessage().text, QStringLiteral("Etes vous sur de supprimer ce dossier: \"OLD\"? Etes vous sur qu'il ne "
                                                 "contient pas de fichier !\r\nSi oui, Il n'apparaitra pas dans la corbeille !"));
    EXPECT_EQ(lastMessage().icon, MessageIcon::Question);
    EXPECT_TRUE(temp.exists(QStringLiteral("OLD")));

    dialogs.answerNext(MessageAnswer::Yes);
    operations.zLokDF_Click();
    EXPECT_FALSE(temp.exists(QStringLiteral("OLD")));
    EXPECT_EQ(Dir1.path(), temp.path());
    EXPECT_EQ(session.LocalFolder, temp.folder());
}

TEST_F(LocalFileOperationsTest, AFolderThatIsNotEmptyStaysAndSaysSo)
{
    const QString full = temp.createDir(QStringLiteral("full"));
    temp.createFile(QStringLiteral("full/.hidden"));
    browser.openFolder(full);
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zLokDF_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("Le dossier \"full\" n'a pas pu être supprimé : il n'est pas vide !"));
    EXPECT_EQ(Dir1.path(), full);
    EXPECT_TRUE(temp.exists(QStringLiteral("full/.hidden")));
}

TEST_F(LocalFileOperationsTest, DeletingFilesAsksOnceDeletesEverySelectedRowAndRebuildsTheList)
{
    open({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt"), QStringLiteral("d.txt")});
    operations.zLokDS_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Pas de fichier sélctionné !")});

    makeCurrent(QStringLiteral("a.txt"));
    makeCurrent(QStringLiteral("b.txt"), true);
    makeCurrent(QStringLiteral("d.txt"), true);
    dialogs.answerNext(MessageAnswer::Yes);
    Q_EMIT ListView1.keyPressed(Qt::Key_Delete);
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(lastMessage().text, QStringLiteral("Etes vous sur de supprimer ce fichier ?\r\n"
                                                 "Si oui, le fichier n'apparaitra pas dans la corbeille !"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("c.txt")});
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{QStringLiteral("c.txt")});
}

TEST_F(LocalFileOperationsTest, APartialDeletionNamesWhatStayedAndStillRebuildsTheList)
{
    open({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    makeCurrent(QStringLiteral("a.txt"));
    makeCurrent(QStringLiteral("b.txt"), true);
    makeCurrent(QStringLiteral("c.txt"), true);
    // b.txt became a folder since the listing: it cannot be deleted as a file.
    QFile::remove(temp.filePath(QStringLiteral("b.txt")));
    temp.createDir(QStringLiteral("b.txt"));
    // c.txt has gone already: nothing to report about it.
    QFile::remove(temp.filePath(QStringLiteral("c.txt")));

    dialogs.answerNext(MessageAnswer::Yes);
    operations.zLokDS_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("Le fichier \"b.txt\" n'a pas pu être supprimé !"));
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_TRUE(rowNames().isEmpty());
    EXPECT_FALSE(temp.exists(QStringLiteral("a.txt")));
}

TEST_F(LocalFileOperationsTest, ANewFolderShowsInDir1AndLeavesTheFileListAlone)
{
    open({QStringLiteral("a.txt")});
    makeCurrent(QStringLiteral("a.txt"));

    dialogs.typeNext(QStringLiteral("Photos"));
    operations.zLokNF_Click();
    EXPECT_EQ(dialogs.inputsAsked.last().prompt, QStringLiteral("Type a name of the new folder here"));
    EXPECT_EQ(dialogs.inputsAsked.last().title, QStringLiteral("Nová Složka"));
    EXPECT_TRUE(QFileInfo(temp.filePath(QStringLiteral("Photos"))).isDir());
    EXPECT_TRUE(folderEntries().contains(QStringLiteral("Photos")));
    EXPECT_EQ(ListView1.currentRow(), rowOf(QStringLiteral("a.txt")));
    EXPECT_EQ(Dir1.path(), temp.path());

    dialogs.typeNext(QStringLiteral("Photos"));
    operations.zLokNF_Click();
    EXPECT_EQ(lastMessage().text,
              QStringLiteral("Erreur lors de la création du dossier \r\nVérifier que le dossier n'existe pas !"));

    dialogs.typeNext(QStringLiteral("missing/inner"));
    operations.zLokNF_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("Erreur lors de la création du dossier \r\nLe dossier \"missing/inner\" "
                                                 "n'a pas pu être créé dans \"")
                                      + temp.folder() + QStringLiteral("\" !"));

    const qsizetype shown = dialogs.messages.size();
    const QStringList before = QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const std::optional<QString> &nothing : {std::optional<QString>(), std::optional(QStringLiteral("  "))}) {
        dialogs.typeNext(nothing);
        operations.zLokNF_Click();
    }
    EXPECT_EQ(dialogs.messages.size(), shown);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
}

TEST_F(LocalFileOperationsTest, OpenPropertiesAndFindGoToTheShellForTheCurrentFile)
{
    open({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    operations.zOpenFile_Click();
    operations.zProperties_Click();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Pas de fichier à ouvrir !"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Pas de sélection pour afficher les propriétés !"));
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::None);

    makeCurrent(QStringLiteral("b.txt"));
    makeCurrent(QStringLiteral("a.txt"), true);
    Q_EMIT ListView1.keyPressed(Qt::Key_Return);
    Q_EMIT ListView1.rowDoubleClicked(rowOf(QStringLiteral("a.txt")));
    operations.zProperties_Click();
    operations.zFind_Click();
    EXPECT_EQ(shell.openedDocuments, QStringList(2, temp.filePath(QStringLiteral("a.txt"))));
    EXPECT_EQ(shell.propertiesShown, QStringList{temp.filePath(QStringLiteral("a.txt"))});
    EXPECT_EQ(shell.searchesStarted, QStringList{temp.folder()});

    shell.openSucceeds = false;
    operations.zOpenFile_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("Aucun programme n'a pu ouvrir le fichier \"a.txt\" !"));

    QFile::remove(temp.filePath(QStringLiteral("a.txt")));
    operations.zOpenFile_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("Le fichier \"a.txt\" n'existe plus dans le dossier !"));
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("b.txt")});
    EXPECT_EQ(shell.openedDocuments.size(), 3);
}

} // namespace
} // namespace vendrel
