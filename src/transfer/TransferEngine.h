#pragma once

#include "session/SessionContext.h"
#include "session/SessionState.h"
#include "session/ftp/FtpService.h"
#include "transfer/ProgressModel.h"
#include "transfer/TransferBatch.h"

#include <QString>

namespace vendrel {

class ProgressDisplay;
struct DirectionTexts;

enum class RunOutcome {
    Completed,             // every file arrived; the success message was shown
    CompletedWithFailures, // every file was tried, at least one failed
    Stopped,               // a file could not be opened; later files were not tried
    Cancelled,             // the user cancelled during a file; nothing of it was left behind
};

// The run both engines share: files one after the other in 1024-byte
// blocks, the progress figures after every block, the log lines and the
// messages.
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
    enum class FileOutcome { Done, Failed, StopRun, Cancelled };

    virtual FileOutcome transferFile(int index, const QString &name, qint64 listedSize) = 0;
    // Makes a folder of the batch on the target side; false stops the run.
    virtual bool makeFolder(const QString &folder) = 0;

    QString localPath(const QString &name) const { return localFolder_ + name; }
    QString remotePath(const QString &name) const { return remoteFolder_ + name; }
    // The start of every file: the window's label, the log line from source
    // to target and the status message.
    void announceFile(int index, const QString &name, qint64 listedSize, const QString &source, const QString &target);
    FtpHandle openRemote(const QString &path, quint32 access);
    // Closes the open remote file; for an upload, whether the server stored it all.
    bool closeRemote();
    void startClock(qint64 listedSize);
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
    // The remote file open for transfer, 0 when none.
    FtpHandle TransferHandle = 0;
    ProgressModel progress_;
};

// Receives the batch from the current remote folder into the current local
// folder. Each file goes to a temporary file beside its target that replaces
// the target only once complete, and in binary only with the size expected.
class DownloadEngine final : public TransferEngine {
public:
    DownloadEngine(SessionContext context, ProgressDisplay &display);

private:
    FileOutcome transferFile(int index, const QString &name, qint64 listedSize) override;
    bool makeFolder(const QString &folder) override;
    bool sizeHolds(const QString &remote, qint64 received, qint64 listed, qint64 announced);
};

// Sends the batch from the current local folder to the current remote
// folder, reading each local file block by block at its current length.
class UploadEngine final : public TransferEngine {
public:
    UploadEngine(SessionContext context, ProgressDisplay &display);

private:
    FileOutcome transferFile(int index, const QString &name, qint64 listedSize) override;
    bool makeFolder(const QString &folder) override;
    // The server keeps what an abandoned upload sent, under the target's
    // name: that incomplete file is deleted.
    FileOutcome abandonUpload(const QString &remote);
};

} // namespace vendrel
