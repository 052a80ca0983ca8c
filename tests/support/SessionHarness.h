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
// A real service can stand in for the fake one.
struct SessionHarness {
    explicit SessionHarness(FtpService *service = nullptr) : service_(service != nullptr ? service : &ftp) {}

    SessionContext context() { return {session, *service_, log, status, dialogs, clock}; }

    // Opens a session on the fake server and forgets the calls that took.
    void connectToFakeServer()
    {
        session.InternetHandle = ftp.InternetOpen({}, 1, {}, {}, 0);
        session.ConnectionHandle = ftp.InternetConnect(session.InternetHandle, {}, 21, {}, {}, 1, 0, 0);
        ftp.calls.clear();
    }

    // Opens a session on a real server on loopback; false when the login fails.
    bool connectTo(quint16 port, const QString &user, const QString &password)
    {
        session.InternetHandle =
            service_->InternetOpen(QStringLiteral("test"), ftp::INTERNET_OPEN_TYPE_DIRECT, {}, {}, 0);
        session.ConnectionHandle =
            service_->InternetConnect(session.InternetHandle, QStringLiteral("127.0.0.1"), port, user, password,
                                      ftp::INTERNET_SERVICE_FTP, ftp::INTERNET_FLAG_PASSIVE, 0);
        return session.isConnected();
    }

    SessionState session;
    FakeFtpService ftp;
    QPlainTextEdit txtInfo;
    FakeClock clock;
    ActivityLog log{txtInfo, clock};
    QStatusBar statusBar;
    StatusPanels status{statusBar, clock, QIcon(), QIcon()};
    FakeDialogs dialogs;

private:
    FtpService *service_;
};

} // namespace vendrel::test
