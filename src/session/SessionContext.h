#pragma once

namespace vendrel {

class ActivityReport;
class Clock;
class Dialogs;
class FtpService;
class StatusLine;
struct SessionState;

// What every command of the panes works with: the session, the FTP service,
// the log and status bar it reports to, the dialogs it asks with, the clock.
struct SessionContext {
    SessionState &session;
    FtpService &ftp;
    ActivityReport &log;
    StatusLine &status;
    Dialogs &dialogs;
    const Clock &clock;
};

} // namespace vendrel
