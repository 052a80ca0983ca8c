#include "transfer/LocalFileStreams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vendrel {

DownloadTarget::DownloadTarget(const QString &path) : file_(path) {}

bool DownloadTarget::open(qint64 keep)
{
    gathered_.reserve(size_t(GatherBytes));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    fd_ = file_.handle();
    return keep == 0 || copyFromTarget(keep);
}

// The kernel copies (or shares, on file systems that can) the bytes kept.
bool DownloadTarget::copyFromTarget(qint64 keep)
{
    QFile kept(file_.fileName());
    if (!kept.open(QIODevice::ReadOnly))
        return false;
    const int from = kept.handle();
    std::vector<char> chunk;
    while (written_ < keep) {
        ssize_t count = ::copy_file_range(from, nullptr, fd_, nullptr, size_t(keep - written_), 0);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) { // a file system that cannot: by hand
            chunk.resize(size_t(GatherBytes));
            count = ::read(from, chunk.data(), size_t(std::min<qint64>(GatherBytes, keep - written_)));
            if (count > 0 && ::write(fd_, chunk.data(), size_t(count)) != count)
                return false;
        }
        if (count <= 0)
            return false;
        written_ += count;
    }
    handedToDisk_ = written_;
    return true;
}

bool DownloadTarget::write(const char *data, qsizetype length)
{
    while (length > 0 && !failed_) {
        const qsizetype count = std::min(length, GatherBytes - qsizetype(gathered_.size()));
        gathered_.insert(gathered_.end(), data, data + count);
        data += count;
        length -= count;
        if (qsizetype(gathered_.size()) == GatherBytes && writeGathered())
            handWindowsToDisk();
    }
    return !failed_;
}

bool DownloadTarget::flushToDisk()
{
    return writeGathered() && ::fdatasync(fd_) == 0;
}

bool DownloadTarget::commit()
{
    if (!writeGathered())
        return false;
    if (modified_.isValid() && modified_.toMSecsSinceEpoch() >= 0) {
        const qint64 seconds = modified_.toSecsSinceEpoch();
        const qint64 nanoseconds = (modified_.toMSecsSinceEpoch() - seconds * 1000) * 1'000'000;
        const timespec times[2] = {{0, UTIME_OMIT}, {time_t(seconds), long(nanoseconds)}};
        ::futimens(fd_, times);
    }
    return file_.commit();
}

bool DownloadTarget::writeGathered()
{
    const char *data = gathered_.data();
    size_t left = gathered_.size();
    while (!failed_ && left > 0) {
        const ssize_t count = ::write(fd_, data, left);
        failed_ = count == 0 || (count < 0 && errno != EINTR);
        if (count > 0) {
            data += count;
            left -= size_t(count);
        }
    }
    written_ += qint64(gathered_.size());
    gathered_.clear();
    return !failed_;
}

// Starts the writing of each finished window at once, and drops from the
// cache the window started two windows earlier, by now on disk. Neither call
// waits for the disk; what is not written yet simply stays cached.
void DownloadTarget::handWindowsToDisk()
{
    const int fd = fd_;
    while (written_ - handedToDisk_ >= WritebackWindowBytes) {
        ::sync_file_range(fd, handedToDisk_, WritebackWindowBytes, SYNC_FILE_RANGE_WRITE);
        handedToDisk_ += WritebackWindowBytes;
        // The window before that one gets a second chance.
        const qint64 settledEnd = handedToDisk_ - 2 * WritebackWindowBytes;
        if (settledEnd > 0) {
            const qint64 start = std::max<qint64>(0, settledEnd - 2 * WritebackWindowBytes);
            ::posix_fadvise(fd, start, settledEnd - start, POSIX_FADV_DONTNEED);
        }
    }
}

UploadSource::UploadSource(const QString &path) : file_(path) {}

bool UploadSource::open()
{
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    ::posix_fadvise(file_.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool UploadSource::seek(qint64 position)
{
    chunk_.clear();
    offset_ = 0;
    return file_.seek(position);
}

bool UploadSource::read(char *out, qsizetype length)
{
    while (length > 0) {
        if (offset_ == qsizetype(chunk_.size())) {
            chunk_.resize(size_t(ChunkBytes));
            const qint64 count = file_.read(chunk_.data(), ChunkBytes);
            chunk_.resize(size_t(std::max<qint64>(count, 0)));
            offset_ = 0;
            if (count <= 0)
                return false;
        }
        const qsizetype count = std::min(length, qsizetype(chunk_.size()) - offset_);
        std::memcpy(out, chunk_.data() + offset_, size_t(count));
        out += count;
        length -= count;
        offset_ += count;
    }
    return true;
}

} // namespace vendrel
