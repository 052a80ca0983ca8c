#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vendrel {

// Lets the calling thread handle its pending events except user input:
// windows repaint and timers run, nobody can click.
void handlePendingEventsExceptInput();

// Blocks until ready() holds (checked under the lock), handling the calling
// thread's events at least every 10 ms meanwhile. This is how the service's
// calls block the user-interface thread without freezing its windows.
template <typename Ready>
void waitHandlingEvents(std::unique_lock<std::mutex> &lock, std::condition_variable &changed, Ready ready)
{
    using namespace std::chrono_literals;
    while (!changed.wait_for(lock, 10ms, ready)) {
        lock.unlock();
        handlePendingEventsExceptInput();
        lock.lock();
    }
}

} // namespace vendrel
