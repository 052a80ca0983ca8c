#include "local/LocalFileOperations.h"

#include "desktop/Shell.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "local/LocalBrowser.h"
#include "local/LocalFolderList.h"
#include "local/LocalFolderReader.h"
#include "local/LocalTexts.h"
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

} // namespace

LocalFileOperations::LocalFileOperations(SessionContext context, LocalBrowser &browser, Shell &shell,
                                         QString dataFolder)
    : context_(context), browser_(browser), shell_(shell), dataFolder_(std::move(dataFolder))
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
        message(LocalTexts::noFileToRename);
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
        message(LocalTexts::invalidName(newName));
        return;
    }
    const QString oldExtension = extensionOf(oldName);
    const QString newExtension = extensionOf(newName);
    if (oldExtension != newExtension
        && context_.dialogs.message(LocalTexts::extensionQuestion(oldExtension, newExtension), MessageButtons::YesNo,
                                    MessageIcon::Question)
               != MessageAnswer::Yes)
        return;

    const QString from = context_.session.LocalFolder + oldName;
    const QString to = context_.session.LocalFolder + newName;
    if (QFile::rename(from, to)) {
        browser_.ListLocalFolder();
    } else if (!QFileInfo(from).isFile()) {
        reportFileGone(oldName);
    } else if (QFileInfo::exists(to)) {
        message(LocalTexts::nameTaken);
    } else {
        message(LocalTexts::notRenamed(oldName, newName));
    }
}

void LocalFileOperations::zLokDF_Click()
{
    const QString folder = browser_.pane().Dir1.path();
    if (folder == u"/" || volumeRootOf(folder) == folder || isProtectedFolder(folder)) {
        message(LocalTexts::rootFolder);
        return;
    }
    const QString name = folder.mid(folder.lastIndexOf(u'/') + 1);
    if (context_.dialogs.message(LocalTexts::deleteFolderQuestion(name), MessageButtons::YesNo, MessageIcon::Question)
        != MessageAnswer::Yes)
        return;

    // A folder someone else removed meanwhile is gone all the same.
    if (QDir().rmdir(folder) || !QFileInfo::exists(folder)) {
        browser_.openFolder(parentFolder(folder));
        return;
    }
    const bool empty = QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    message(LocalTexts::folderNotRemoved(name, empty));
}

void LocalFileOperations::zLokDS_Click()
{
    const LocalPane &pane = browser_.pane();
    const QList<int> rows = pane.ListView1.selectedRows();
    if (pane.ListView1.currentRow() < 0 || rows.isEmpty()) {
        message(LocalTexts::noFileSelected);
        return;
    }
    if (context_.dialogs.message(LocalTexts::deleteFileQuestion, MessageButtons::YesNo, MessageIcon::Question)
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
        message(LocalTexts::filesNotDeleted(undeleted));
}

void LocalFileOperations::zLokNF_Click()
{
    const std::optional<QString> name = context_.dialogs.input(LocalTexts::newFolderPrompt, LocalTexts::newFolderTitle);
    if (!name || name->trimmed().isEmpty())
        return;
    const QString folder = context_.session.LocalFolder + *name;
    if (QDir().mkdir(folder)) {
        browser_.refreshFolderList();
        return;
    }
    if (QFileInfo::exists(folder)) {
        message(LocalTexts::folderExists);
    } else {
        message(LocalTexts::folderNotCreated(*name, context_.session.LocalFolder));
    }
}

void LocalFileOperations::zOpenFile_Click()
{
    const std::optional<QString> path = currentFile(LocalTexts::noFileToOpen, MessageIcon::Exclamation);
    if (path && !shell_.openDocument(*path))
        message(LocalTexts::noProgramOpens(QFileInfo(*path).fileName()));
}

void LocalFileOperations::zProperties_Click()
{
    const std::optional<QString> path = currentFile(LocalTexts::noFileForProperties, MessageIcon::None);
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
    return folder == dataFolder_ || folder == dataFolder_ + QStringLiteral("/Logon");
}

void LocalFileOperations::reportFileGone(const QString &name)
{
    browser_.ListLocalFolder();
    message(LocalTexts::fileGone(name));
}

void LocalFileOperations::message(const QString &text, MessageIcon icon)
{
    context_.dialogs.message(text, MessageButtons::Ok, icon);
}

} // namespace vendrel
