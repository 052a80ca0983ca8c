#include "transfer/TransferEngine.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "session/ActivityReport.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"
#include "session/ftp/EventPumpingWait.h"
#include "transfer/LocalFileStreams.h"
#include "transfer/ProgressDisplay.h"

#include <QDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <future>
#include <utility>

namespace vendrel {

// What tells the two directions apart in the window, the log and the status bar.
struct DirectionTexts {
    QString fileAction; // the window's label, before the file's name
    QString logStart;   // the log line, before the file's source
    QString status;
    QString success;
};

namespace {

// Flushing the rest of the file to disk can take a while on a slow disk; the
// window keeps repainting meanwhile. Only the flush leaves this thread.
bool commitKeepingWindowAlive(DownloadTarget &file)
{
    auto flushed = std::async(std::launch::async, [&file] { return file.flushToDisk(); });
    while (flushed.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        handlePendingEventsExceptInput();
    return flushed.get() && file.commit();
}

const DirectionTexts &textsFor(TransferDirection direction)
{
    static const DirectionTexts download{QStringLiteral("Réception du fichier: "),
                                         QStringLiteral(" > Réception des donnés...\r\n > Réception à partir: "),
                                         QStringLiteral("Transfert des donnés..., attendez."),
                                         QStringLiteral("Transfert des données terminé avec succès.")};
    static const DirectionTexts upload{QStringLiteral("Envoi du fichier: "),
                                       QStringLiteral(" > Transfert en cours...\r\n > Envoi à partir : "),
                                       QStringLiteral("Envoi des donnés..., attendez."),
                                       QStringLiteral("Transfert des données terminé avec succès !")};
    return direction == TransferDirection::Upload ? upload : download;
}

} // namespace

TransferEngine::TransferEngine(SessionContext context, ProgressDisplay &display, TransferDirection direction)
    : context_(context), display_(display), texts_(textsFor(direction))
{
}

RunOutcome TransferEngine::run(const TransferBatch &batch)
{
    localFolder_ = batch.localFolder;
    remoteFolder_ = batch.remoteFolder;
    progress_.startRun(batch.total());
    display_.runStarted(progress_);
    for (const QString &folder : batch.folders)
        if (!makeFolder(folder))
            return RunOutcome::Stopped;
    bool anyFailed = false;
    for (int index = 0; index < batch.count(); ++index) {
        const TransferFile &file = batch.files.at(index);
        switch (transferFile(index, file.name, file.size)) {
        case FileOutcome::Done: break;
        case FileOutcome::Failed: anyFailed = true; break;
        case FileOutcome::StopRun: return RunOutcome::Stopped;
        case FileOutcome::Cancelled: return RunOutcome::Cancelled;
        }
    }
    display_.runEnded(progress_);
    if (anyFailed)
        return RunOutcome::CompletedWithFailures;
    context_.dialogs.message(texts_.success, MessageButtons::Ok, MessageIcon::Information);
    return RunOutcome::Completed;
}

void TransferEngine::dropRemoteFile()
{
    if (TransferHandle != 0)
        context_.ftp.AbortTransfer(std::exchange(TransferHandle, 0));
}

// The label reads "<verb> du fichier: name / 1234 Oct.".
void TransferEngine::announceFile(int index, const QString &name, qint64 listedSize, const QString &source,
                                  const QString &target)
{
    display_.fileStarted(index, texts_.fileAction + name + QStringLiteral(" / ") + QString::number(listedSize)
                                    + QStringLiteral(" Oct."));
    context_.log.AppendLogLine(texts_.logStart + source + QStringLiteral(", vers: ") + target);
    context_.status.showMessage(texts_.status);
}

FtpHandle TransferEngine::openRemote(const QString &path, quint32 access)
{
    TransferHandle =
        context_.ftp.FtpOpenFile(context_.session.ConnectionHandle, path, access, context_.session.TransferType, 0);
    return TransferHandle;
}

bool TransferEngine::closeRemote()
{
    // Still open while it closes: a cancel meanwhile drops it.
    const bool stored = context_.ftp.InternetCloseHandle(TransferHandle);
    TransferHandle = 0;
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
    dropRemoteFile();
    context_.log.AppendLogLine(QStringLiteral(" > Transfert annulé."));
    context_.status.showMessage(QStringLiteral("Transfert annulé."));
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

DownloadEngine::DownloadEngine(SessionContext context, ProgressDisplay &display)
    : TransferEngine(context, display, TransferDirection::Download)
{
}

TransferEngine::FileOutcome DownloadEngine::transferFile(int index, const QString &name, qint64 listedSize)
{
    const QString remote = remotePath(name);
    const QString local = localPath(name);
    announceFile(index, name, listedSize, remote, local);

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
    qint64 received = 0;
    do {
        if (!context_.ftp.InternetReadFile(transferHandle(), block.data(), BlockSize, count)
            || !target.write(block.data(), count))
            return cancelled() ? abandonFile() : failTransfer();
        received += count;
        if (!blockMoved(count))
            return abandonFile();
    } while (count == BlockSize);

    // Line ends make an ASCII copy's size differ: only a binary one can be checked.
    const bool checkSize = context_.session.TransferType != ftp::FTP_TRANSFER_TYPE_ASCII;
    qint64 announced = received;
    if (checkSize && !context_.ftp.FtpGetFileSize(transferHandle(), announced))
        announced = received;
    closeRemote();
    if (checkSize && !sizeHolds(remote, received, listedSize, announced))
        return reportTransferError();
    if (!commitKeepingWindowAlive(target))
        return reportTransferError();
    return finishFile();
}

// A server may end a download early and still say all went well. A size
// that matches neither the listing nor the server's announcement is a
// broken file, unless the server now gives the size received: the file
// changed meanwhile.
bool DownloadEngine::sizeHolds(const QString &remote, qint64 received, qint64 listed, qint64 announced)
{
    if (received == listed && received == announced)
        return true;
    qint64 now = -1;
    return context_.ftp.FtpGetRemoteFileSize(context_.session.ConnectionHandle, remote, now) && now == received;
}

bool DownloadEngine::makeFolder(const QString &folder)
{
    const QString local = localPath(folder);
    if (QDir().mkpath(local))
        return true;
    stopForLocalFile(QStringLiteral("Ne peut créer le dossier local "), local);
    return false;
}

UploadEngine::UploadEngine(SessionContext context, ProgressDisplay &display)
    : TransferEngine(context, display, TransferDirection::Upload)
{
}

// A folder that could not be made is usually there already; if it is not,
// its first file fails to open and stops the run.
bool UploadEngine::makeFolder(const QString &folder)
{
    const QString remote = remotePath(folder);
    if (!context_.ftp.FtpCreateDirectory(context_.session.ConnectionHandle, remote))
        context_.log.AppendLogLine(QStringLiteral(" > Dossier déjà présent sur le serveur : ") + remote);
    return true;
}

TransferEngine::FileOutcome UploadEngine::transferFile(int index, const QString &name, qint64 listedSize)
{
    const QString remote = remotePath(name);
    const QString local = localPath(name);
    announceFile(index, name, listedSize, local, remote);

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

    // The server may still be taking the last blocks when the user cancels.
    if (!closeRemote())
        return cancelled() ? abandonUpload(remote) : reportTransferError();
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

} // namespace vendrel
