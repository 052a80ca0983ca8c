#pragma once

namespace vendrel {

// How a call spends its wait for the server on the caller's thread, and how
// a person cuts it short. The application shows a way to cancel; this
// default shows nothing, keeps the windows repainting and takes no input.
class WaitObserver {
public:
    virtual ~WaitObserver() = default;

    virtual void waitStarted() {}
    // One turn of the wait, about every 10 ms: handles the thread's events
    // (never input that could start another command) and says whether the
    // user asked to cancel the call.
    virtual bool handleEvents();
    virtual void waitEnded() {}
};

} // namespace vendrel
