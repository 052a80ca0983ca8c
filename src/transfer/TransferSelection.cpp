#include "transfer/TransferSelection.h"

#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "platform/Dialogs.h"
#include "session/ActivityReport.h"
#include "session/SessionState.h"
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

void TransferSelection::zLokUp_Click()
{
    if (auto batch = collect(TransferDirection::Upload, QStringLiteral("Pas de connexion sur le serveur !"))) {
        showBatch(std::move(*batch));
        refreshRemote_();
    }
}

void TransferSelection::zRemDown_Click()
{
    if (auto batch = collect(TransferDirection::Download, QStringLiteral("Pas de connexion sur le serveur!"))) {
        showBatch(std::move(*batch));
        refreshLocal_();
    }
}

std::optional<TransferBatch> TransferSelection::collect(TransferDirection direction, const QString &notConnectedText)
{
    if (!context_.session.isConnected()) {
        context_.dialogs.message(notConnectedText, MessageButtons::Ok, MessageIcon::Information);
        return std::nullopt;
    }
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

void TransferSelection::showBatch(TransferBatch batch)
{
    FrmProg window(context_, owner_);
    window.setBatch(std::move(batch));
    showWindow_(window);
}

} // namespace vendrel
