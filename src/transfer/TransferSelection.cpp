#include "transfer/TransferSelection.h"

#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "session/ActivityReport.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"
#include "transfer/FrmProg.h"

namespace vendrel {

TransferSelection::TransferSelection(SessionContext context, TransferLists lists, Refresh refreshLocal,
                                     Refresh refreshRemote, QWidget *owner)
    : context_(context),
      lists_(lists),
      refreshLocal_(std::move(refreshLocal)),
      refreshRemote_(std::move(refreshRemote)),
      owner_(owner),
      showWindow_([](FrmProg &window) { window.exec(); })
{
}

namespace {

QString skippedLine(const SkippedEntry &entry)
{
    switch (entry.reason) {
    case SkippedEntry::Reason::LinkToFolder:
        return QStringLiteral(" > Lien vers un dossier, non suivi : ") + entry.path;
    case SkippedEntry::Reason::Special: return QStringLiteral(" > Fichier spécial, ignoré : ") + entry.path;
    case SkippedEntry::Reason::Unreadable: break;
    }
    return QStringLiteral(" > Illisible, ignoré : ") + entry.path;
}

// "1 fichier", "0 fichier", "2 fichiers": French counts below two in the singular.
QString counted(qint64 count, const QString &noun)
{
    return QString::number(count) + u' ' + noun + (count >= 2 ? QStringLiteral("s") : QString());
}

} // namespace

void TransferSelection::zLokUp_Click()
{
    if (auto batch = collect(TransferDirection::Upload))
        showBatch(std::move(*batch));
}

void TransferSelection::zRemDown_Click()
{
    if (auto batch = collect(TransferDirection::Download))
        showBatch(std::move(*batch));
}

void TransferSelection::zLokED_Click()
{
    transferFolder(TransferDirection::Upload, lists_.chosenLocalFolder(),
                   [this](const QString &folder) { return collectLocalFolder(folder, context_.session.RemoteFolder); });
}

void TransferSelection::zRemRD_Click()
{
    transferFolder(TransferDirection::Download, lists_.chosenRemoteFolder(), [this](const QString &folder) {
        return collectRemoteFolder(context_.ftp, context_.session.ConnectionHandle, folder,
                                   context_.session.LocalFolder);
    });
}

bool TransferSelection::connectedFor(TransferDirection direction)
{
    if (context_.session.isConnected())
        return true;
    context_.dialogs.message(direction == TransferDirection::Upload
                                 ? QStringLiteral("Pas de connexion sur le serveur !")
                                 : QStringLiteral("Pas de connexion sur le serveur!"),
                             MessageButtons::Ok, MessageIcon::Information);
    return false;
}

std::optional<TransferBatch> TransferSelection::collect(TransferDirection direction)
{
    if (!connectedFor(direction))
        return std::nullopt;
    const bool upload = direction == TransferDirection::Upload;
    const FileListView &view = upload ? lists_.ListView1 : lists_.ListView2;
    const FileListModel &files = upload ? lists_.localFiles : lists_.remoteFiles;
    const QList<int> rows = view.selectedRows();
    if (rows.isEmpty()) {
        context_.dialogs.message(QStringLiteral("Pas de fichier sélectionné !"), MessageButtons::Ok, MessageIcon::None);
        return std::nullopt;
    }

    context_.log.AppendLogLine(upload ? QStringLiteral(" > Collecte des informations sur les fichiers:")
                                      : QStringLiteral(" > Collecte d'informations sur les fichiers :"));
    TransferBatch batch{direction, context_.session.LocalFolder, context_.session.RemoteFolder};
    for (const int row : rows) {
        const FileRow &file = files.fileRow(row);
        batch.files.append({file.name, file.size, file.modified, upload ? ShownTime::InLocalTime : file.shownTime});
        context_.log.AppendUntimedLine(QString::number(batch.count()) + QStringLiteral(".) ")
                                       + (upload ? file.name : context_.session.RemoteFolder + file.name));
    }
    return batch;
}

void TransferSelection::transferFolder(TransferDirection direction, const QString &folder,
                                       const CollectFolder &collectTree)
{
    if (!connectedFor(direction))
        return;
    const bool upload = direction == TransferDirection::Upload;
    if (folder.isEmpty()) {
        context_.dialogs.message(QStringLiteral("Pas de dossier sélectionné !"), MessageButtons::Ok, MessageIcon::None);
        return;
    }
    // The root has no name to give the folder made on the other side.
    if (folder == u"/") {
        context_.dialogs.message(upload ? QStringLiteral("Ce dossier ne peut être envoyé (Racine)!")
                                        : QStringLiteral("Ce dossier ne peut être reçu (Racine)!"),
                                 MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    context_.log.AppendLogLine((upload ? QStringLiteral(" > Collecte des informations sur le dossier: ")
                                       : QStringLiteral(" > Collecte d'informations sur le dossier : "))
                               + folder);
    FolderCollection collected = collectTree(folder);
    if (reportCollection(collected))
        showBatch(std::move(collected.batch));
}

bool TransferSelection::reportCollection(const FolderCollection &collected)
{
    for (const SkippedEntry &entry : collected.skipped)
        context_.log.AppendLogLine(skippedLine(entry));
    const QString where = quoted(collected.failedFolder);
    const QString nothingMoved = QStringLiteral("\r\nAucun fichier n'a été transféré.");
    switch (collected.failure) {
    case CollectionFailure::None: break;
    case CollectionFailure::Cancelled:
        context_.log.AppendLogLine(QStringLiteral(" > Collecte annulée."));
        context_.status.showMessage(QStringLiteral("Collecte annulée."));
        return false;
    case CollectionFailure::ListingFailed:
        context_.dialogs.message(QStringLiteral("Erreur rencontrée lors de la lecture du dossier ") + where
                                     + QStringLiteral(" !") + nothingMoved,
                                 MessageButtons::Ok, MessageIcon::Exclamation);
        context_.log.AppendLogLine(QStringLiteral(" > Erreur rencontrée lors de la lecture du dossier ") + where
                                   + QStringLiteral(" ! Demande abandonnée !"));
        return false;
    case CollectionFailure::TooDeep:
        context_.dialogs.message(QStringLiteral("Plus de %1 niveaux de sous-dossiers, jusqu'à ").arg(MaxFolderDepth)
                                     + where + QStringLiteral(" !") + nothingMoved,
                                 MessageButtons::Ok, MessageIcon::Exclamation);
        context_.log.AppendLogLine(QStringLiteral(" > Plus de %1 niveaux de sous-dossiers : ").arg(MaxFolderDepth)
                                   + where + QStringLiteral(" Demande abandonnée !"));
        return false;
    }
    const TransferBatch &batch = collected.batch;
    const QString summary = counted(batch.folders.size(), QStringLiteral("dossier")) + QStringLiteral(", ")
                            + counted(batch.count(), QStringLiteral("fichier")) + QStringLiteral(", ")
                            + counted(batch.total(), QStringLiteral("octet"))
                            + (batch.direction == TransferDirection::Upload ? QStringLiteral(" à envoyer.")
                                                                            : QStringLiteral(" à recevoir."));
    context_.log.AppendLogLine(QStringLiteral(" > ") + summary);
    context_.status.showMessage(summary);
    return true;
}

void TransferSelection::showBatch(TransferBatch batch)
{
    const bool upload = batch.direction == TransferDirection::Upload;
    {
        FrmProg window(context_, owner_);
        window.setBatch(std::move(batch));
        showWindow_(window);
    }
    if (upload)
        refreshRemote_();
    else
        refreshLocal_();
}

} // namespace vendrel
