#include "transfer/ProgressModel.h"

#include <algorithm>
#include <cmath>

namespace vendrel {

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
}

bool ProgressModel::addBlock(qint64 bytes, quint32 tick)
{
    fileDone_ += bytes;
    batchDone_ += bytes;
    if (fileDone_ == 0 || tick == startTick_)
        return false;
    elapsed_ = tick - startTick_; // modulo 2^32
    const double fileSpeed = (static_cast<double>(fileDone_) / 1000) / (elapsed_ / 1000.0);
    speed_ = static_cast<float>((fileSpeed + speed_) / 2);
    measured_ = true;
    return true;
}

void ProgressModel::finishFile()
{
    finishedSeconds_ += static_cast<qint64>(std::nearbyint(elapsed_ / 1000.0)); // halves to even
}

double ProgressModel::leftKo() const
{
    return static_cast<double>(std::max<qint64>(batchTotal_ - batchDone_, 0)) / 1024;
}

double ProgressModel::timeLeftSeconds() const
{
    return speed_ > 0 ? leftKo() / speed_ : 0;
}

int ProgressModel::barPosition(qint64 done, qint64 size)
{
    if (size <= 0)
        return BarRange;
    const double share = static_cast<double>(std::clamp<qint64>(done, 0, size)) / static_cast<double>(size);
    return static_cast<int>(share * BarRange);
}

} // namespace vendrel
