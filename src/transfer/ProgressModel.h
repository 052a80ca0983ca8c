#pragma once

#include <QtGlobal>

namespace vendrel {

// The figures of a running transfer, brought up to date after every block:
// amounts, elapsed time, speed and time left. Ticks are 32-bit milliseconds
// that wrap. Speed is in Ko per second where this Ko is 1000 bytes; the
// amounts shown in Ko are bytes / 1024.
class ProgressModel {
public:
    static constexpr int BarRange = 10000; // bar positions from empty to full

    void startRun(qint64 batchTotal);
    void startFile(qint64 fileSize, quint32 tick);
    // Counts a block's bytes and, once the file has moved any, measures the
    // time. True when the time measurement changed the speed.
    bool addBlock(qint64 bytes, quint32 tick);
    // Adds the file's rounded duration to the finished seconds.
    void finishFile();

    qint64 batchTotal() const { return batchTotal_; }
    qint64 batchDone() const { return batchDone_; }
    qint64 fileSize() const { return fileSize_; }
    qint64 fileDone() const { return fileDone_; }
    float speed() const { return speed_; }
    quint32 elapsedMilliseconds() const { return elapsed_; }
    qint64 finishedSeconds() const { return finishedSeconds_; }
    // Whether this run has measured a speed yet.
    bool hasMeasurement() const { return measured_; }

    double doneKo() const { return static_cast<double>(batchDone_) / 1024; }
    // Never below 0, even when files have grown since they were listed.
    double leftKo() const;
    double elapsedSeconds() const { return elapsed_ / 1000.0 + static_cast<double>(finishedSeconds_); }
    double timeLeftSeconds() const;

    // Positions of the two bars in 0..BarRange; an empty file or batch is full.
    int fileBar() const { return barPosition(fileDone_, fileSize_); }
    int batchBar() const { return barPosition(batchDone_, batchTotal_); }

private:
    static int barPosition(qint64 done, qint64 size);

    qint64 batchTotal_ = 0;
    qint64 batchDone_ = 0;
    float speed_ = 0;
    qint64 finishedSeconds_ = 0;
    bool measured_ = false;
    qint64 fileSize_ = 0;
    qint64 fileDone_ = 0;
    quint32 startTick_ = 0;
    quint32 elapsed_ = 0;
};

} // namespace vendrel
