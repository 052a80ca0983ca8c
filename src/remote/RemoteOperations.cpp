#include "remote/RemoteOperations.h"

#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "listing/RowFormat.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "remote/RemoteTexts.h"
#include "remote/RemoteTree.h"
#include "session/ActivityReport.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"
#include "session/ftp/FtpService.h"

#include <QMenu>
#include <QTreeWidget>

namespace vendrel {

RemoteOperations::RemoteOperations(SessionContext context, RemotePane pane, RemoteBrowser &browser, QMenu &zRemote)
    : context_(context), pane_(pane), browser_(browser), zRemote_(zRemote)
{
}

bool RemoteOperations::staysInsideFolder(const QString &name)
{
    if (name.contains(u'\\'))
        return false;
    const QStringList parts = name.split(u'/');
    return std::none_of(parts.begin(), parts.end(),
                        [](const QString &part) { return part.isEmpty() || part == u"." || part == u".."; });
}

bool RemoteOperations::checkConnected(const QString &notConnectedText)
{
    if (context_.session.isConnected())
        return true;
    context_.dialogs.message(notConnectedText, MessageButtons::Ok, MessageIcon::Information);
    return false;
}

void RemoteOperations::zRemRS_Click()
{
    if (!checkConnected(RemoteTexts::notConnected))
        return;
    const int row = pane_.ListView2.currentRow();
    if (row < 0) {
        context_.dialogs.message(RemoteTexts::noFileToRename, MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    pane_.ListView2.editRow(row);
}

void RemoteOperations::ListView2_BeforeLabelEdit(int row)
{
    context_.status.showMessage(QStringLiteral("Serveur: Renommer le fichier: ")
                                + quoted(pane_.files.cellText(row, FileListModel::Name)));
}

void RemoteOperations::ListView2_AfterLabelEdit(int row, const QString &newName)
{
    const QString oldName = pane_.files.cellText(row, FileListModel::Name);
    const QString oldPath = context_.session.RemoteFolder + oldName;
    const QString newPath = context_.session.RemoteFolder + newName;
    const bool extensionChanges = extensionOf(oldName) != extensionOf(newName);
    if (extensionChanges) {
        const QString question = RemoteTexts::extensionQuestion(extensionOf(oldName), extensionOf(newName));
        if (context_.dialogs.message(question, MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes)
            return;
        context_.log.AppendLogLine(QStringLiteral(" > Envoi de la demande pour renommer: ") + quoted(oldPath));
    } else {
        context_.log.AppendLogLine(QStringLiteral(" > Demande pour renommer le fichier: ") + quoted(oldPath));
    }
    const bool replacing = listsAnotherFile(row, newName);
    if (replacing
        && context_.dialogs.message(RemoteTexts::replaceOnRenameQuestion(newName), MessageButtons::YesNo,
                                    MessageIcon::Question)
               != MessageAnswer::Yes)
        return;
    const FtpHandle connection = context_.session.ConnectionHandle;
    // A server that will not rename over a file gets the other one deleted first.
    const bool renamed = staysInsideFolder(newName)
                         && (context_.ftp.FtpRenameFile(connection, oldPath, newPath)
                             || (replacing && context_.ftp.FtpDeleteFile(connection, newPath)
                                 && context_.ftp.FtpRenameFile(connection, oldPath, newPath)));
    if (!renamed) {
        // The row keeps the server's name: showing the refused one would mislead.
        context_.dialogs.message(extensionChanges ? RemoteTexts::cannotRenameExtension : RemoteTexts::cannotRename,
                                 MessageButtons::Ok, MessageIcon::Exclamation);
        context_.log.AppendLogLine(QStringLiteral(" > Demande abortée!"));
        return;
    }
    pane_.files.renameRow(row, newName);
    context_.log.AppendLogLine(QStringLiteral(" > Fichier renommé en: ") + quoted(newPath));
    browser_.zRemRef_Click();
}

bool RemoteOperations::listsAnotherFile(int row, const QString &name) const
{
    for (int other = 0; other < pane_.files.rowCount(); ++other)
        if (other != row && pane_.files.fileRow(other).name == name)
            return true;
    return false;
}

void RemoteOperations::zRemDF_Click()
{
    if (!checkConnected(RemoteTexts::notConnectedForFolder))
        return;
    QTreeWidgetItem *node = pane_.TView1.widget().currentItem();
    if (node == nullptr)
        return;
    if (node->text(0) == u"..") {
        context_.dialogs.message(RemoteTexts::rootFolder, MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    if (context_.dialogs.message(RemoteTexts::deleteFolderQuestion(node->text(0)), MessageButtons::YesNo,
                                 MessageIcon::Question)
        != MessageAnswer::Yes)
        return;

    // The folder named in the question is the one removed: the selected node's.
    QString path = RemoteTree::keyOf(node);
    path.chop(1);
    context_.log.AppendLogLine(QStringLiteral(" > Demande de suppression de dossier: ") + quoted(nodeTextPath(node)));
    if (!context_.ftp.FtpRemoveDirectory(context_.session.ConnectionHandle, path)) {
        context_.dialogs.message(RemoteTexts::folderNotRemoved, MessageButtons::Ok, MessageIcon::Exclamation);
        context_.log.AppendLogLine(QStringLiteral(" > Erreur rencontrée lors de la suppression du dossier !"));
        return;
    }
    context_.log.AppendLogLine(QStringLiteral(" > Demande terminée avec succès."));
    browser_.selectNode(node->parent());
    browser_.zRemRef_Click();
}

void RemoteOperations::zRemDS_Click()
{
    if (!checkConnected(RemoteTexts::notConnected))
        return;
    if (pane_.ListView2.currentRow() < 0) {
        context_.dialogs.message(RemoteTexts::noFileToDelete, MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    if (context_.dialogs.message(RemoteTexts::deleteFileQuestion, MessageButtons::YesNo, MessageIcon::Question)
        != MessageAnswer::Yes)
        return;
    context_.log.AppendLogLine(QStringLiteral(" > Demande en cours."));
    QStringList names;
    for (int row : pane_.ListView2.selectedRows())
        names.append(pane_.files.cellText(row, FileListModel::Name));
    for (const QString &name : names) {
        const QString path = context_.session.RemoteFolder + name;
        context_.log.AppendLogLine(QStringLiteral(" > Suppression : ") + quoted(path));
        if (!context_.ftp.FtpDeleteFile(context_.session.ConnectionHandle, path)) {
            context_.dialogs.message(RemoteTexts::fileNotDeleted, MessageButtons::Ok, MessageIcon::Exclamation);
            context_.log.AppendLogLine(QStringLiteral(" > Erreur rencontrée lors de la suppression du fichier !"));
            break; // the files before it are gone: the refresh below shows it
        }
        context_.log.AppendLogLine(QStringLiteral(" > OK"));
    }
    browser_.zRemRef_Click();
}

void RemoteOperations::zRemNF_Click()
{
    if (!checkConnected(RemoteTexts::notConnected))
        return;
    const std::optional<QString> answer =
        context_.dialogs.input(RemoteTexts::newFolderPrompt, RemoteTexts::newFolderTitle);
    if (!answer || answer->trimmed().isEmpty())
        return;
    const QString path = context_.session.RemoteFolder + *answer;
    context_.log.AppendLogLine(QStringLiteral(" > Demande de création d'un nouveau dossier: ") + quoted(path));
    if (!staysInsideFolder(*answer) || !context_.ftp.FtpCreateDirectory(context_.session.ConnectionHandle, path)) {
        context_.dialogs.message(RemoteTexts::folderNotCreated, MessageButtons::Ok, MessageIcon::Exclamation);
        context_.log.AppendLogLine(QStringLiteral(" > Erreur rencontrée lors de la création du nouveau dossier !"));
        return;
    }
    context_.log.AppendLogLine(QStringLiteral(" > Dossier crée avec succès !."));
    browser_.zRemRef_Click();
}

void RemoteOperations::ListView2_ColumnClick(int column)
{
    pane_.ListView2.sortByClickedColumn(column);
}

void RemoteOperations::ListView2_Click()
{
    const QList<int> rows = pane_.ListView2.selectedRows();
    context_.status.showMessage(QStringLiteral("Serveur: ") + QString::number(rows.size())
                                + QStringLiteral(" Fichiers sélectionnés, ")
                                + kilobyteText(pane_.files.totalBytes(rows)) + QStringLiteral(" Ko"));
}

void RemoteOperations::ListView2_KeyUp(int key)
{
    if (key == Qt::Key_Delete)
        zRemDS_Click();
}

void RemoteOperations::ListView2_ContextMenu(const QPoint &globalPosition)
{
    zRemote_.exec(globalPosition);
}

QString RemoteOperations::nodeTextPath(const QTreeWidgetItem *node)
{
    QStringList texts;
    for (; node != nullptr; node = node->parent())
        texts.prepend(node->text(0));
    return texts.join(u'\\');
}

} // namespace vendrel
