#include "transfer/NumberPatterns.h"
#include "transfer/ProgressModel.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

TEST(ProgressModelTest, SpeedIsTheMeanOfThePreviousSpeedAndTheFileSoFar)
{
    ProgressModel progress;
    progress.startRun(10 * 1024);
    progress.startFile(10 * 1024, 5000);
    EXPECT_FALSE(progress.addBlock(1024, 5000)) << "no time has passed";
    EXPECT_FALSE(progress.hasMeasurement());

    EXPECT_TRUE(progress.addBlock(1024, 5100)); // 2048 bytes in 100 ms: 20.48 Ko/s, half of it first
    EXPECT_FLOAT_EQ(progress.speed(), 10.24f);
    EXPECT_EQ(progress.elapsedMilliseconds(), 100u);
    EXPECT_DOUBLE_EQ(progress.doneKo(), 2.0);
    EXPECT_DOUBLE_EQ(progress.leftKo(), 8.0);
    EXPECT_DOUBLE_EQ(progress.timeLeftSeconds(), 8.0 / 10.24f);

    EXPECT_TRUE(progress.addBlock(1024, 5200)); // 3072 in 200 ms: 15.36, mean with 10.24
    EXPECT_FLOAT_EQ(progress.speed(), 12.8f);
}

TEST(ProgressModelTest, AnEmptyReadMeasuresNothingAndTicksWrap)
{
    ProgressModel progress;
    progress.startRun(2048);
    progress.startFile(2048, 0xFFFFFF00u);
    EXPECT_FALSE(progress.addBlock(0, 0xFFFFFFF0u)) << "nothing moved yet";
    EXPECT_TRUE(progress.addBlock(2048, 0x00000100u));
    EXPECT_EQ(progress.elapsedMilliseconds(), 0x200u);
}

TEST(ProgressModelTest, FinishedFilesAddTheirRoundedSecondsHalvesToEven)
{
    ProgressModel progress;
    progress.startRun(3000);
    const auto file = [&progress](quint32 start, quint32 milliseconds) {
        progress.startFile(1000, start);
        progress.addBlock(1000, start + milliseconds);
        progress.finishFile();
    };
    file(0, 10'000);
    file(20'000, 4'500); // 4.5 s counts 4
    EXPECT_EQ(progress.finishedSeconds(), 14);
    file(30'000, 1'500); // 1.5 s counts 2
    EXPECT_EQ(progress.finishedSeconds(), 16);

    progress.startFile(1000, 40'000);
    progress.addBlock(500, 47'000);
    EXPECT_DOUBLE_EQ(progress.elapsedSeconds(), 23.0);
    progress.startRun(10);
    EXPECT_EQ(progress.finishedSeconds(), 0);
    EXPECT_EQ(progress.speed(), 0.0f) << "each run starts from a speed of 0";
}

TEST(ProgressModelTest, BatchesOfSeveralGibibytesAreCountedAndBarsEndFull)
{
    const qint64 total = 6LL * 1024 * 1024 * 1024 + 18;
    ProgressModel progress;
    progress.startRun(total);
    progress.startFile(total, 0);
    EXPECT_EQ(progress.batchBar(), 0);
    progress.addBlock(total / 2, 1000);
    EXPECT_EQ(progress.batchBar(), ProgressModel::BarRange / 2);
    progress.addBlock(total - total / 2, 2000);
    EXPECT_EQ(progress.batchDone(), total);
    EXPECT_EQ(progress.fileBar(), ProgressModel::BarRange);
    EXPECT_EQ(progress.batchBar(), ProgressModel::BarRange);
    EXPECT_DOUBLE_EQ(progress.leftKo(), 0.0);
}

TEST(ProgressModelTest, AFileLongerThanListedNeitherOverfillsNorGoesNegative)
{
    ProgressModel progress;
    progress.startRun(1000);
    progress.startFile(1000, 0);
    progress.addBlock(1500, 10);
    EXPECT_EQ(progress.fileBar(), ProgressModel::BarRange);
    EXPECT_DOUBLE_EQ(progress.leftKo(), 0.0);
    progress.startFile(0, 20);
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
