#pragma once

#include "app/frame/ActivityLog.h"
#include "app/frame/StatusPanels.h"
#include "session/SessionContext.h"
#include "session/SessionState.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeFtpService.h"

#include <QPlainTextEdit>
#include <QStatusBar>

namespace vendrel::test {

// The session, a fake server, a real log and status bar, scripted dialogs
// and a pinned clock: what a pane's commands are built on in unit tests.
struct SessionHarness {
    SessionContext context() { return {session, ftp, log, status, dialogs, clock}; }

    // Opens a session on the fake server and forgets the calls that took.
    void connectToFakeServer()
    {
        session.InternetHandle = ftp.InternetOpen({}, 1, {}, {}, 0);
        session.ConnectionHandle = ftp.InternetConnect(session.InternetHandle, {}, 21, {}, {}, 1, 0, 0);
        ftp.calls.clear();
    }

    SessionState session;
    FakeFtpService ftp;
    QPlainTextEdit txtInfo;
    FakeClock clock;
    ActivityLog log{txtInfo, clock};
    QStatusBar statusBar;
    StatusPanels status{statusBar, clock, QIcon(), QIcon()};
    FakeDialogs dialogs;
};

} // namespace vendrel::test
