#include "transfer/ProgressModel.h"
#include "transfer/NumberPatterns.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

// Moves `bytesPerSecond` for `milliseconds` in steps of `stepMs`; returns the tick reached.
quint32 feed(ProgressModel &progress, quint32 tick, qint64 bytesPerSecond, quint32 milliseconds, quint32 stepMs)
{
    for (qint64 spent = 0; spent < milliseconds; spent += stepMs)
        progress.addBlock((spent + stepMs) * bytesPerSecond / 1000 - spent * bytesPerSecond / 1000, tick += stepMs);
    return tick;
}

TEST(ProgressModelTest, SpeedAndTimeLeftComeFromTheLastSecondsNotFromOneBlock)
{
    const qint64 mebibyte = 1024 * 1024;
    ProgressModel progress;
    progress.startRun(100 * mebibyte);
    progress.startFile(100 * mebibyte, 5000);
    progress.addBlock(64 * 1024, 5001); // what the buffers held when the file opened
    quint32 tick = feed(progress, 5001, mebibyte, 900, 1);
    EXPECT_FALSE(progress.speedAt(tick)) << "less than a second of data";
    EXPECT_FALSE(progress.timeLeftAt(tick));
    EXPECT_TRUE(progress.hasMeasurement());

    tick = feed(progress, tick, mebibyte, 1000, 1);
    EXPECT_NEAR(*progress.speedAt(tick), 1048.576, 1048.576 * 0.05) << "the first burst weighs little";
    tick = feed(progress, tick, mebibyte, ProgressModel::SpeedWindowMs, 1);
    EXPECT_NEAR(*progress.speedAt(tick), 1048.576, 1.0) << "Ko of 1000 bytes";
    const double bytesLeft = static_cast<double>(progress.batchTotal() - progress.batchDone());
    EXPECT_NEAR(*progress.timeLeftAt(tick), bytesLeft / mebibyte, 0.1);
}

TEST(ProgressModelTest, ASlowTransferThenAStallAcrossTheTickWrap)
{
    ProgressModel progress;
    progress.startRun(1024 * 1024);
    progress.startFile(1024 * 1024, 0xFFFFF000u);
    const quint32 stalledAt = feed(progress, 0xFFFFF000u, 10 * 1024, 8000, 100);
    EXPECT_NEAR(*progress.speedAt(stalledAt), 10.24, 0.01);
    const double bytesLeft = static_cast<double>(1024 * 1024 - progress.batchDone());
    EXPECT_NEAR(*progress.timeLeftAt(stalledAt), bytesLeft / 10240, 0.5);

    double lastSpeed = *progress.speedAt(stalledAt);
    double lastTimeLeft = *progress.timeLeftAt(stalledAt);
    for (const quint32 later : {1000u, 2000u, 4000u}) {
        const double speed = *progress.speedAt(stalledAt + later);
        const double timeLeft = *progress.timeLeftAt(stalledAt + later);
        EXPECT_LT(speed, lastSpeed);
        EXPECT_GT(timeLeft, lastTimeLeft);
        EXPECT_TRUE(std::isfinite(timeLeft));
        lastSpeed = speed;
        lastTimeLeft = timeLeft;
    }
    EXPECT_EQ(progress.speedAt(stalledAt + ProgressModel::SpeedWindowMs), 0.0);
    EXPECT_FALSE(progress.timeLeftAt(stalledAt + ProgressModel::SpeedWindowMs)) << "no figure rather than infinity";

    progress.addBlock(1024 * 1024 - progress.batchDone(), stalledAt + 60'000);
    EXPECT_EQ(progress.timeLeftAt(stalledAt + 60'000), 0.0) << "done is done, whatever the speed";
}

TEST(ProgressModelTest, BatchesOfSeveralGibibytesCountAndBarsEndFullNeverPastIt)
{
    const qint64 total = 6LL * 1024 * 1024 * 1024 + 18;
    ProgressModel progress;
    progress.startRun(total);
    progress.startFile(total, 0);
    progress.addBlock(0, 500);
    EXPECT_FALSE(progress.hasMeasurement()) << "nothing moved yet";
    progress.addBlock(total / 2, 1000);
    EXPECT_EQ(progress.batchBar(), ProgressModel::BarRange / 2);
    progress.addBlock(total - total / 2 + 1500, 2000); // longer than listed
    EXPECT_EQ(progress.fileBar(), ProgressModel::BarRange);
    EXPECT_EQ(progress.batchBar(), ProgressModel::BarRange);
    EXPECT_DOUBLE_EQ(progress.leftKo(), 0.0);
    progress.startFile(0, 3000);
    EXPECT_EQ(progress.fileBar(), ProgressModel::BarRange) << "an empty file is complete";
}

TEST(NumberPatternsTest, WholeAndSpeedPatternsInTheUsersLocale)
{
    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(formatWholePattern(0, french), QString());
    EXPECT_EQ(formatWholePattern(7.5, french), QStringLiteral("8"));
    EXPECT_EQ(formatWholePattern(1234567.4, french), QStringLiteral("1 234 567"));
    EXPECT_EQ(formatSpeedPattern(0, french), QStringLiteral(","));
    EXPECT_EQ(formatSpeedPattern(0.256, french), QStringLiteral(",26"));
    EXPECT_EQ(formatSpeedPattern(12345.5, french), QStringLiteral("12345,5"));
    EXPECT_EQ(formatSpeedPattern(10.24, QLocale::c()), QStringLiteral("10.24"));
}

} // namespace
} // namespace vendrel
