#include "remote/RemoteBrowser.h"

#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "listing/RowFormat.h"
#include "listing/ServerRowTime.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "remote/RemoteTree.h"
#include "session/ActivityReport.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"
#include "session/ftp/FtpErrorCodes.h"
#include "session/ftp/FtpService.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTreeWidget>
#include <vector>

namespace vendrel {

namespace {

// The hourglass over the window while the server is asked.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Rows go to the model in batches, with a repaint between them, so a huge
// folder never holds the window still for long.
class RowBatcher {
public:
    explicit RowBatcher(FileListModel &files) : files_(files) { sinceFlush_.start(); }
    ~RowBatcher() { flush(); }
    RowBatcher(const RowBatcher &) = delete;
    RowBatcher &operator=(const RowBatcher &) = delete;

    void add(FileRow row)
    {
        pending_.push_back(std::move(row));
        if ((pending_.size() & 0xFF) == 0 && sinceFlush_.elapsed() >= 12) {
            flush();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            sinceFlush_.restart();
        }
    }

    void flush() { files_.appendRows(std::exchange(pending_, {})); }

private:
    FileListModel &files_;
    std::vector<FileRow> pending_;
    QElapsedTimer sinceFlush_;
};

} // namespace

RemoteBrowser::RemoteBrowser(SessionContext context, RemotePane pane) : context_(context), pane_(pane) {}

void RemoteBrowser::ListRemoteFolder()
{
    if (!context_.session.isConnected()) {
        context_.dialogs.message(QStringLiteral("Vous n'êtes pas connecté sur un serveur"), MessageButtons::Ok,
                                 MessageIcon::Information);
        return;
    }
    context_.status.showMessage(timeOfDayText(context_.clock.now().time())
                                + QStringLiteral("  > Envoi de la demande..., Attendez."));
    BusyCursor busy;
    pane_.files.clear();
    context_.log.AppendLogLine(QStringLiteral(" > Transfert des données..."));
    context_.log.AppendLogLine(QStringLiteral(" > Ouverture du dossier: ") + quoted(context_.session.RemoteSearchSpec));

    FindData entry;
    const FtpHandle find =
        context_.ftp.FtpFindFirstFile(context_.session.ConnectionHandle, context_.session.RemoteSearchSpec, entry,
                                      ftp::INTERNET_FLAG_RELOAD | ftp::INTERNET_FLAG_NO_CACHE_WRITE, 0);
    // The service tells an empty folder from a refused or broken listing.
    const int error = context_.ftp.lastError().code;
    const bool listingFailed = find == 0 && error != 0 && error != ftp::ERROR_NO_MORE_FILES;
    {
        RowBatcher rows(pane_.files);
        for (bool more = find != 0; more; more = context_.ftp.InternetFindNextFile(find, entry)) {
            if (entry.name.isEmpty())
                continue;
            if (entry.isFolder()) {
                if (pane_.TView1.addFolder(context_.session.RemoteFolder, entry.name) != nullptr)
                    pane_.TView1.root()->setExpanded(true);
                continue;
            }
            rows.add({entry.name, entry.size, entry.lastWriteTime, IconForExtension(entry.name),
                      shownTimeOf(entry.lastWriteKind)});
        }
    }
    context_.ftp.InternetCloseHandle(find);

    if (listingFailed) {
        context_.log.AppendLogLine(QStringLiteral(" > Erreur rencontrée lors de la lecture du dossier !"));
    } else {
        context_.log.AppendLogLine(QStringLiteral(" > Transfert des données terminé avec succès."));
    }
    pane_.ListView2.clearCurrentRow();
    context_.status.showMessage(QStringLiteral("Serveur: ") + QString::number(pane_.files.rowCount())
                                + QStringLiteral(" Fichiers dans le dossier: ") + context_.session.RemoteSearchSpec);
    if (listingFailed) {
        context_.dialogs.message(QStringLiteral("Erreur rencontrée lors de la lecture du dossier !"),
                                 MessageButtons::Ok, MessageIcon::Exclamation);
    }
}

void RemoteBrowser::clearPane()
{
    pane_.TView1.clear();
    pane_.files.clear();
    pane_.Label3.clear();
}

void RemoteBrowser::TView1_NodeClick()
{
    QTreeWidgetItem *node = pane_.TView1.widget().currentItem();
    if (node == nullptr)
        return;
    node->setExpanded(true);
    SessionState &session = context_.session;
    session.RemoteFolder = node->text(0) == u".." ? QStringLiteral("/") : RemoteTree::keyOf(node);
    session.RemoteSearchSpec = session.RemoteFolder + RemoteFilter;
    pane_.TView1.removeChildren(node);
    ListRemoteFolder();
    pane_.Label3.setText(session.RemoteSearchSpec);
}

void RemoteBrowser::zRemRef_Click()
{
    if (!context_.session.isConnected()) {
        context_.dialogs.message(QStringLiteral("Pas de connexion sur le serveur !"), MessageButtons::Ok,
                                 MessageIcon::Information);
        return;
    }
    if (pane_.TView1.widget().currentItem() != nullptr)
        TView1_NodeClick();
}

void RemoteBrowser::zAll2_Click()
{
    pane_.zAll2.setChecked(true);
    pane_.zDefine2.setChecked(false);
    applyFilter(QStringLiteral("*.*"));
}

void RemoteBrowser::zDefine2_Click()
{
    const std::optional<QString> answer = context_.dialogs.input(
        QStringLiteral("Définir le type d'extension des fichiers (*.?):"), QStringLiteral("Filtre"));
    if (!answer || answer->isEmpty())
        return;
    // The pattern is the last part of the search: a '/' would turn it into another folder.
    if (answer->contains(u'/')) {
        context_.dialogs.message(QStringLiteral("Filtre erroné !"), MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    pane_.zAll2.setChecked(false);
    pane_.zDefine2.setChecked(true);
    applyFilter(*answer);
}

void RemoteBrowser::applyFilter(const QString &filter)
{
    RemoteFilter = filter;
    QString &spec = context_.session.RemoteSearchSpec;
    spec = spec.left(spec.lastIndexOf(u'/') + 1) + RemoteFilter;
    zRemRef_Click();
}

void RemoteBrowser::selectNode(QTreeWidgetItem *node)
{
    pane_.TView1.widget().setCurrentItem(node);
    pane_.TView1.widget().scrollToItem(node);
}

void RemoteBrowser::openInitialFolder(const QString &remoteFolder)
{
    selectNode(pane_.TView1.addPath(remoteFolder));
    context_.session.RemoteFolder = remoteFolder;
    context_.session.RemoteSearchSpec = remoteFolder + QStringLiteral("*.*");
    pane_.Label3.setText(context_.session.RemoteSearchSpec);
    ListRemoteFolder();
}

} // namespace vendrel
