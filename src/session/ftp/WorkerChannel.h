#pragma once

#include "session/ftp/ByteQueue.h"
#include "session/ftp/CurlRequest.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace vendrel {

// All that a connection's caller thread and its worker thread share, under
// one lock: the request handed over, its outcome, and the bytes of a transfer
// in either direction in a bounded queue. The worker stops feeding a full
// queue (downloads) or drawing from an empty one (uploads) and waits here
// until the caller has made enough room or brought enough data.
//
// The caller trades whole chunks with the queue: it reads a download from the
// chunk in its hands and gathers an upload in one, so that most 1 KiB reads
// and writes are a copy that takes no lock. Waits on the caller's side handle
// its events meanwhile (waitHandlingEvents); those for a transfer's data let
// the user's input through too, so that a person can cancel a transfer
// stuck on a slow server.
class WorkerChannel {
public:
    enum class WaitingFor { Nothing, Room, Data };

    explicit WorkerChannel(qsizetype capacity) : capacity_(capacity) {}

    // --- caller's side
    // Hands a request to the worker, once it is done with the previous one.
    void submit(CurlRequest request);
    void waitUntilStartedOrFinished();
    void waitUntilFinished();
    bool isFinished() const;
    CurlOutcome outcome() const; // once finished
    // Fills out with exactly `length` bytes unless the download ends first;
    // nothing when it failed, even with bytes still queued.
    std::optional<qsizetype> read(char *out, qsizetype length);
    // Takes bytes for the upload; false once the upload has failed.
    bool write(const char *data, qsizetype length);
    void endUpload();
    void cancel();

    // --- worker's side
    // The next request; nothing once the channel is stopping.
    std::optional<CurlRequest> nextRequest();
    void markStarted();
    // False when the queue is full: the worker pauses the download.
    bool deliver(const char *data, qsizetype length);
    // Bytes for the upload: a count, 0 at the end of the data, or nothing
    // yet: the worker pauses the upload.
    std::optional<qsizetype> supply(char *out, qsizetype maxLength);
    // Blocks until the paused transfer can go on; false when it must stop.
    bool waitUntilResumable(WaitingFor what);
    bool mustStop() const;
    void finish(CurlOutcome outcome);

    // --- owner
    void stop();

private:
    enum class State { Idle, Pending, Running, Finished };

    bool handOverUpload(bool last);
    bool hasBatch() const;
    void wakeCallerForBatch(std::unique_lock<std::mutex> &lock);
    bool canResume(WaitingFor what) const;
    void wakeWorkerIfResumable();

    const qsizetype capacity_;
    mutable std::mutex mutex_;
    std::condition_variable toWorker_;
    std::condition_variable toCaller_;
    State state_ = State::Idle;
    std::optional<CurlRequest> pending_;
    CurlOutcome outcome_;
    ByteQueue queue_;
    WaitingFor workerWaitsFor_ = WaitingFor::Nothing;
    bool started_ = false;
    bool endOfUpload_ = false;
    bool cancelled_ = false;
    bool stopping_ = false;
    std::atomic<bool> failed_ = false; // finished with a failure: read without the lock

    // The caller's chunk; touched by the caller's thread only.
    ByteQueue::Chunk callerChunk_;
    qsizetype callerOffset_ = 0; // bytes of a download's chunk already read
};

} // namespace vendrel
