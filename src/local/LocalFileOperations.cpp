#include "local/LocalFileOperations.h"

#include "desktop/Shell.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "local/LocalBrowser.h"
#include "local/LocalFolderList.h"
#include "local/LocalFolderReader.h"
#include "local/LocalVolumes.h"
#include "platform/Paths.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vendrel {

namespace {

// A name that stays in the current folder: no separator, not "." nor "..".
bool isPlainFileName(const QString &name)
{
    return !name.contains(u'/') && !name.contains(QChar(u'\0')) && name != u"." && name != u"..";
}

// Names the files a deletion left in place; a long list is cut short.
QString undeletedFilesText(const QStringList &names)
{
    if (names.size() == 1)
        return QStringLiteral("Le fichier ") + quoted(names.first()) + QStringLiteral(" n'a pas pu être supprimé !");
    constexpr qsizetype shown = 10;
    QString text = QStringLiteral("Ces fichiers n'ont pas pu être supprimés :");
    for (qsizetype i = 0; i < names.size() && i < shown; ++i)
        text += QStringLiteral("\r\n") + quoted(names.at(i));
    if (names.size() > shown)
        text += QStringLiteral("\r\n... et %1 autres.").arg(names.size() - shown);
    return text;
}

} // namespace

LocalFileOperations::LocalFileOperations(SessionContext context, LocalBrowser &browser, Shell &shell, QString programFolder)
    : context_(context), browser_(browser), shell_(shell), programFolder_(std::move(programFolder))
{
    const LocalPane &pane = browser_.pane();
    connect(&pane.ListView1, &FileListView::rowDoubleClicked, this, [this] { ListView1_DblClick(); });
    connect(&pane.ListView1, &FileListView::keyPressed, this, &LocalFileOperations::ListView1_KeyDown);
    connect(&pane.ListView1, &FileListView::labelEditStarting, this, &LocalFileOperations::ListView1_BeforeLabelEdit);
    connect(&pane.ListView1, &FileListView::labelEdited, this, &LocalFileOperations::ListView1_AfterLabelEdit);
    connect(&pane.Dir1, &LocalFolderList::keyReleased, this, &LocalFileOperations::Dir1_KeyUp);
}

void LocalFileOperations::zLokRS_Click()
{
    const int row = browser_.pane().ListView1.currentRow();
    if (row < 0) {
        message(QStringLiteral("Pas de fichier à renommer !"));
        return;
    }
    browser_.pane().ListView1.editRow(row);
}

void LocalFileOperations::ListView1_BeforeLabelEdit(int row)
{
    context_.status.showMessage(QStringLiteral("Local: Renommer le fichier: ")
                                     + quoted(browser_.pane().files.cellText(row, FileListModel::Name)));
}

void LocalFileOperations::ListView1_AfterLabelEdit(int row, const QString &newName)
{
    const FileListModel &files = browser_.pane().files;
    if (row < 0 || row >= files.rowCount())
        return;
    const QString oldName = files.fileRow(row).name;
    if (newName == oldName)
        return;
    if (!isPlainFileName(newName)) {
        message(QStringLiteral("Le nom ") + quoted(newName) + QStringLiteral(" n'est pas un nom de fichier valide !"));
        return;
    }
    const QString oldExtension = extensionOf(oldName);
    const QString newExtension = extensionOf(newName);
    if (oldExtension != newExtension
        && context_.dialogs.message(QStringLiteral("Etes vous sur de changer l'exrtension du fichier: ") + quoted(oldExtension)
                                        + QStringLiteral(" to: ") + quoted(newExtension),
                                    MessageButtons::YesNo, MessageIcon::Question)
               != MessageAnswer::Yes)
        return;

    const QString from = context_.session.LocalFolder + oldName;
    const QString to = context_.session.LocalFolder + newName;
    if (QFile::rename(from, to)) {
        browser_.ListLocalFolder();
    } else if (!QFileInfo(from).isFile()) {
        reportFileGone(oldName);
    } else if (QFileInfo::exists(to)) {
        message(QStringLiteral("Nom de fichier déjà présent dans le dossier en cours? Erreur!"));
    } else {
        message(QStringLiteral("Le fichier ") + quoted(oldName) + QStringLiteral(" n'a pas pu être renommé en ")
                + quoted(newName) + QStringLiteral(" !"));
    }
}

