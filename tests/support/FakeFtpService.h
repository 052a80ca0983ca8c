#pragma once

#include "session/ftp/FtpService.h"
#include "support/FakeClock.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace vendrel::test {

// One call made on the service: its name and its arguments as text, flags
// written in hex (0x84000000).
struct FtpCall {
    QString name;
    QStringList arguments;

    QString text() const { return name + u'(' + arguments.join(QStringLiteral(", ")) + u')'; }
};

// An in-memory server that records every call and can be told to fail any.
// Reads and writes may move a fake clock, as a real transfer takes time, and
// run a hook before a given block, as a user's click would come.
class FakeFtpService final : public FtpService {
public:
    // The server's content. Paths are absolute; parent folders are created.
    void addFolder(const QString &path);
    void addFile(const QString &path, const QByteArray &content = {},
                 const QDateTime &modified = QDateTime(QDate(2006, 12, 5), QTime(9, 7), Qt::UTC),
                 ServerTime modifiedKind = ServerTime::AsWritten);
    bool hasFolder(const QString &path) const { return folders_.contains(path); }
    bool hasFile(const QString &path) const { return files_.contains(path); }
    QByteArray fileContent(const QString &path) const { return files_.value(path).content; }
    QDateTime fileTime(const QString &path) const { return files_.value(path).modified; }
    void offerFileTimes(bool offered) { offersFileTimes_ = offered; }
    void setCurrentDirectory(const QString &directory) { currentDirectory_ = directory; }
    // Downloads of that file announce this size instead of the file's own.
    void announceSize(const QString &path, qint64 size) { announcedSizes_[path] = size; }

    // After `after` good calls of that name, the next `times` calls fail (0 or false).
    void failCall(const QString &name, int times = 1, int after = 0) { failures_[name] = {after, times}; }
    // Every read or write moves the clock on first.
    void tickPerBlock(FakeClock &clock, quint32 milliseconds)
    {
        clock_ = &clock;
        millisecondsPerBlock_ = milliseconds;
    }
    // Runs before the given read or write (1-based) of the service's life.
    void beforeBlock(int block, std::function<void()> hook)
    {
        hookBlock_ = block;
        hook_ = std::move(hook);
    }

    QList<FtpCall> calls;
    QStringList callTexts() const;
    QStringList callNames() const;
    // Handles handed out and not closed yet.
    QSet<FtpHandle> openHandles;

    FtpHandle InternetOpen(const QString &agent, quint32 accessType, const QString &proxy, const QString &proxyBypass,
                           quint32 flags) override;
    FtpHandle InternetConnect(FtpHandle internet, const QString &serverName, quint16 port, const QString &userName,
                              const QString &password, quint32 service, quint32 flags, quintptr context) override;
    bool FtpGetCurrentDirectory(FtpHandle connection, QString &currentDirectory) override;
    FtpHandle FtpFindFirstFile(FtpHandle connection, const QString &searchSpec, FindData &record, quint32 flags,
                               quintptr context) override;
    bool InternetFindNextFile(FtpHandle find, FindData &record) override;
    FtpHandle FtpOpenFile(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                          quintptr context) override;
    FtpHandle FtpOpenFileAt(FtpHandle connection, const QString &path, quint32 access, quint32 flags,
                            qint64 offset) override;
    bool InternetReadFile(FtpHandle file, char *buffer, quint32 bytesToRead, quint32 &bytesRead) override;
    bool InternetWriteFile(FtpHandle file, const char *buffer, quint32 bytesToWrite, quint32 &bytesWritten) override;
    bool FtpGetFileSize(FtpHandle file, qint64 &size) override;
    bool FtpGetRemoteFileSize(FtpHandle connection, const QString &path, qint64 &size) override;
    bool FtpGetFileTime(FtpHandle connection, const QString &path, QDateTime &modified) override;
    // Like a server without MFMT when told so: nothing recorded, false.
    bool FtpSetFileTime(FtpHandle connection, const QString &path, const QDateTime &modified) override;
    bool FtpCreateDirectory(FtpHandle connection, const QString &path) override;
    bool FtpRemoveDirectory(FtpHandle connection, const QString &path) override;
    bool FtpDeleteFile(FtpHandle connection, const QString &path) override;
    bool FtpRenameFile(FtpHandle connection, const QString &existing, const QString &renamed) override;
    bool InternetCloseHandle(FtpHandle handle) override;
    bool AbortTransfer(FtpHandle file) override;
    FtpError lastError() const override { return error_; }

private:
    struct File {
        QByteArray content;
        QDateTime modified;
        ServerTime modifiedKind = ServerTime::AsWritten;
    };
    struct OpenFile {
        QString path;
        bool writing = false;
        qint64 position = 0;
        QByteArray written;
    };
    struct Failure {
        int after = 0;
        int times = 0;
    };

    // Records the call of that function; true when the test made it fail.
    bool fails(const char *function, QStringList arguments);
    // Moves the clock and runs the hook; the file open that way, if it is.
    OpenFile *block(FtpHandle file, bool writing);
    FtpHandle newHandle(QSet<FtpHandle> *kind = nullptr);
    // An aborted or closed upload stores what it sent.
    bool closeHandle(FtpHandle handle);
    FtpHandle openAt(FtpHandle connection, const QString &path, bool writing, qint64 offset);
    std::vector<FindData> entriesOf(const QString &folder, const QString &pattern) const;

    QSet<QString> folders_{QStringLiteral("/")};
    QMap<QString, File> files_;
    QString currentDirectory_ = QStringLiteral("/");
    QHash<QString, qint64> announcedSizes_;
    QHash<QString, Failure> failures_;
    QSet<FtpHandle> connections_;
    QHash<FtpHandle, std::vector<FindData>> finds_;
    QHash<FtpHandle, OpenFile> openFiles_;
    FtpHandle nextHandle_ = 0x10;
    FtpError error_;
    bool offersFileTimes_ = true;
    FakeClock *clock_ = nullptr;
    quint32 millisecondsPerBlock_ = 0;
    int blocks_ = 0;
    int hookBlock_ = 0;
    std::function<void()> hook_;
};

QString hex(quint32 value);

} // namespace vendrel::test
