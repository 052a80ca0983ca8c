#pragma once

#include <QString>

class QLabel;

namespace vendrel {

class ActivityLog;
class Clock;
class Dialogs;
class FileListModel;
class FileListView;
class FtpService;
class RemoteTree;
class StatusPanels;
struct SessionState;

// The widgets of the server pane.
struct RemotePane {
    RemoteTree &TView1;
    FileListView &ListView2;
    FileListModel &files;
    QLabel &Label3;
};

// Lists server folders into the file list and the folder tree.
class RemoteBrowser {
public:
    RemoteBrowser(SessionState &session, FtpService &ftp, ActivityLog &log, StatusPanels &status,
                  Dialogs &dialogs, const Clock &clock, RemotePane pane);

    // Lists SessionState::RemoteSearchSpec: files become rows, folders become
    // child nodes of the current folder's node.
    void ListRemoteFolder();

    void clearTree();
    // After a login: the nodes down to the server's folder, that node
    // selected so a refresh works at once, then its listing.
    void openInitialFolder(const QString &remoteFolder);

    QString RemoteFilter = QStringLiteral("*.*");

private:
    SessionState &session_;
    FtpService &ftp_;
    ActivityLog &log_;
    StatusPanels &status_;
    Dialogs &dialogs_;
    const Clock &clock_;
    RemotePane pane_;
};

} // namespace vendrel
