#include "session/ftp/WorkerChannel.h"

#include "session/ftp/EventPumpingWait.h"
#include "session/ftp/WaitObserver.h"

#include <algorithm>
#include <cstring>

namespace vendrel {

namespace {
constexpr std::chrono::milliseconds batchWait{5};
constexpr std::chrono::milliseconds observerTurn{10};

// Tells the observer a wait began and, however it ends, that it ended.
class ObservedWait {
public:
    explicit ObservedWait(WaitObserver &observer) : observer_(observer) { observer_.waitStarted(); }
    ~ObservedWait() { observer_.waitEnded(); }
    ObservedWait(const ObservedWait &) = delete;
    ObservedWait &operator=(const ObservedWait &) = delete;

private:
    WaitObserver &observer_;
};

} // namespace

// The observer runs without the lock: the events it handles may call in here.
template <typename Ready>
void WorkerChannel::waitForServer(std::unique_lock<std::mutex> &lock, Ready ready)
{
    if (ready())
        return;
    lock.unlock();
    const ObservedWait wait(observer_);
    lock.lock();
    while (!toCaller_.wait_for(lock, observerTurn, ready)) {
        lock.unlock();
        const bool cancel = observer_.handleEvents();
        lock.lock();
        if (cancel)
            cancelLocked();
    }
}

void WorkerChannel::beginCall()
{
    std::lock_guard lock(mutex_);
    callCancelled_ = false;
}

void WorkerChannel::submit(CurlRequest request)
{
    std::unique_lock lock(mutex_);
    waitForServer(lock, [this] { return state_ == State::Idle || state_ == State::Finished; });
    pending_ = std::move(request);
    outcome_ = {};
    queue_.clear();
    queue_.recycle(std::exchange(callerChunk_, {}));
    callerOffset_ = 0;
    started_ = false;
    endOfUpload_ = false;
    // A cancel or close that came while the call's request before this
    // one ended is not forgotten: this one ends at once too.
    cancelled_ = callCancelled_ || closed_;
    failed_ = false;
    state_ = State::Pending;
    toWorker_.notify_all();
}

void WorkerChannel::waitUntilStartedOrFinished()
{
    std::unique_lock lock(mutex_);
    waitForServer(lock, [this] { return started_ || state_ == State::Finished; });
}

void WorkerChannel::waitUntilFinished()
{
    std::unique_lock lock(mutex_);
    waitForServer(lock, [this] { return state_ == State::Finished; });
}

bool WorkerChannel::isFinished() const
{
    std::lock_guard lock(mutex_);
    return state_ == State::Finished;
}

CurlOutcome WorkerChannel::outcome() const
{
    std::lock_guard lock(mutex_);
    return outcome_;
}

std::optional<qsizetype> WorkerChannel::read(char *out, qsizetype length)
{
    qsizetype got = 0;
    for (;;) {
        if (failed_)
            return std::nullopt; // a broken transfer never ends like a short file
        const qsizetype count = std::min(length - got, qsizetype(callerChunk_.size()) - callerOffset_);
        if (count > 0) {
            std::memcpy(out + got, callerChunk_.data() + callerOffset_, size_t(count));
            got += count;
            callerOffset_ += count;
        }
        if (got == length)
            return got;
        // The chunk in hand is read: trade it for the next one. Waking for
        // every piece the network brings would cost a thread switch per
        // piece: wait a moment for a batch, then take what there is.
        std::unique_lock lock(mutex_);
        queue_.recycle(std::exchange(callerChunk_, {}));
        callerOffset_ = 0;
        toCaller_.wait_for(lock, batchWait, [this] { return hasBatch() || state_ == State::Finished; });
        waitHandlingEvents(
            lock, toCaller_, [this] { return !queue_.isEmpty() || state_ == State::Finished; }, WaitEvents::All);
        if (queue_.isEmpty())
            return failed_ ? std::nullopt : std::optional(got); // the end of the file
        callerChunk_ = queue_.takeChunk();
        wakeWorkerIfResumable();
    }
}

bool WorkerChannel::write(const char *data, qsizetype length)
{
    if (failed_)
        return false;
    if (callerChunk_.capacity() == 0)
        callerChunk_.reserve(size_t(capacity_ / 4));
    callerChunk_.insert(callerChunk_.end(), data, data + length);
    return qsizetype(callerChunk_.size()) < capacity_ / 4 || handOverUpload(false);
}

void WorkerChannel::endUpload()
{
    handOverUpload(true);
}

// Moves the bytes gathered by the caller into the queue, once there is room.
bool WorkerChannel::handOverUpload(bool last)
{
    std::unique_lock lock(mutex_);
    if (!last)
        waitHandlingEvents(
            lock, toCaller_, [this] { return queue_.size() < capacity_ || state_ == State::Finished; },
            WaitEvents::All);
    if (state_ == State::Finished)
        return false;
    queue_.push(std::exchange(callerChunk_, {}));
    if (!last)
        callerChunk_ = queue_.emptyChunk(capacity_ / 4);
    endOfUpload_ = last;
    wakeWorkerIfResumable();
    return true;
}

void WorkerChannel::cancel()
{
    std::lock_guard lock(mutex_);
    cancelLocked();
}

void WorkerChannel::close()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
    cancelLocked();
}

