#include "transfer/TransferEngine.h"

#include "platform/Dialogs.h"
#include "session/ftp/EventPumpingWait.h"
#include "transfer/LocalFileStreams.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <chrono>
#include <future>

namespace vendrel {

namespace {

// Flushing the rest of the file to disk can take a while on a slow disk; the
// window keeps repainting meanwhile. Only the flush leaves this thread.
bool commitKeepingWindowAlive(DownloadTarget &file)
{
    if (!file.isLarge())
        return file.commit();
    auto flushed = std::async(std::launch::async, [&file] { return file.flushToDisk(); });
    while (flushed.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        handlePendingEventsExceptInput();
    return flushed.get() && file.commit();
}

} // namespace

DownloadEngine::DownloadEngine(SessionContext context, ProgressDisplay &display)
    : TransferEngine(context, display, TransferDirection::Download)
{
}

TransferEngine::FileOutcome DownloadEngine::transferFile(int index, const TransferFile &file)
{
    const QString remote = remotePath(file.name);
    QString local = localPath(file.name);
    qint64 offset = 0;
    if (const QFileInfo existing(local); existing.isFile()) {
        const QString folder = existing.absolutePath() + u'/';
        const ExistingFileDecision decision = decideAboutExisting(
            {existing.fileName(), file.size, comparableTime(file.modified, file.modifiedKind == ShownTime::InLocalTime),
             existing.size(), existing.lastModified(), isBinary() && existing.size() < file.size},
            [&folder](const QString &name) { return QFileInfo::exists(folder + name); });
        switch (decision.action) {
        case ExistingFileDecision::Write: break;
        case ExistingFileDecision::Resume: offset = existing.size(); break;
        case ExistingFileDecision::WriteAs: local = folder + decision.name; break;
        case ExistingFileDecision::Skip: return skipFile(index, file, local);
        case ExistingFileDecision::CancelRun: return abandonFile();
        }
    }
    announceFile(index, file, remote, local);

    // Uncommitted, it is removed with this object: no partial file ever
    // takes the target's place.
    DownloadTarget target(local);
    if (!target.open(offset))
        return stopForLocalFile(QStringLiteral("Ne peut créer le fichier local "), local);
    if (openRemote(remote, ftp::GENERIC_READ, offset) == 0)
        return stopRun(QStringLiteral("Ne peut ouvrir le fichier avec ce dossier !"), QStringLiteral("Problémes d'URL"),
                       QStringLiteral(" > Ne peut ouvrir le fichier avec ce dossier!  Demande abandonnée !"));
    startClock(file.size, offset);

    std::array<char, BlockSize> block{};
    quint32 count = 0;
    qint64 received = offset;
    bool reopened = false;
    do {
        if (!context_.ftp.InternetReadFile(transferHandle(), block.data(), BlockSize, count)) {
            if (cancelled())
                return abandonFile();
            if (reopened || !isBinary() || !reopenAfterBreak(remote, ftp::GENERIC_READ, received))
                return failTransfer();
            reopened = true;
            count = BlockSize;
            continue;
        }
        if (!target.write(block.data(), count))
            return cancelled() ? abandonFile() : failTransfer();
        received += count;
        if (!blockMoved(count))
            return abandonFile();
    } while (count == BlockSize);

    qint64 announced = received;
    if (isBinary() && !context_.ftp.FtpGetFileSize(transferHandle(), announced))
        announced = received;
    closeRemote();
    if (isBinary() && !sizeHolds(remote, received, file.size, announced))
        return reportTransferError();
    target.setModified(serverTime(file, remote));
    if (!commitKeepingWindowAlive(target))
        return reportTransferError();
    return finishFile();
}

bool DownloadEngine::makeFolder(const QString &folder)
{
    const QString local = localPath(folder);
    if (QDir().mkpath(local))
        return true;
    stopForLocalFile(QStringLiteral("Ne peut créer le dossier local "), local);
    return false;
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

QDateTime DownloadEngine::serverTime(const TransferFile &file, const QString &remote)
{
    if (file.modified.isValid() && file.modifiedKind == ShownTime::InLocalTime)
        return file.modified;
    QDateTime modified;
    if (!context_.ftp.FtpGetFileTime(context_.session.ConnectionHandle, remote, modified))
        return {};
    return modified;
}

} // namespace vendrel
