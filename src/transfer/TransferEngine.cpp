#include "transfer/TransferEngine.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "session/ActivityReport.h"
#include "session/SessionState.h"
#include "session/StatusLine.h"
#include "transfer/ProgressDisplay.h"

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
    existingFiles_.emplace(context_.dialogs);
    progress_.startRun(batch.total());
    display_.runStarted(progress_);
    for (const QString &folder : batch.folders)
        if (!makeFolder(folder))
            return RunOutcome::Stopped;
    bool anyFailed = false;
    for (int index = 0; index < batch.count(); ++index) {
        const TransferFile &file = batch.files.at(index);
        switch (transferFile(index, file)) {
        case FileOutcome::Done:
        case FileOutcome::Skipped: break;
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
void TransferEngine::announceFile(int index, const TransferFile &file, const QString &source, const QString &target)
{
    display_.fileStarted(index, texts_.fileAction + file.name + QStringLiteral(" / ") + QString::number(file.size)
                                    + QStringLiteral(" Oct."));
    context_.log.AppendLogLine(texts_.logStart + source + QStringLiteral(", vers: ") + target);
    context_.status.showMessage(texts_.status);
}

QDateTime TransferEngine::comparableTime(const QDateTime &time, bool isInstant)
{
    if (!time.isValid() || isInstant)
        return time;
    return QDateTime(time.date(), time.time());
}

ExistingFileDecision TransferEngine::decideAboutExisting(const ExistingFileQuestion &question,
                                                         const NameTaken &nameTaken)
{
    return existingFiles_->decide(question, nameTaken);
}

TransferEngine::FileOutcome TransferEngine::skipFile(int index, const TransferFile &file, const QString &target)
{
    const QString skipped = QStringLiteral("Fichier ignoré : ");
    display_.fileStarted(index, skipped + file.name);
    progress_.leaveOut(file.size);
    display_.blockDone(progress_);
    context_.log.AppendLogLine(QStringLiteral(" > ") + skipped + target);
    return FileOutcome::Skipped;
}

FtpHandle TransferEngine::openRemote(const QString &path, quint32 access, qint64 offset)
{
    const FtpHandle connection = context_.session.ConnectionHandle;
    const quint32 type = context_.session.TransferType;
    TransferHandle = offset == 0 ? context_.ftp.FtpOpenFile(connection, path, access, type, 0)
                                 : context_.ftp.FtpOpenFileAt(connection, path, access, type, offset);
    return TransferHandle;
}

bool TransferEngine::reopenAfterBreak(const QString &path, quint32 access, qint64 offset)
{
    dropRemoteFile();
    context_.log.AppendLogLine(QStringLiteral(" > Transfert interrompu, reprise à partir de ") + QString::number(offset)
                               + QStringLiteral(" octets..."));
    return openRemote(path, access, offset) != 0;
}

bool TransferEngine::closeRemote()
{
    // Still open while it closes: a cancel meanwhile drops it.
    const bool stored = context_.ftp.InternetCloseHandle(TransferHandle);
    TransferHandle = 0;
    return stored;
}

void TransferEngine::startClock(qint64 listedSize, qint64 offset)
{
    progress_.leaveOut(offset);
    progress_.startFile(listedSize - offset, context_.clock.tickCount());
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

} // namespace vendrel