void WorkerChannel::cancelLocked()
{
    cancelled_ = true;
    callCancelled_ = true;
    toWorker_.notify_all();
    wakeWorker_();
}

std::optional<CurlRequest> WorkerChannel::nextRequest()
{
    std::unique_lock lock(mutex_);
    toWorker_.wait(lock, [this] { return stopping_ || state_ == State::Pending; });
    if (stopping_)
        return std::nullopt;
    state_ = State::Running;
    return std::exchange(pending_, std::nullopt);
}

void WorkerChannel::markStarted()
{
    std::lock_guard lock(mutex_);
    started_ = true;
    toCaller_.notify_all();
}

// A large piece is copied outside the lock, so that the caller's reads do not
// wait for it.
bool WorkerChannel::deliver(const char *data, qsizetype length)
{
    ByteQueue::Chunk chunk;
    {
        std::unique_lock lock(mutex_);
        if (queue_.size() >= capacity_)
            return false;
        if (queue_.fitsLastChunk(length)) {
            queue_.append(data, length);
            wakeCallerForBatch(lock);
            return true;
        }
        chunk = queue_.emptyChunk(length);
    }
    chunk.insert(chunk.end(), data, data + length);
    std::unique_lock lock(mutex_);
    queue_.push(std::move(chunk));
    wakeCallerForBatch(lock);
    return true;
}

std::optional<qsizetype> WorkerChannel::supply(char *out, qsizetype maxLength)
{
    std::lock_guard lock(mutex_);
    const qsizetype taken = queue_.take(out, maxLength);
    if (taken > 0) {
        toCaller_.notify_all();
        return taken;
    }
    if (endOfUpload_)
        return 0;
    return std::nullopt;
}

bool WorkerChannel::waitUntilResumable(WaitingFor what)
{
    std::unique_lock lock(mutex_);
    workerWaitsFor_ = what;
    toWorker_.wait(lock, [this, what] { return cancelled_ || stopping_ || canResume(what); });
    workerWaitsFor_ = WaitingFor::Nothing;
    return !cancelled_ && !stopping_;
}

bool WorkerChannel::mustStop() const
{
    std::lock_guard lock(mutex_);
    return cancelled_ || stopping_;
}

void WorkerChannel::finish(CurlOutcome outcome)
{
    std::lock_guard lock(mutex_);
    outcome.started = started_;
    failed_ = !outcome.ok();
    outcome_ = std::move(outcome);
    state_ = State::Finished;
    toCaller_.notify_all();
}

void WorkerChannel::stop()
{
    std::lock_guard lock(mutex_);
    stopping_ = true;
    toWorker_.notify_all();
}

bool WorkerChannel::hasBatch() const
{
    return queue_.size() >= capacity_ / 8;
}

// Wakes the caller once the lock is released, so that it does not wake only
// to wait for the lock.
void WorkerChannel::wakeCallerForBatch(std::unique_lock<std::mutex> &lock)
{
    const bool batchReady = hasBatch();
    lock.unlock();
    if (batchReady)
        toCaller_.notify_all();
}

// Half the capacity either way, so that the worker wakes for a good batch
// of work rather than for every 1 KiB block.
bool WorkerChannel::canResume(WaitingFor what) const
{
    switch (what) {
    case WaitingFor::Room: return queue_.size() <= capacity_ / 2;
    case WaitingFor::Data: return queue_.size() >= capacity_ / 2 || endOfUpload_;
    case WaitingFor::Nothing: break;
    }
    return true;
}

void WorkerChannel::wakeWorkerIfResumable()
{
    if (workerWaitsFor_ != WaitingFor::Nothing && canResume(workerWaitsFor_))
        toWorker_.notify_all();
}

} // namespace vendrel
