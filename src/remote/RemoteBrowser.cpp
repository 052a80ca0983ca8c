#include "remote/RemoteBrowser.h"

#include "app/frame/ActivityLog.h"
#include "app/frame/StatusPanels.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "listing/RowFormat.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "remote/RemoteTree.h"
#include "session/SessionState.h"
#include "session/ftp/FtpService.h"

#include <QApplication>
#include <QElapsedTimer>
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
        if ((pending_.size() & 0x3FF) == 0 && sinceFlush_.elapsed() >= 30) {
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

RemoteBrowser::RemoteBrowser(SessionState &session, FtpService &ftp, ActivityLog &log, StatusPanels &status,
                             Dialogs &dialogs, const Clock &clock, RemotePane pane)
    : session_(session), ftp_(ftp), log_(log), status_(status), dialogs_(dialogs), clock_(clock), pane_(pane)
{
}

void RemoteBrowser::ListRemoteFolder()
{
    if (!session_.isConnected()) {
        dialogs_.message(QStringLiteral("Vous n'êtes pas connecté sur un serveur"), MessageButtons::Ok,
                         MessageIcon::Information);
        return;
    }
    status_.setPanelText(StatusPanels::MessagePanel,
                         timeOfDayText(clock_.now().time()) + QStringLiteral("  > Envoi de la demande..., Attendez."));
    BusyCursor busy;
    pane_.files.clear();
    log_.AppendLogLine(QStringLiteral(" > Transfert des données..."));
    log_.AppendLogLine(QStringLiteral(" > Ouverture du dossier: \"") + session_.RemoteSearchSpec + u'"');

    FindData entry;
    const FtpHandle find = ftp_.FtpFindFirstFile(session_.ConnectionHandle, session_.RemoteSearchSpec, entry,
                                                 ftp::INTERNET_FLAG_RELOAD | ftp::INTERNET_FLAG_NO_CACHE_WRITE, 0);
    // The service tells an empty folder (no error) from a refused or broken listing.
    const bool listingFailed = find == 0 && ftp_.lastError().code != 0;
    {
        RowBatcher rows(pane_.files);
        for (bool more = find != 0; more; more = ftp_.InternetFindNextFile(find, entry)) {
            if (entry.name.isEmpty())
                continue;
            if (entry.isFolder()) {
                if (pane_.TView1.addFolder(session_.RemoteFolder, entry.name) != nullptr)
                    pane_.TView1.root()->setExpanded(true);
                continue;
            }
            rows.add({entry.name, entry.size, entry.lastWriteTime, IconForExtension(entry.name)});
        }
    }
    ftp_.InternetCloseHandle(find);

    if (listingFailed) {
        log_.AppendLogLine(QStringLiteral(" > Erreur rencontrée lors de la lecture du dossier !"));
    } else {
        log_.AppendLogLine(QStringLiteral(" > Transfert des données terminé avec succès."));
    }
    pane_.ListView2.clearCurrentRow();
    status_.setPanelText(StatusPanels::MessagePanel,
                         QStringLiteral("Serveur: ") + QString::number(pane_.files.rowCount())
                             + QStringLiteral(" Fichiers dans le dossier: ") + session_.RemoteSearchSpec);
    if (listingFailed) {
        dialogs_.message(QStringLiteral("Erreur rencontrée lors de la lecture du dossier !"), MessageButtons::Ok,
                         MessageIcon::Exclamation);
    }
}

void RemoteBrowser::clearTree()
{
    pane_.TView1.clear();
}

void RemoteBrowser::openInitialFolder(const QString &remoteFolder)
{
    QTreeWidgetItem *node = pane_.TView1.addPath(remoteFolder);
    pane_.TView1.widget().setCurrentItem(node);
    session_.RemoteFolder = remoteFolder;
    session_.RemoteSearchSpec = remoteFolder + QStringLiteral("*.*");
    ListRemoteFolder();
}

} // namespace vendrel