void LocalFileOperations::zLokDF_Click()
{
    const QString folder = browser_.pane().Dir1.path();
    if (folder == u"/" || volumeRootOf(folder) == folder || isProtectedFolder(folder)) {
        message(QStringLiteral("Ce dossier ne peut être suppimé (Racine)!"));
        return;
    }
    const QString name = folder.mid(folder.lastIndexOf(u'/') + 1);
    if (context_.dialogs.message(QStringLiteral("Etes vous sur de supprimer ce dossier: ") + quoted(name)
                                     + QStringLiteral("? Etes vous sur qu'il ne contient pas de fichier !\r\n"
                                                      "Si oui, Il n'apparaitra pas dans la corbeille !"),
                                 MessageButtons::YesNo, MessageIcon::Question)
        != MessageAnswer::Yes)
        return;

    // A folder someone else removed meanwhile is gone all the same.
    if (QDir().rmdir(folder) || !QFileInfo::exists(folder)) {
        browser_.openFolder(parentFolder(folder));
        return;
    }
    const bool empty = QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    message(QStringLiteral("Le dossier ") + quoted(name)
            + (empty ? QStringLiteral(" n'a pas pu être supprimé : il est utilisé ou protégé !")
                     : QStringLiteral(" n'a pas pu être supprimé : il n'est pas vide !")));
}

void LocalFileOperations::zLokDS_Click()
{
    const LocalPane &pane = browser_.pane();
    const QList<int> rows = pane.ListView1.selectedRows();
    if (pane.ListView1.currentRow() < 0 || rows.isEmpty()) {
        message(QStringLiteral("Pas de fichier sélctionné !"));
        return;
    }
    if (context_.dialogs.message(QStringLiteral("Etes vous sur de supprimer ce fichier ?\r\n"
                                                "Si oui, le fichier n'apparaitra pas dans la corbeille !"),
                                 MessageButtons::YesNo, MessageIcon::Question)
        != MessageAnswer::Yes)
        return;

    QStringList undeleted;
    for (int row : rows) {
        const QString name = pane.files.fileRow(row).name;
        const QString path = context_.session.LocalFolder + name;
        if (!QFile::remove(path) && QFileInfo::exists(path))
            undeleted.append(name);
    }
    browser_.ListLocalFolder();
    if (!undeleted.isEmpty())
        message(undeletedFilesText(undeleted));
}

void LocalFileOperations::zLokNF_Click()
{
    const std::optional<QString> name = context_.dialogs.input(QStringLiteral("Type a name of the new folder here"),
                                                               QStringLiteral("Nová Složka"));
    if (!name || name->trimmed().isEmpty())
        return;
    const QString folder = context_.session.LocalFolder + *name;
    if (QDir().mkdir(folder)) {
        browser_.refreshFolderList();
        return;
    }
    if (QFileInfo::exists(folder)) {
        message(QStringLiteral("Erreur lors de la création du dossier \r\nVérifier que le dossier n'existe pas !"));
    } else {
        message(QStringLiteral("Erreur lors de la création du dossier \r\nLe dossier ") + quoted(*name)
                + QStringLiteral(" n'a pas pu être créé dans ") + quoted(context_.session.LocalFolder)
                + QStringLiteral(" !"));
    }
}

void LocalFileOperations::zOpenFile_Click()
{
    const std::optional<QString> path = currentFile(QStringLiteral("Pas de fichier à ouvrir !"), MessageIcon::Exclamation);
    if (path && !shell_.openDocument(*path))
        message(QStringLiteral("Aucun programme n'a pu ouvrir le fichier ") + quoted(QFileInfo(*path).fileName())
                + QStringLiteral(" !"));
}

void LocalFileOperations::zProperties_Click()
{
    const std::optional<QString> path =
        currentFile(QStringLiteral("Pas de sélection pour afficher les propriétés !"), MessageIcon::None);
    if (path)
        shell_.showProperties(*path);
}

void LocalFileOperations::zFind_Click()
{
    shell_.findFiles(context_.session.LocalFolder);
}

void LocalFileOperations::ListView1_DblClick()
{
    zOpenFile_Click();
}

void LocalFileOperations::ListView1_KeyDown(int key)
{
    if (key == Qt::Key_Delete)
        zLokDS_Click();
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        zOpenFile_Click();
}

void LocalFileOperations::Dir1_KeyUp(int key)
{
    if (key == Qt::Key_Delete)
        zLokDF_Click();
}

std::optional<QString> LocalFileOperations::currentFile(const QString &noRowMessage, MessageIcon noRowIcon)
{
    const LocalPane &pane = browser_.pane();
    const int row = pane.ListView1.currentRow();
    if (row < 0) {
        message(noRowMessage, noRowIcon);
        return std::nullopt;
    }
    const QString name = pane.files.fileRow(row).name;
    const QString path = context_.session.LocalFolder + name;
    if (!QFileInfo(path).isFile()) {
        reportFileGone(name);
        return std::nullopt;
    }
    return path;
}

bool LocalFileOperations::isProtectedFolder(const QString &folder) const
{
    return folder == programFolder_ || folder == programFolder_ + QStringLiteral("/Logon");
}

void LocalFileOperations::reportFileGone(const QString &name)
{
    browser_.ListLocalFolder();
    message(QStringLiteral("Le fichier ") + quoted(name) + QStringLiteral(" n'existe plus dans le dossier !"));
}

void LocalFileOperations::message(const QString &text, MessageIcon icon)
{
    context_.dialogs.message(text, MessageButtons::Ok, icon);
}

} // namespace vendrel
