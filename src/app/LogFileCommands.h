#pragma once

#include <QString>
#include <functional>

namespace vendrel {

class ActivityLog;
class Dialogs;

// The log's two file commands: save the log in the data folder as
// <name>.txt in Windows-1252, and show that folder, where the saved logs
// lie, in the local pane.
class LogFileCommands {
public:
    // dataFolder: without a trailing '/'. openLocalFolder makes a folder
    // the local pane's current folder and lists it.
    LogFileCommands(const ActivityLog &log, Dialogs &dialogs, QString dataFolder,
                    std::function<void(const QString &folder)> openLocalFolder);

    void zSave_Click();
    void zOpen_Click();

private:
    const ActivityLog &log_;
    Dialogs &dialogs_;
    QString dataFolder_;
    std::function<void(const QString &)> openLocalFolder_;
};

} // namespace vendrel
