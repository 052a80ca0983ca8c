#include "app/QuitOnSignals.h"

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vendrel {

namespace {

constexpr std::array handledSignals{SIGINT, SIGTERM, SIGHUP};

// A handler may only write to a pipe; the event loop reads the other end.
int wakeFds[2] = {-1, -1};

void onSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
}

void handleSignals(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : handledSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

QuitOnSignals::QuitOnSignals(std::function<void()> quit) : quit_(std::move(quit))
{
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their default action: the program still ends
    notifier_ = std::make_unique<QSocketNotifier>(wakeFds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
        }
        quit_();
    });
    handleSignals(onSignal);
}

QuitOnSignals::~QuitOnSignals()
{
    if (!notifier_)
        return;
    handleSignals(SIG_DFL);
    notifier_.reset();
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

} // namespace vendrel
