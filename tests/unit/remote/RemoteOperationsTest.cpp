#include "support/RemotePaneHarness.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTreeView>

namespace vendrel {
namespace {

struct RemoteOperationsTest : test::RemotePaneHarness, ::testing::Test {
    RemoteOperationsTest()
    {
        connectToFakeServer();
        openPub();
        forgetLog();
        ftp.calls.clear();
    }

    QStringList logLines() const
    {
        QStringList lines = log.text().split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }
};

TEST_F(RemoteOperationsTest, RenamingKeepingTheExtensionAsksNothingAndRelists)
{
    view.selectRow(rowOf(QStringLiteral("y.txt")));
    operations.ListView2_BeforeLabelEdit(rowOf(QStringLiteral("y.txt")));
    EXPECT_EQ(status.panelText(StatusPanels::MessagePanel), QStringLiteral("Serveur: Renommer le fichier: \"y.txt\""));
    operations.ListView2_AfterLabelEdit(rowOf(QStringLiteral("y.txt")), QStringLiteral("b.txt"));

    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(ftp.callTexts().at(0), QStringLiteral("FtpRenameFile(17, /pub/y.txt, /pub/b.txt)"));
    EXPECT_TRUE(ftp.hasFile(QStringLiteral("/pub/b.txt")));
    EXPECT_EQ(logLines().mid(0, 2), (QStringList{QStringLiteral("14:07:33 > Demande pour renommer le fichier: \"/pub/y.txt\""),
                                                 QStringLiteral("14:07:33 > Fichier renommé en: \"/pub/b.txt\"")}));
    EXPECT_EQ(logLines().at(2), QStringLiteral("14:07:33 > Transfert des données...")); // the folder is listed again
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("b.txt"), QStringLiteral("x.zip")}));
}

TEST_F(RemoteOperationsTest, ChangingTheExtensionAsksAndNoSendsNothing)
{
    dialogs.answerNext(MessageAnswer::No);
    operations.ListView2_AfterLabelEdit(rowOf(QStringLiteral("y.txt")), QStringLiteral("y.zip"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.at(0).text,
              QStringLiteral("Etes vous sur de changer l'extension du fichier: \"txt\" to: \"zip\""));
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::Question);
    EXPECT_TRUE(ftp.calls.isEmpty());
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("x.zip"), QStringLiteral("y.txt")}));

    dialogs.answerNext(MessageAnswer::Yes);
    operations.ListView2_AfterLabelEdit(rowOf(QStringLiteral("y.txt")), QStringLiteral("y.zip"));
    EXPECT_EQ(logLines().at(0), QStringLiteral("14:07:33 > Envoi de la demande pour renommer: \"/pub/y.txt\""));
    EXPECT_TRUE(ftp.hasFile(QStringLiteral("/pub/y.zip")));
}

TEST_F(RemoteOperationsTest, ARefusedRenameSaysWhichKindAndKeepsTheServersName)
{
    ftp.failCall(QStringLiteral("FtpRenameFile"), 2);
    operations.ListView2_AfterLabelEdit(rowOf(QStringLiteral("y.txt")), QStringLiteral("z.txt"));
    dialogs.answerNext(MessageAnswer::Yes);
    operations.ListView2_AfterLabelEdit(rowOf(QStringLiteral("y.txt")), QStringLiteral("z.doc"));
    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Ne peut accomplir la demande"),
                           QStringLiteral("Etes vous sur de changer l'extension du fichier: \"txt\" to: \"doc\""),
                           QStringLiteral("Ne peut renommer le fichier")}));
    EXPECT_EQ(logLines().filter(QStringLiteral("abortée")).size(), 2);
    EXPECT_EQ(logLines().at(1), QStringLiteral("14:07:33 > Demande abortée!"));
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("x.zip"), QStringLiteral("y.txt")}));
}

TEST_F(RemoteOperationsTest, ANameThatWouldLeaveTheFolderIsNeverSent)
{
    for (const char *name : {"../y.txt", "/etc/y.txt", "a\\y.txt", "sub/../../y.txt"})
        operations.ListView2_AfterLabelEdit(rowOf(QStringLiteral("y.txt")), QString::fromLatin1(name));
    EXPECT_EQ(ftp.callNames().count(QStringLiteral("FtpRenameFile")), 0);
    EXPECT_EQ(dialogs.messageTexts().count(QStringLiteral("Ne peut accomplir la demande")), 4);
}

TEST_F(RemoteOperationsTest, RenameCommandNeedsAConnectionAndARow)
{
    operations.zRemRS_Click();
    session.ConnectionHandle = 0;
    operations.zRemRS_Click();
    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Pas de fichier à renommer !"), QStringLiteral("Pas de connexion sur le serveur !")}));
    EXPECT_EQ(dialogs.messages.at(0).icon, MessageIcon::Exclamation);
}

