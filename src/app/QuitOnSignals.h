#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace vendrel {

// Ends the program through its event loop when a terminal or the session
// asks it to stop (Ctrl+C, SIGTERM, a closed terminal), so that what it
// cleans up on the way out (the demo's profile and server, temporary files
// of a transfer) is cleaned up then too. One at a time.
class QuitOnSignals final : public QObject {
public:
    explicit QuitOnSignals(std::function<void()> quit);
    ~QuitOnSignals() override;

private:
    std::function<void()> quit_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace vendrel
