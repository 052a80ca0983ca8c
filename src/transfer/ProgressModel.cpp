#include "transfer/ProgressModel.h"

#include <algorithm>
#include <cmath>

namespace vendrel {

namespace {
constexpr quint32 SampleStepMs = 100;
} // namespace

void ProgressModel::startRun(qint64 batchTotal)
{
    *this = ProgressModel();
    batchTotal_ = batchTotal;
}

void ProgressModel::startFile(qint64 fileSize, quint32 tick)
{
    fileSize_ = fileSize;
    fileDone_ = 0;
    elapsed_ = 0;
    startTick_ = tick;
    sample(tick);
}

void ProgressModel::addBlock(qint64 bytes, quint32 tick)
{
    fileDone_ += bytes;
    batchDone_ += bytes;
    sample(tick);
    if (fileDone_ == 0 || tick == startTick_)
        return;
    elapsed_ = tick - startTick_; // modulo 2^32
    measured_ = true;
}

void ProgressModel::leaveOut(qint64 bytes)
{
    batchTotal_ = std::max(batchDone_, batchTotal_ - bytes);
}

void ProgressModel::finishFile()
{
    finishedSeconds_ += static_cast<qint64>(std::nearbyint(elapsed_ / 1000.0)); // halves to even
    elapsed_ = 0;                                                               // now counted in the finished seconds
}

// Keeps one sample at least a window old, as the start of the window.
void ProgressModel::sample(quint32 tick)
{
    if (samples_.empty())
        firstTick_ = tick;
    if (samples_.empty() || tick - samples_.back().tick >= SampleStepMs)
        samples_.push_back({tick, batchDone_});
    while (samples_.size() > 1 && tick - samples_[1].tick >= SpeedWindowMs)
        samples_.pop_front();
    lastTick_ = tick;
}

std::optional<double> ProgressModel::speedAt(quint32 tick) const
{
    if (samples_.empty() || tick - firstTick_ < FirstFigureAfterMs)
        return std::nullopt;
    Sample start = samples_.front();
    for (const Sample &candidate : samples_) {
        if (tick - candidate.tick < SpeedWindowMs)
            break;
        start = candidate;
    }
    if (tick - lastTick_ >= SpeedWindowMs)
        start = {lastTick_, batchDone_}; // nothing moved within the window
    // The window spans at least the first second (or a whole window), never 0.
    const double seconds = (tick - start.tick) / 1000.0;
    return static_cast<double>(batchDone_ - start.batchDone) / 1000 / seconds;
}

std::optional<double> ProgressModel::timeLeftAt(quint32 tick) const
{
    if (bytesLeft() == 0)
        return 0.0;
    const std::optional<double> speed = speedAt(tick);
    if (!speed || *speed <= 0)
        return std::nullopt;
    return static_cast<double>(bytesLeft()) / (*speed * 1000);
}

qint64 ProgressModel::bytesLeft() const
{
    return std::max<qint64>(batchTotal_ - batchDone_, 0);
}

int ProgressModel::barPosition(qint64 done, qint64 size)
{
    if (size <= 0)
        return BarRange;
    const double share = static_cast<double>(std::clamp<qint64>(done, 0, size)) / static_cast<double>(size);
    return static_cast<int>(share * BarRange);
}

} // namespace vendrel
