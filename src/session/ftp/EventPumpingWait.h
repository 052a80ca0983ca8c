#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vendrel {

// Which of the calling thread's events a wait handles.
enum class WaitEvents {
    AllButInput, // windows repaint and timers run, nobody can click
    All,         // the user can act too: for waits a person may want to cut short
};

void handlePendingEvents(WaitEvents events);
inline void handlePendingEventsExceptInput()
{
    handlePendingEvents(WaitEvents::AllButInput);
}

// Blocks until ready() holds (checked under the lock), handling the calling
// thread's events at least every 10 ms meanwhile. This is how the service's
// calls block the user-interface thread without freezing its windows.
template <typename Ready>
void waitHandlingEvents(std::unique_lock<std::mutex> &lock, std::condition_variable &changed, Ready ready,
                        WaitEvents events = WaitEvents::AllButInput)
{
    using namespace std::chrono_literals;
    while (!changed.wait_for(lock, 10ms, ready)) {
        lock.unlock();
        handlePendingEvents(events);
        lock.lock();
    }
}

} // namespace vendrel
