#include "session/ftp/WorkerChannel.h"
#include "session/ftp/WaitObserver.h"

#include <QTimer>
#include <atomic>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace vendrel {
namespace {

// The user in front of a wait for the server: asks to cancel while told to.
struct CancellingUser final : WaitObserver {
    bool handleEvents() override { return cancelling; }
    bool cancelling = false; // set between the waits, on the waiting thread
};

CurlOutcome outcome(CURLcode code)
{
    CurlOutcome result;
    result.code = code;
    return result;
}

// The test plays the caller; a thread of its own plays the worker, one
// step per request, so every hand-over goes through the channel's own waits.
struct WorkerChannelTest : ::testing::Test {
    using Step = std::function<void(WorkerChannel &)>;

    ~WorkerChannelTest() override { stopWorker(); }

    void startWorker(std::vector<Step> steps)
    {
        workerThread = std::thread([this, steps = std::move(steps)] {
            for (std::size_t i = 0; i < steps.size() && channel.nextRequest(); ++i)
                steps[i](channel);
        });
    }
    void stopWorker()
    {
        channel.stop();
        if (workerThread.joinable())
            workerThread.join();
    }
    // A call of one request, as the connection makes it.
    void call()
    {
        channel.beginCall();
        channel.submit({});
        channel.waitUntilFinished();
    }

    CancellingUser user;
    std::atomic<int> networkWakes = 0;
    WorkerChannel channel{4096, user, [this] { ++networkWakes; }};
    std::thread workerThread;
};

// The worker ends each download only once the caller waits in read() with
// nothing queued: the timer that lets it can fire nowhere else.
TEST_F(WorkerChannelTest, ADownloadThatFailsWhileTheCallerWaitsIsNoEndOfFile)
{
    std::promise<void> callerWaits[2];
    startWorker({[&](WorkerChannel &worker) {
                     callerWaits[0].get_future().wait();
                     worker.finish(outcome(CURLE_OK));
                 },
                 [&](WorkerChannel &worker) {
                     callerWaits[1].get_future().wait();
                     worker.finish(outcome(CURLE_RECV_ERROR));
                 }});
    char block[1024];
    for (std::promise<void> &waits : callerWaits) {
        channel.beginCall();
        channel.submit({});
        QTimer::singleShot(0, [&waits] { waits.set_value(); });
        const std::optional<qsizetype> got = channel.read(block, sizeof block);
        EXPECT_EQ(got, &waits == &callerWaits[0] ? std::optional<qsizetype>(0) : std::nullopt);
    }
}

TEST_F(WorkerChannelTest, ACancelReleasesAWorkerPausedEitherWayAndQueuedBytesAreNotRead)
{
    std::promise<void> downloadPaused;
    bool downloadResumed = true;
    bool uploadResumed = true;
    startWorker({[&](WorkerChannel &worker) {
                     const char piece[1024] = {};
                     while (worker.deliver(piece, sizeof piece)) {
                     }
                     downloadPaused.set_value();
                     downloadResumed = worker.waitUntilResumable(WorkerChannel::WaitingFor::Room);
                     worker.finish(outcome(CURLE_ABORTED_BY_CALLBACK));
                 },
                 [&](WorkerChannel &worker) {
                     uploadResumed = worker.waitUntilResumable(WorkerChannel::WaitingFor::Data);
                     worker.finish(outcome(CURLE_ABORTED_BY_CALLBACK));
                 }});

    channel.beginCall();
    channel.submit({});
    downloadPaused.get_future().wait();
    channel.cancel();
    channel.waitUntilFinished();
    char block[16];
    EXPECT_EQ(channel.read(block, sizeof block), std::nullopt) << "4 KiB still queued";

    channel.beginCall();
    channel.submit({});
    channel.cancel();
    channel.waitUntilFinished();
    EXPECT_FALSE(channel.write("x", 1));

    stopWorker();
    EXPECT_FALSE(downloadResumed);
    EXPECT_FALSE(uploadResumed);
    EXPECT_EQ(networkWakes, 2);
}

// A request the connection sends again after a dropped connection belongs to
// the same call: the user's cancel of the first one holds for it too, not for
// the next call. Closing the connection holds for every later call.
TEST_F(WorkerChannelTest, ACancelDuringARetryEndsTheRetryButNotTheNextCall)
{
    std::vector<bool> stopAtOnce;
    const Step recordStop = [&](WorkerChannel &worker) {
        stopAtOnce.push_back(worker.mustStop());
        worker.finish(outcome(CURLE_OK));
    };
    startWorker({[](WorkerChannel &worker) {
                     worker.waitUntilResumable(WorkerChannel::WaitingFor::Data); // until cancelled
                     worker.finish(outcome(CURLE_SEND_ERROR));
                 },
                 recordStop, recordStop, recordStop});

    user.cancelling = true;
    call();
    EXPECT_EQ(channel.outcome().code, CURLE_SEND_ERROR);
    channel.submit({}); // the retry
    channel.waitUntilFinished();
    user.cancelling = false;
    call();
    channel.close();
    call();

    stopWorker();
    EXPECT_EQ(stopAtOnce, (std::vector<bool>{true, false, true}));
}

} // namespace
} // namespace vendrel
