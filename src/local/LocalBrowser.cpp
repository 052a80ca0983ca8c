#include "local/LocalBrowser.h"

#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "listing/RowFormat.h"
#include "local/LocalFolderList.h"
#include "local/LocalFolderReader.h"
#include "local/RowDrag.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/WildcardPattern.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>

namespace vendrel {

namespace {

constexpr qsizetype captionLimit = 30;

// Label1 keeps the end of a long path, the part that tells folders apart.
QString folderCaption(const QString &localFolder)
{
    if (localFolder.size() <= captionLimit)
        return localFolder;
    return QStringLiteral("...") + localFolder.right(captionLimit).trimmed();
}

QString volumeText(const LocalVolume &volume)
{
    return volume.label.isEmpty() ? volume.root : volume.root + QStringLiteral("  [") + volume.label + u']';
}

} // namespace

LocalBrowser::LocalBrowser(SessionContext context, LocalPane pane) : context_(context), pane_(pane)
{
    new RowDrag(pane_.ListView1); // owned by the list
    for (QAction *item : filterItems()) {
        item->setCheckable(true);
        item->setChecked(item == &pane_.filters.zAll);
    }

    connect(&pane_.Drive1, &QComboBox::activated, this, [this] { Drive1_Change(); });
    pane_.Drive1.installEventFilter(this);
    connect(&pane_.Dir1, &LocalFolderList::folderOpened, this, &LocalBrowser::Dir1_Change);
    connect(&pane_.Dir1, &LocalFolderList::folderClicked, this, &LocalBrowser::Dir1_Click);
    connect(&pane_.ListView1, &FileListView::columnClicked, this, &LocalBrowser::ListView1_ColumnClick);
    connect(&pane_.ListView1, &FileListView::clicked, this, &LocalBrowser::ListView1_Click);
    connect(&pane_.ListView1, &FileListView::contextMenuRequested, this, &LocalBrowser::ListView1_MouseDown);
}

void LocalBrowser::openFolder(const QString &folder)
{
    pane_.Dir1.setPath(folder);
    ListLocalFolder();
}

void LocalBrowser::ListLocalFolder()
{
    const QString requested = pane_.Dir1.path();
    const QString folder = nearestReadableFolder(requested);
    LocalFolderContents contents = readLocalFolder(folder, WildcardPattern(pattern_));

    showVolumes(folder);
    pane_.Dir1.showFolder(folder, contents.subfolders);
    pane_.files.clear();
    context_.session.LocalFolder = AddBackslash(folder);
    showFolderPath();
    const auto count = static_cast<qint64>(contents.files.size());
    pane_.files.appendRows(std::move(contents.files));
    pane_.ListView1.clearCurrentRow();
    context_.status.showMessage(QStringLiteral("Local: ") + QString::number(count)
                                + QStringLiteral(" Fichiers dans le dossier: ") + context_.session.LocalFolder);
    if (folder != requested)
        reportFolderGone(requested, folder);
}

void LocalBrowser::refreshFolderList()
{
    const QString folder = pane_.Dir1.path();
    pane_.Dir1.showFolder(folder, readSubfolders(folder));
}

void LocalBrowser::zLokRef_Click()
{
    ListLocalFolder();
}

void LocalBrowser::zAll_Click()
{
    chooseFilter(pane_.filters.zAll, QStringLiteral("*.*"));
}

void LocalBrowser::Z_HTML_Click()
{
    chooseFilter(pane_.filters.Z_HTML, QStringLiteral("*.html;*.htm"));
}

void LocalBrowser::Z_Images_Click()
{
    chooseFilter(pane_.filters.Z_Images, QStringLiteral("*.gif;*.jpg"));
}

void LocalBrowser::Z_Zip_Click()
{
    chooseFilter(pane_.filters.Z_Zip, QStringLiteral("*.zip"));
}

void LocalBrowser::Z_Exe_Click()
{
    chooseFilter(pane_.filters.Z_Exe, QStringLiteral("*.exe"));
}

void LocalBrowser::zDefine_Click()
{
    const std::optional<QString> pattern = context_.dialogs.input(
        QStringLiteral("Définir le type d'extension des fichiers(*.?):"), QStringLiteral("Filtre"));
    if (!pattern || pattern->isEmpty())
        return;
    chooseFilter(pane_.filters.zDefine, *pattern);
}

void LocalBrowser::chooseFilter(QAction &item, const QString &pattern)
{
    for (QAction *each : filterItems())
        each->setChecked(each == &item);
    pattern_ = pattern;
    ListLocalFolder();
}

std::array<QAction *, 6> LocalBrowser::filterItems() const
{
    const LocalFilterItems &items = pane_.filters;
    return {&items.zAll, &items.Z_HTML, &items.Z_Images, &items.Z_Zip, &items.Z_Exe, &items.zDefine};
}

void LocalBrowser::Drive1_Change()
{
    const QString root = pane_.Drive1.currentData().toString();
    if (!isReadableFolder(root)) {
        context_.dialogs.message(
            QStringLiteral("Le volume \"") + root
                + QStringLiteral("\" ne peut pas être lu !\r\nVérifier qu'il est monté et accessible."),
            MessageButtons::Ok, MessageIcon::Exclamation);
        showVolumes(pane_.Dir1.path());
        return;
    }
    openFolder(root);
}

void LocalBrowser::Drive1_GotFocus()
{
    context_.status.showMessage(QStringLiteral("Mode Local: Choisir le disque local"));
}

void LocalBrowser::Dir1_Click()
{
    context_.status.showMessage(QStringLiteral("Local: Double click sur le dossier pour recevoir tous les fichiers"));
}

void LocalBrowser::Dir1_Change()
{
    ListLocalFolder();
}

void LocalBrowser::ListView1_ColumnClick(int column)
{
    pane_.ListView1.sortByClickedColumn(column);
}

void LocalBrowser::ListView1_Click()
{
    if (pane_.ListView1.currentRow() < 0)
        return;
    const QList<int> rows = pane_.ListView1.selectedRows();
    context_.status.showMessage(QStringLiteral("Local: ") + QString::number(rows.size())
                                + QStringLiteral(" Fichiers sélectionnés, ")
                                + kilobyteText(pane_.files.totalBytes(rows)) + QStringLiteral(" Ko"));
}

void LocalBrowser::ListView1_MouseDown(const QPoint &globalPosition)
{
    pane_.zLocal.popup(globalPosition);
}

bool LocalBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &pane_.Drive1 && event->type() == QEvent::FocusIn)
        Drive1_GotFocus();
    return QObject::eventFilter(watched, event);
}