TEST_F(RemoteOperationsTest, DeletingTheCurrentFolderSelectsAndListsItsParent)
{
    ftp.addFolder(QStringLiteral("/pub/old"));
    clickNode(QStringLiteral("/pub/"));
    clickNode(QStringLiteral("/pub/old/"));
    forgetLog();
    ftp.calls.clear();
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zRemDF_Click();

    EXPECT_EQ(dialogs.messages.at(0).text,
              QStringLiteral("Etes vous sur de supprimer ce dossier: \"old\"? (Suppression de dossier !)\r\nSuppression de dossier!"));
    EXPECT_EQ(ftp.callTexts().at(0), QStringLiteral("FtpRemoveDirectory(17, /pub/old)"));
    EXPECT_EQ(logLines().mid(0, 2),
              (QStringList{QStringLiteral("14:07:33 > Demande de suppression de dossier: \"..\\pub\\old\""),
                           QStringLiteral("14:07:33 > Demande terminée avec succès.")}));
    EXPECT_EQ(RemoteTree::keyOf(treeWidget.currentItem()), QStringLiteral("/pub/"));
    EXPECT_EQ(session.RemoteFolder, QStringLiteral("/pub/"));
    EXPECT_EQ(tree.nodeByKey(QStringLiteral("/pub/old/")), nullptr);
    EXPECT_FALSE(ftp.hasFolder(QStringLiteral("/pub/old")));
}

TEST_F(RemoteOperationsTest, TheRootCannotBeDeletedAndAFullFolderIsReported)
{
    clickNode(QStringLiteral("/"));
    operations.zRemDF_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Ce dossier ne peut être supprimé (Racine)!")});

    clickNode(QStringLiteral("/pub/"));
    forgetLog();
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zRemDF_Click(); // /pub holds files
    EXPECT_EQ(dialogs.messageTexts().last(),
              QStringLiteral("Erreur! Etes vous sur que le dossier ne contienne pas de fichiers ?"));
    EXPECT_EQ(logLines().last(), QStringLiteral("14:07:33 > Erreur rencontrée lors de la suppression du dossier !"));
    EXPECT_TRUE(ftp.hasFolder(QStringLiteral("/pub")));

    dialogs.answerNext(MessageAnswer::No);
    ftp.calls.clear();
    operations.zRemDF_Click();
    EXPECT_TRUE(ftp.calls.isEmpty());

    session.ConnectionHandle = 0;
    operations.zRemDF_Click();
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Pas de connexion sur le serveur!"));
}

TEST_F(RemoteOperationsTest, DeletingSelectedFilesAsksOnceLogsEachFileAndRelists)
{
    ftp.addFile(QStringLiteral("/pub/z.txt"));
    browser.zRemRef_Click();
    forgetLog();
    view.selectRow(0);
    view.selectRow(1, true);
    view.selectRow(2, true);
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zRemDS_Click();
    EXPECT_EQ(dialogs.messages.at(0).text, QStringLiteral("Etes vous sur de supprimer ce fichier ?"));
    EXPECT_EQ(logLines().mid(0, 7),
              (QStringList{QStringLiteral("14:07:33 > Demande en cours."),
                           QStringLiteral("14:07:33 > Suppression : \"/pub/x.zip\""), QStringLiteral("14:07:33 > OK"),
                           QStringLiteral("14:07:33 > Suppression : \"/pub/y.txt\""), QStringLiteral("14:07:33 > OK"),
                           QStringLiteral("14:07:33 > Suppression : \"/pub/z.txt\""), QStringLiteral("14:07:33 > OK")}));
    EXPECT_TRUE(rowNames().isEmpty()); // listed again
}

TEST_F(RemoteOperationsTest, AFailedDeletionStopsTheWalkAndTheListShowsWhatIsLeft)
{
    ftp.addFile(QStringLiteral("/pub/z.txt"));
    browser.zRemRef_Click();
    forgetLog();
    for (int row = 0; row < 3; ++row)
        view.selectRow(row, row > 0);
    ftp.failCall(QStringLiteral("FtpDeleteFile"), 1, 1); // the second one
    dialogs.answerNext(MessageAnswer::Yes);
    operations.zRemDS_Click();
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("Erreur rencontrée lors de la suppression du fichier !"));
    EXPECT_EQ(logLines().mid(0, 5),
              (QStringList{QStringLiteral("14:07:33 > Demande en cours."),
                           QStringLiteral("14:07:33 > Suppression : \"/pub/x.zip\""), QStringLiteral("14:07:33 > OK"),
                           QStringLiteral("14:07:33 > Suppression : \"/pub/y.txt\""),
                           QStringLiteral("14:07:33 > Erreur rencontrée lors de la suppression du fichier !")}));
    EXPECT_TRUE(ftp.hasFile(QStringLiteral("/pub/z.txt"))); // never tried
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("y.txt"), QStringLiteral("z.txt")}));
}

