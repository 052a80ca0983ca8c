#include "transfer/TransferEngine.h"

#include "platform/Paths.h"
#include "session/ActivityReport.h"
#include "transfer/LocalFileStreams.h"

#include <algorithm>
#include <array>

namespace vendrel {

UploadEngine::UploadEngine(SessionContext context, ProgressDisplay &display)
    : TransferEngine(context, display, TransferDirection::Upload), serverFiles_(context)
{
}

TransferEngine::FileOutcome UploadEngine::transferFile(int index, const TransferFile &file)
{
    const QString local = localPath(file.name);
    QString target = remotePath(file.name);
    // Opened before anything happens on the server, so a missing local file
    // leaves the server as it was.
    UploadSource source(local);
    if (!source.open())
        return stopForLocalFile(QStringLiteral("Ne peut lire le fichier local "), local);

    qint64 offset = 0;
    bool replacing = false;
    if (const std::optional<FindData> existing = serverFiles_.entry(target); existing && !existing->isFolder()) {
        const QString folder = folderPartOf(target);
        const ExistingFileDecision decision = decideAboutExisting(
            {existing->name, source.size(), source.modified(), existing->size,
             comparableTime(existing->lastWriteTime, existing->lastWriteKind == ServerTime::Utc),
             isBinary() && existing->size < source.size()},
            [this, &folder](const QString &name) { return serverFiles_.entry(folder + name).has_value(); });
        switch (decision.action) {
        case ExistingFileDecision::Write: replacing = true; break;
        case ExistingFileDecision::Resume: offset = existing->size; break;
        case ExistingFileDecision::WriteAs: target = folder + decision.name; break;
        case ExistingFileDecision::Skip: return skipFile(index, file, target);
        case ExistingFileDecision::CancelRun: return abandonFile();
        }
    }
    announceFile(index, file, local, target);

    // A resumed file grows in place: its first bytes are already the target's.
    const bool temporary = offset == 0;
    const QString written = temporary ? target + QStringLiteral(".vendrel-part") : target;
    if (!source.seek(offset))
        return stopForLocalFile(QStringLiteral("Ne peut lire le fichier local "), local);
    if (openRemote(written, ftp::GENERIC_WRITE, offset) == 0)
        return stopRun(QStringLiteral("Ne peut pas transférer le fichier sur le serveur !"), {},
                       QStringLiteral(" > Ne peut pas transférer le fichier sur le serveur! Demande abandonnée !"));
    startClock(file.size, offset);

    if (const FileOutcome sent = send(source, written, offset, temporary); sent != FileOutcome::Done)
        return sent;
    if (temporary && !placeOver(written, target, replacing))
        return reportTransferError();
    serverFiles_.stored(target, source.size());
    // A server without MFMT keeps its own time: nothing to report.
    context_.ftp.FtpSetFileTime(context_.session.ConnectionHandle, target, source.modified());
    return finishFile();
}

TransferEngine::FileOutcome UploadEngine::send(UploadSource &source, const QString &written, qint64 offset,
                                               bool temporary)
{
    const qint64 length = source.size();
    qint64 sent = offset;
    bool reopened = false;
    std::array<char, BlockSize> block{};
    do {
        const qint64 amount = std::min<qint64>(BlockSize, length - sent);
        quint32 count = 0;
        if (!source.read(block.data(), amount)) {
            if (cancelled())
                return abandonUpload(written, temporary);
            closeRemote();
            dropPartial(written, temporary);
            return reportTransferError();
        }
        if (!context_.ftp.InternetWriteFile(transferHandle(), block.data(), quint32(amount), count)) {
            if (cancelled())
                return abandonUpload(written, temporary);
            // Taken up again from what the server holds.
            dropRemoteFile();
            qint64 held = -1;
            if (reopened || !isBinary()
                || !context_.ftp.FtpGetRemoteFileSize(context_.session.ConnectionHandle, written, held)
                || !source.seek(held) || !reopenAfterBreak(written, ftp::GENERIC_WRITE, held)) {
                dropPartial(written, temporary);
                return reportTransferError();
            }
            reopened = true;
            sent = held;
            continue;
        }
        sent += amount;
        if (!blockMoved(amount))
            return abandonUpload(written, temporary);
    } while (sent < length);

    // The server may still be taking the last blocks when the user cancels.
    if (closeRemote())
        return FileOutcome::Done;
    if (cancelled())
        return abandonUpload(written, temporary);
    dropPartial(written, temporary);
    return reportTransferError();
}

// Renamed over the target; where the server will not rename over a file,
// the target is deleted first. Should the rename still fail then, the new
// file stays under its temporary name: it is the only copy left.
bool UploadEngine::placeOver(const QString &temporary, const QString &target, bool targetExists)
{
    const FtpHandle connection = context_.session.ConnectionHandle;
    if (context_.ftp.FtpRenameFile(connection, temporary, target))
        return true;
    if (!targetExists || !context_.ftp.FtpDeleteFile(connection, target)) {
        dropPartial(temporary, true);
    } else if (context_.ftp.FtpRenameFile(connection, temporary, target)) {
        return true;
    } else {
        context_.log.AppendLogLine(QStringLiteral(" > Le fichier envoyé reste sous le nom : ") + temporary);
        return false;
    }
    context_.log.AppendLogLine(QStringLiteral(" > Ne peut remplacer le fichier sur le serveur : ") + target);
    return false;
}

void UploadEngine::dropPartial(const QString &written, bool temporary)
{
    if (!temporary)
        return;
    const bool deleted = context_.ftp.FtpDeleteFile(context_.session.ConnectionHandle, written);
    context_.log.AppendLogLine((deleted ? QStringLiteral(" > Fichier incomplet supprimé : ")
                                        : QStringLiteral(" > Le fichier incomplet n'a pu être supprimé : "))
                               + written);
}

TransferEngine::FileOutcome UploadEngine::abandonUpload(const QString &written, bool temporary)
{
    abandonFile();
    dropPartial(written, temporary);
    return FileOutcome::Cancelled;
}

// A folder that could not be made is usually there already; if it is not,
// its first file fails to open and stops the run.
bool UploadEngine::makeFolder(const QString &folder)
{
    const QString remote = remotePath(folder);
    if (context_.ftp.FtpCreateDirectory(context_.session.ConnectionHandle, remote))
        serverFiles_.madeEmpty(remote);
    else
        context_.log.AppendLogLine(QStringLiteral(" > Dossier déjà présent sur le serveur : ") + remote);
    return true;
}

} // namespace vendrel
