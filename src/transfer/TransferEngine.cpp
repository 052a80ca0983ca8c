#include "transfer/TransferEngine.h"

#include "app/frame/ActivityLog.h"
#include "app/frame/StatusPanels.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "session/SessionState.h"
#include "session/ftp/EventPumpingWait.h"
#include "transfer/LocalFileStreams.h"
#include "transfer/ProgressDisplay.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <future>
#include <utility>

namespace vendrel {

namespace {

// Committing flushes the rest of the file to disk, which can take a while on
// a slow disk; the window keeps repainting meanwhile.
bool commitKeepingWindowAlive(DownloadTarget &file)
{
    auto committed = std::async(std::launch::async, [&file] { return file.commit(); });
    while (committed.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        handlePendingEventsExceptInput();
    return committed.get();
}

// "<verb> du fichier: name / 1234 Oct."
QString fileLabel(const QString &action, const QString &name, qint64 listedSize)
{
    return action + name + QStringLiteral(" / ") + QString::number(listedSize) + QStringLiteral(" Oct.");
}

} // namespace

TransferEngine::TransferEngine(SessionContext context, ProgressDisplay &display, FtpHandle &transferHandle)
    : context_(context), display_(display), transferHandle_(transferHandle)
{
}

RunOutcome TransferEngine::run(const TransferBatch &batch)
{
    progress_.startRun(batch.total());
    display_.runStarted(progress_);
    bool anyFailed = false;
    for (int index = 0; index < batch.count(); ++index) {
        switch (transferFile(index, batch.names.at(index), batch.sizes.at(index))) {
        case FileOutcome::Done:
            break;
        case FileOutcome::Failed:
            anyFailed = true;
            break;
        case FileOutcome::StopRun:
            return RunOutcome::Stopped;
        case FileOutcome::Cancelled:
            return RunOutcome::Cancelled;
        }
    }
    display_.runEnded(progress_);
    if (anyFailed)
        return RunOutcome::CompletedWithFailures;
    context_.dialogs.message(successText(), MessageButtons::Ok, MessageIcon::Information);
    return RunOutcome::Completed;
}

FtpHandle TransferEngine::openRemote(const QString &path, quint32 access)
{
    transferHandle_ = context_.ftp.FtpOpenFile(context_.session.ConnectionHandle, path, access,
                                               context_.session.TransferType, 0);
    return transferHandle_;
}

bool TransferEngine::closeRemote()
{
    const bool stored = context_.ftp.InternetCloseHandle(transferHandle_);
    transferHandle_ = 0;
    return stored;
}

void TransferEngine::startClock(qint64 listedSize)
{
    progress_.startFile(listedSize, context_.clock.tickCount());
}

bool TransferEngine::blockMoved(qint64 bytes)
{
    progress_.addBlock(bytes, context_.clock.tickCount());
    display_.blockDone(progress_);
    return !cancelled();
}

bool TransferEngine::cancelled() const
{
    return display_.cancelRequested();
}

TransferEngine::FileOutcome TransferEngine::abandonFile()
{
    if (transferHandle_ != 0)
        context_.ftp.AbortTransfer(std::exchange(transferHandle_, 0));
    context_.log.AppendLogLine(QStringLiteral(" > Transfert annulé."));
    context_.status.setPanelText(StatusPanels::MessagePanel, QStringLiteral("Transfert annulé."));
    return FileOutcome::Cancelled;
}

TransferEngine::FileOutcome TransferEngine::failTransfer()
{
    closeRemote();
    return reportTransferError();
}

TransferEngine::FileOutcome TransferEngine::reportTransferError()
{
    context_.dialogs.message(QStringLiteral("Erreur lors du tranfert des données !"), MessageButtons::Ok,
                             MessageIcon::Exclamation);
    context_.log.AppendLogLine(QStringLiteral(" > Erreur lors du tranfert des données ! Erreur!"));
    return FileOutcome::Failed;
}

TransferEngine::FileOutcome TransferEngine::stopRun(const QString &message, const QString &title,
                                                    const QString &logLine)
{
    context_.dialogs.message(message, MessageButtons::Ok, MessageIcon::Exclamation, title);
    context_.log.AppendLogLine(logLine);
    return FileOutcome::StopRun;
}

TransferEngine::FileOutcome TransferEngine::stopForLocalFile(const QString &problem, const QString &local)
{
    return stopRun(problem + local + QStringLiteral(" !"), {},
                   QStringLiteral(" > ") + problem + local + QStringLiteral("! Demande abandonnée !"));
}

TransferEngine::FileOutcome TransferEngine::finishFile()
{
    progress_.finishFile();
    context_.log.AppendLogLine(QStringLiteral(" > OK"));
    return FileOutcome::Done;
}

TransferEngine::FileOutcome DownloadEngine::transferFile(int index, const QString &name, qint64 listedSize)
{
    display_.fileStarted(index, fileLabel(QStringLiteral("Réception du fichier: "), name, listedSize));
    const QString remote = remotePath(name);
    const QString local = localPath(name);
    context_.log.AppendLogLine(QStringLiteral(" > Réception des donnés...\r\n > Réception à partir: ") + remote
                               + QStringLiteral(", vers: ") + local);
    context_.status.setPanelText(StatusPanels::MessagePanel, QStringLiteral("Transfert des donnés..., attendez."));

    // Uncommitted, it is removed with this object: no partial file ever
    // takes the target's place.
    DownloadTarget target(local);
    if (!target.open())
        return stopForLocalFile(QStringLiteral("Ne peut créer le fichier local "), local);
    if (openRemote(remote, ftp::GENERIC_READ) == 0)
        return stopRun(QStringLiteral("Ne peut ouvrir le fichier avec ce dossier !"), QStringLiteral("Problémes d'URL"),
                       QStringLiteral(" > Ne peut ouvrir le fichier avec ce dossier!  Demande abandonnée !"));
    startClock(listedSize);

    std::array<char, BlockSize> block{};
    quint32 count = 0;
    do {
        if (!context_.ftp.InternetReadFile(transferHandle(), block.data(), BlockSize, count)
            || !target.write(block.data(), count))
            return cancelled() ? abandonFile() : failTransfer();
        if (!blockMoved(count))
            return abandonFile();
    } while (count == BlockSize);

    closeRemote();
    if (!commitKeepingWindowAlive(target))
        return reportTransferError();
    return finishFile();
}

QString DownloadEngine::successText() const
{
    return QStringLiteral("Transfert des données terminé avec succès.");
}

TransferEngine::FileOutcome UploadEngine::transferFile(int index, const QString &name, qint64 listedSize)
{
    display_.fileStarted(index, fileLabel(QStringLiteral("Envoi du fichier: "), name, listedSize));
    const QString remote = remotePath(name);
    const QString local = localPath(name);
    context_.log.AppendLogLine(QStringLiteral(" > Transfert en cours...\r\n > Envoi à partir : ") + local
                               + QStringLiteral(", vers: ") + remote);
    context_.status.setPanelText(StatusPanels::MessagePanel, QStringLiteral("Envoi des donnés..., attendez."));

    // Opened before the remote file, so a missing local file leaves the
    // server's file of that name as it was.
    UploadSource source(local);
    if (!source.open())
        return stopForLocalFile(QStringLiteral("Ne peut lire le fichier local "), local);
    if (openRemote(remote, ftp::GENERIC_WRITE) == 0)
        return stopRun(QStringLiteral("Ne peut pas transférer le fichier sur le serveur !"), {},
                       QStringLiteral(" > Ne peut pas transférer le fichier sur le serveur! Demande abandonnée !"));
    startClock(listedSize);

    const qint64 length = source.size();
    qint64 sent = 0;
    std::array<char, BlockSize> block{};
    do {
        const qint64 amount = std::min<qint64>(BlockSize, length - sent);
        quint32 written = 0;
        if (!source.read(block.data(), amount)
            || !context_.ftp.InternetWriteFile(transferHandle(), block.data(), quint32(amount), written))
            return cancelled() ? abandonUpload(remote) : failTransfer();
        sent += amount;
        if (!blockMoved(amount))
            return abandonUpload(remote);
    } while (sent < length);

    if (!closeRemote())
        return reportTransferError();
    return finishFile();
}

TransferEngine::FileOutcome UploadEngine::abandonUpload(const QString &remote)
{
    abandonFile();
    const bool deleted = context_.ftp.FtpDeleteFile(context_.session.ConnectionHandle, remote);
    context_.log.AppendLogLine((deleted ? QStringLiteral(" > Fichier incomplet supprimé : ")
                                        : QStringLiteral(" > Le fichier incomplet n'a pu être supprimé : "))
                               + remote);
    return FileOutcome::Cancelled;
}

QString UploadEngine::successText() const
{
    return QStringLiteral("Transfert des données terminé avec succès !");
}

} // namespace vendrel
