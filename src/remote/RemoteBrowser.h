#pragma once

#include "session/SessionContext.h"

#include <QString>

class QLabel;

namespace vendrel {

class FileListModel;
class FileListView;
class RemoteTree;

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
    RemoteBrowser(SessionContext context, RemotePane pane);

    // Lists SessionState::RemoteSearchSpec: files become rows, folders become
    // child nodes of the current folder's node.
    void ListRemoteFolder();

    void clearTree();
    // After a login: the nodes down to the server's folder, that node
    // selected so a refresh works at once, then its listing.
    void openInitialFolder(const QString &remoteFolder);

    QString RemoteFilter = QStringLiteral("*.*");

private:
    SessionContext context_;
    RemotePane pane_;
};

} // namespace vendrel
