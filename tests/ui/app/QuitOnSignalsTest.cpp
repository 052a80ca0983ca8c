#include "app/QuitOnSignals.h"

#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

// Ctrl+C, a closed terminal or the session's SIGTERM end the program through
// its event loop; once the watcher is gone the signals kill as before.
TEST(QuitOnSignals, EachStopSignalQuitsThroughTheEventLoop)
{
    int quits = 0;
    {
        const QuitOnSignals watcher([&quits] { ++quits; });
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            const int before = quits;
            ASSERT_EQ(::raise(signal), 0);
            EXPECT_EQ(quits, before) << "not from inside the handler";
            EXPECT_TRUE(QTest::qWaitFor([&] { return quits == before + 1; }, 5000)) << signal;
        }
    }
    struct sigaction current {};
    ::sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

} // namespace
} // namespace vendrel