void LocalBrowser::showVolumes(const QString &folder)
{
    QList<LocalVolume> volumes = mountedVolumes();
    const QString root = volumeRootOf(folder);
    if (std::none_of(volumes.cbegin(), volumes.cend(),
                     [&root](const LocalVolume &volume) { return volume.root == root; }))
        volumes.append({root, {}});
    const QSignalBlocker quiet(&pane_.Drive1);
    if (volumes != volumes_) {
        volumes_ = volumes;
        pane_.Drive1.clear();
        for (const LocalVolume &volume : volumes_)
            pane_.Drive1.addItem(volumeText(volume), volume.root);
    }
    pane_.Drive1.setCurrentIndex(pane_.Drive1.findData(root));
}

void LocalBrowser::showFolderPath()
{
    const QString &folder = context_.session.LocalFolder;
    pane_.Label1.setText(folderCaption(folder));
    pane_.Label1.setToolTip(folder);
}

void LocalBrowser::reportFolderGone(const QString &requested, const QString &shown)
{
    const QString why = QFileInfo::exists(requested) ? QStringLiteral("\" ne peut pas être lu !")
                                                     : QStringLiteral("\" n'existe plus !");
    context_.dialogs.message(QStringLiteral("Le dossier \"") + requested + why + QStringLiteral("\r\nLe dossier \"")
                                 + shown + QStringLiteral("\" est affiché à la place."),
                             MessageButtons::Ok, MessageIcon::Exclamation);
}

} // namespace vendrel
