#pragma once

#include "session/SessionContext.h"
#include "session/SessionState.h"
#include "session/ftp/FtpService.h"
#include "transfer/ExistingFilePolicy.h"
#include "transfer/ProgressModel.h"
#include "transfer/RemoteFolderIndex.h"
#include "transfer/TransferBatch.h"

#include <QString>
#include <optional>

namespace vendrel {

class ProgressDisplay;
class UploadSource;
struct DirectionTexts;

enum class RunOutcome {
    Completed,             // every file arrived or was skipped; the success message was shown
    CompletedWithFailures, // every file was tried, at least one failed
    Stopped,               // a file could not be opened; later files were not tried
    Cancelled,             // the user cancelled; nothing of the file under way was left behind
};

// The run both engines share: files one after the other in 1024-byte
// blocks, the progress figures after every block, the log lines and the
// messages, the question about a target that exists.
class TransferEngine {
public:
    static constexpr quint32 BlockSize = 1024;

    TransferEngine(SessionContext context, ProgressDisplay &display, TransferDirection direction);
    virtual ~TransferEngine() = default;
    TransferEngine(const TransferEngine &) = delete;
    TransferEngine &operator=(const TransferEngine &) = delete;

    RunOutcome run(const TransferBatch &batch);

    // Drops the open remote file, if any: a read or write that waits for the
    // server returns at once. The window's cancel comes through here.
    void dropRemoteFile();

protected:
    enum class FileOutcome { Done, Skipped, Failed, StopRun, Cancelled };

    virtual FileOutcome transferFile(int index, const TransferFile &file) = 0;
    // Makes a folder of the batch on the target side; false stops the run.
    virtual bool makeFolder(const QString &folder) = 0;

    QString localPath(const QString &name) const { return localFolder_ + name; }
    QString remotePath(const QString &name) const { return remoteFolder_ + name; }
    // The start of every file: the window's label, the log line from source
    // to target and the status message.
    void announceFile(int index, const TransferFile &file, const QString &source, const QString &target);
    // A listing's time as the question compares it: an instant, or the
    // server's calendar fields read as this machine's.
    static QDateTime comparableTime(const QDateTime &time, bool isInstant);
    // What to do with a target that exists, as the user answers or answered
    // for the whole run.
    ExistingFileDecision decideAboutExisting(const ExistingFileQuestion &question, const NameTaken &nameTaken);
    FileOutcome skipFile(int index, const TransferFile &file, const QString &target);
    // An ASCII copy's line ends make its sizes and offsets differ from the
    // server's: only a binary file is size-checked, resumed or taken up again.
    bool isBinary() const { return context_.session.TransferType != ftp::FTP_TRANSFER_TYPE_ASCII; }
    FtpHandle openRemote(const QString &path, quint32 access, qint64 offset = 0);
    // Closes the open remote file; for an upload, whether the server stored it all.
    bool closeRemote();
    // A file that broke midway is taken up again once, on a new connection
    // if need be, from offset; false when that failed too.
    bool reopenAfterBreak(const QString &path, quint32 access, qint64 offset);
    // The clock of a file that already holds `offset` of its bytes.
    void startClock(qint64 listedSize, qint64 offset = 0);
    // Counts a moved block; false when the user cancelled meanwhile.
    bool blockMoved(qint64 bytes);
    bool cancelled() const;
    // The user cancelled during the file: its transfer is dropped at once
    // (the window may have dropped it already) and the cancel is logged.
    FileOutcome abandonFile();
    FtpHandle transferHandle() const { return TransferHandle; }
    // A file that broke after it was opened: closes it, then reports.
    FileOutcome failTransfer();
    // The message and the log line of a broken file.
    FileOutcome reportTransferError();
    // A file that could not be opened: the message and the log line.
    FileOutcome stopRun(const QString &message, const QString &title, const QString &logLine);
    // A local file that could not be opened: problem is the text before its path.
    FileOutcome stopForLocalFile(const QString &problem, const QString &local);
    FileOutcome finishFile();

    SessionContext context_;
    ProgressDisplay &display_;

private:
    const DirectionTexts &texts_;
    QString localFolder_;
    QString remoteFolder_;
    std::optional<ExistingFilePolicy> existingFiles_; // one per run
    // The remote file open for transfer, 0 when none.
    FtpHandle TransferHandle = 0;
    ProgressModel progress_;
};

// Receives the batch into its local folder. Each file goes to a temporary
// file beside its target that replaces the target only once complete, and
// in binary only with the size expected; it keeps the server's time.
class DownloadEngine final : public TransferEngine {
public:
    DownloadEngine(SessionContext context, ProgressDisplay &display);

private:
    FileOutcome transferFile(int index, const TransferFile &file) override;
    bool makeFolder(const QString &folder) override;
    bool sizeHolds(const QString &remote, qint64 received, qint64 listed, qint64 announced);
    // The server's time of the file: the listing's when it named an instant, else MDTM.
    QDateTime serverTime(const TransferFile &file, const QString &remote);
};

// Sends the batch from its local folder. Each file goes to a temporary name
// beside its target on the server and is renamed over it once complete, so
// a failed upload leaves the server's file as it was; the server keeps the
// local time where it can.
class UploadEngine final : public TransferEngine {
public:
    UploadEngine(SessionContext context, ProgressDisplay &display);

private:
    FileOutcome transferFile(int index, const TransferFile &file) override;
    bool makeFolder(const QString &folder) override;
    // Sends the source from offset into written; the outcome of the sending alone.
    FileOutcome send(UploadSource &source, const QString &written, qint64 offset, bool temporary);
    // Puts the complete temporary file in the target's place.
    bool placeOver(const QString &temporary, const QString &target, bool targetExists);
    // What an abandoned or failed upload sent is deleted when it went to a
    // temporary name; a resumed target keeps it.
    void dropPartial(const QString &written, bool temporary);
    FileOutcome abandonUpload(const QString &written, bool temporary);

    RemoteFolderIndex serverFiles_;
};

} // namespace vendrel