TEST_F(RemoteOperationsTest, DeletingNeedsARowAndAYes)
{
    operations.zRemDS_Click();
    view.selectRow(0);
    dialogs.answerNext(MessageAnswer::No);
    operations.zRemDS_Click();
    EXPECT_EQ(dialogs.messageTexts().at(0), QStringLiteral("Pas de fichier sélectionné pour être supprimé !"));
    EXPECT_TRUE(ftp.calls.isEmpty());
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(RemoteOperationsTest, CreatingAFolderSendsTheTypedNameAndShowsTheNode)
{
    dialogs.typeNext(QStringLiteral("nouveau dossier"));
    operations.zRemNF_Click();
    EXPECT_EQ(dialogs.inputsAsked.at(0).prompt, QStringLiteral("Nom du nouveau dossier"));
    EXPECT_EQ(dialogs.inputsAsked.at(0).title, QStringLiteral("Créer un nouveau dossier"));
    EXPECT_EQ(ftp.callTexts().at(0), QStringLiteral("FtpCreateDirectory(17, /pub/nouveau dossier)"));
    EXPECT_EQ(logLines().mid(0, 2),
              (QStringList{QStringLiteral("14:07:33 > Demande de création d'un nouveau dossier: \"/pub/nouveau dossier\""),
                           QStringLiteral("14:07:33 > Dossier crée avec succès !.")}));
    EXPECT_NE(tree.nodeByKey(QStringLiteral("/pub/nouveau dossier/")), nullptr);

    ftp.calls.clear();
    for (const QString &nothing : {QString(), QStringLiteral("   ")}) {
        dialogs.typeNext(nothing);
        operations.zRemNF_Click();
    }
    EXPECT_TRUE(ftp.calls.isEmpty());
}

TEST_F(RemoteOperationsTest, AnExistingOrEscapingFolderNameIsRefused)
{
    dialogs.typeNext(QStringLiteral("a"));
    operations.zRemNF_Click();
    dialogs.typeNext(QStringLiteral("../dehors"));
    operations.zRemNF_Click();
    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Erreur rencontrée lors de la création du nouveau dossier!"),
                           QStringLiteral("Erreur rencontrée lors de la création du nouveau dossier!")}));
    EXPECT_EQ(logLines().last(), QStringLiteral("14:07:33 > Erreur rencontrée lors de la création du nouveau dossier !"));
    EXPECT_EQ(ftp.callNames().count(QStringLiteral("FtpCreateDirectory")), 1); // "../dehors" never left
    EXPECT_FALSE(ftp.hasFolder(QStringLiteral("/dehors")));
}

TEST_F(RemoteOperationsTest, ColumnClicksFlipTheOrderAndSortSizesAsNumbers)
{
    ftp.addFile(QStringLiteral("/pub/big.iso"), QByteArray(900, 'b'));
    browser.zRemRef_Click();
    operations.ListView2_ColumnClick(FileListModel::SizeBytes);
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("x.zip"), QStringLiteral("y.txt"), QStringLiteral("big.iso")}));
    EXPECT_EQ(view.detailsView()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    operations.ListView2_ColumnClick(FileListModel::Name);
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("big.iso"), QStringLiteral("x.zip"), QStringLiteral("y.txt")}));
    browser.zRemRef_Click(); // a new listing keeps the order
    EXPECT_EQ(rowNames(), (QStringList{QStringLiteral("big.iso"), QStringLiteral("x.zip"), QStringLiteral("y.txt")}));
}

TEST_F(RemoteOperationsTest, TheSelectionSummaryCountsBytesInKoOf1000)
{
    operations.ListView2_Click();
    EXPECT_EQ(status.panelText(StatusPanels::MessagePanel), QStringLiteral("Serveur: 0 Fichiers sélectionnés, 0 Ko"));
    view.selectRow(0);
    view.selectRow(1, true);
    operations.ListView2_Click();
    EXPECT_EQ(status.panelText(StatusPanels::MessagePanel), QStringLiteral("Serveur: 2 Fichiers sélectionnés, 2,56 Ko"));
}

TEST_F(RemoteOperationsTest, TheDeleteKeyDeletesTheSelectedFiles)
{
    view.selectRow(0);
    dialogs.answerNext(MessageAnswer::No);
    operations.ListView2_KeyUp(Qt::Key_Delete);
    operations.ListView2_KeyUp(Qt::Key_Return);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Etes vous sur de supprimer ce fichier ?")});
}

} // namespace
} // namespace vendrel
