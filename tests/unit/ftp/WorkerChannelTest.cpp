#include "session/ftp/WorkerChannel.h"
#include "session/ftp/ByteQueue.h"
#include "session/ftp/FtpHandleTable.h"
#include "session/ftp/WaitObserver.h"

#include <QByteArray>
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

QByteArray pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed) % 251);
    return bytes;
}

// Bytes come out in the order they went in, whichever way they were put and taken.
TEST(ByteQueue, KeepsTheOrderAcrossAppendsPushesAndTakes)
{
    ByteQueue queue;
    QByteArray in;
    QByteArray out;
    int seed = 0;
    for (int round = 0; round < 50; ++round) {
        const QByteArray small = pattern(1000 + round, ++seed);
        queue.append(small.constData(), small.size());
        in += small;
        const QByteArray large = pattern(100'000 + round * 7, ++seed);
        if (queue.fitsLastChunk(large.size())) {
            queue.append(large.constData(), large.size());
        } else {
            ByteQueue::Chunk chunk = queue.emptyChunk(large.size());
            chunk.insert(chunk.end(), large.begin(), large.end());
            queue.push(std::move(chunk));
        }
        in += large;
        EXPECT_EQ(queue.size(), in.size() - out.size());

        QByteArray block(1024 + round, Qt::Uninitialized);
        block.resize(queue.take(block.data(), block.size()));
        out += block;
        if (round % 3 == 0) {
            const ByteQueue::Chunk chunk = queue.takeChunk();
            out.append(chunk.data(), qsizetype(chunk.size()));
            queue.recycle(chunk);
        }
    }
    QByteArray rest(queue.size(), Qt::Uninitialized);
    EXPECT_EQ(queue.take(rest.data(), rest.size() + 10), rest.size());
    out += rest;
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_EQ(out, in);
}

TEST(FtpHandleTable, ClosingAHandleClosesWhatWasOpenedThroughIt)
{
    FtpHandleTable table;
    const FtpHandle session = table.add(InternetSession{});
    const FtpHandle connection = table.add(ConnectionHandleObject{}, session);
    const FtpHandle find = table.add(FindHandleObject{}, connection);
    const FtpHandle other = table.add(InternetSession{});
    EXPECT_NE(session, 0u);
    EXPECT_EQ(std::set<FtpHandle>({session, connection, find, other}).size(), 4u);
    EXPECT_EQ(table.add(FindHandleObject{}, 0xdead), 0u); // no such parent

    const std::vector<HandleObject> closed = table.take(session);
    ASSERT_EQ(closed.size(), 3u);
    EXPECT_TRUE(std::holds_alternative<InternetSession>(closed[0]));
    EXPECT_FALSE(table.find<FindHandleObject>(find));
    EXPECT_FALSE(table.find<ConnectionHandleObject>(connection));
    EXPECT_TRUE(table.find<InternetSession>(other));
    EXPECT_FALSE(table.find<ConnectionHandleObject>(other)); // a handle is of one kind
    EXPECT_TRUE(table.take(session).empty());
    EXPECT_TRUE(table.take(0).empty());
}

} // namespace
} // namespace vendrel
