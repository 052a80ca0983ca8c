#pragma once

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <vector>

namespace vendrel {

// A download's local file. The bytes go to a temporary file beside the
// target, gathered into large writes; commit() replaces the target only once
// everything is on disk, and an uncommitted file vanishes with this object.
// Finished stretches of a large file are handed to the disk as they come and
// dropped from the cache: a file of several GiB neither floods memory nor
// leaves seconds of flushing for the end.
class DownloadTarget {
public:
    static constexpr qsizetype GatherBytes = 1024 * 1024;
    static constexpr qint64 WritebackWindowBytes = 8 * 1024 * 1024;

    explicit DownloadTarget(const QString &path);

    // Resuming keeps the target's first `keep` bytes: the new ones follow them.
    bool open(qint64 keep = 0);
    // The time the file gets when committed; none leaves it the time of writing.
    void setModified(const QDateTime &modified) { modified_ = modified; }
    // False once the file could not be written.
    bool write(const char *data, qsizetype length);
    // Writes what is gathered and waits until all of it is on disk. Slow for
    // a large file on a slow disk; it touches no Qt object, so it may run on
    // another thread.
    bool flushToDisk();
    // Writes the rest and replaces the target once it is on disk; on the
    // thread that opened the file. Quick after flushToDisk().
    bool commit();
    // Whether flushing may take long enough to keep a window waiting.
    bool isLarge() const { return written_ + qint64(gathered_.size()) >= WritebackWindowBytes; }

private:
    bool writeGathered();
    bool copyFromTarget(qint64 keep);
    void handWindowsToDisk();

    QSaveFile file_;
    int fd_ = -1; // file_'s descriptor, written to directly
    std::vector<char> gathered_;
    qint64 written_ = 0;
    qint64 handedToDisk_ = 0;
    bool failed_ = false;
    QDateTime modified_;
};

// An upload's local file, read in large chunks and handed out in blocks.
class UploadSource {
public:
    static constexpr qsizetype ChunkBytes = 1024 * 1024;

    explicit UploadSource(const QString &path);

    bool open();
    qint64 size() const { return file_.size(); }
    QDateTime modified() const { return file_.fileTime(QFileDevice::FileModificationTime); }
    // The next read starts at that byte of the file.
    bool seek(qint64 position);
    // Fills out with exactly length bytes; false when the file ends first or
    // cannot be read.
    bool read(char *out, qsizetype length);

private:
    QFile file_;
    std::vector<char> chunk_;
    qsizetype offset_ = 0;
};

} // namespace vendrel
