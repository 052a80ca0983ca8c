#pragma once

#include <QtGlobal>
#include <deque>
#include <optional>

namespace vendrel {

// The figures of a running transfer, brought up to date after every block:
// amounts, elapsed time, speed and time left. Ticks are 32-bit milliseconds
// that wrap. Speed is in Ko per second where this Ko is 1000 bytes; the
// amounts shown in Ko are bytes / 1024.
//
// Speed and time left are taken over the last five seconds of the run, not
// from one block: the first blocks of a file come out of buffers that filled
// while it was being opened, so a per-block figure starts absurdly high, and
// a stalled transfer must show its speed falling, not frozen.
class ProgressModel {
public:
    static constexpr int BarRange = 10000;              // bar positions from empty to full
    static constexpr quint32 SpeedWindowMs = 5000;      // how far back the speed looks
    static constexpr quint32 FirstFigureAfterMs = 1000; // no figure from less than this

    void startRun(qint64 batchTotal);
    void startFile(qint64 fileSize, quint32 tick);
    // Counts a block's bytes and, once the file has moved any, measures the
    // file's elapsed time.
    void addBlock(qint64 bytes, quint32 tick);
    // Bytes that will not move (a skipped file, what a resumed file already
    // holds): taken off what is left, without counting as speed.
    void leaveOut(qint64 bytes);
    // Moves the file's rounded duration into the finished seconds.
    void finishFile();

    qint64 batchTotal() const { return batchTotal_; }
    qint64 batchDone() const { return batchDone_; }
    qint64 fileSize() const { return fileSize_; }
    qint64 fileDone() const { return fileDone_; }
    quint32 elapsedMilliseconds() const { return elapsed_; }
    qint64 finishedSeconds() const { return finishedSeconds_; }
    // Whether a file of this run has measured its elapsed time yet.
    bool hasMeasurement() const { return measured_; }

    double doneKo() const { return static_cast<double>(batchDone_) / 1024; }
    // Never below 0, even when files have grown since they were listed.
    double leftKo() const { return static_cast<double>(bytesLeft()) / 1024; }
    double elapsedSeconds() const { return elapsed_ / 1000.0 + static_cast<double>(finishedSeconds_); }
    // The speed over the last seconds up to tick; nothing until the run has
    // moved data for a second.
    std::optional<double> speedAt(quint32 tick) const;
    // Seconds until the batch is done at that speed; nothing while there is
    // no speed, or none at all.
    std::optional<double> timeLeftAt(quint32 tick) const;

    // Positions of the two bars in 0..BarRange; an empty file or batch is full.
    int fileBar() const { return barPosition(fileDone_, fileSize_); }
    int batchBar() const { return barPosition(batchDone_, batchTotal_); }

private:
    struct Sample {
        quint32 tick;
        qint64 batchDone;
    };

    static int barPosition(qint64 done, qint64 size);
    qint64 bytesLeft() const;
    void sample(quint32 tick);

    qint64 batchTotal_ = 0;
    qint64 batchDone_ = 0;
    qint64 finishedSeconds_ = 0;
    bool measured_ = false;
    qint64 fileSize_ = 0;
    qint64 fileDone_ = 0;
    quint32 startTick_ = 0;
    quint32 elapsed_ = 0;
    // The batch amount now and then, oldest first: one sample per tenth of
    // a second, reaching just past the speed window.
    std::deque<Sample> samples_;
    quint32 firstTick_ = 0; // the first sample's, even once it has left
    quint32 lastTick_ = 0;  // of the last block, when batchDone_ was reached
};

} // namespace vendrel
