#pragma once

#include "platform/InstalledProgram.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace vendrel {

class Dialogs;

// Starts the desktop's system-information tool: the first of a known list
// of such programs that is installed on PATH.
class SysInfoLauncher {
public:
    // True when the program started.
    using StartProgram = std::function<bool(const QString &path)>;

    explicit SysInfoLauncher(Dialogs &dialogs, FindProgram find = findOnPath, StartProgram start = startDetached);

    // Tools that show what the machine is made of first, then the desktops'
    // system monitors.
    static const QStringList &systemInfoTools();

    // Full path of the tool to start, empty when none is installed.
    QString findSystemInfoTool() const;

    // Starts the tool and leaves it running on its own; when there is none,
    // or it does not start, says so.
    void StartSysInfo();

    static bool startDetached(const QString &path);

private:
    Dialogs &dialogs_;
    FindProgram find_;
    StartProgram start_;
};

} // namespace vendrel
