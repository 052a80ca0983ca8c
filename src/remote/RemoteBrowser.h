#pragma once

#include "session/SessionContext.h"

#include <QString>

class QAction;
class QLabel;
class QTreeWidgetItem;

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
    QAction &zAll2;
    QAction &zDefine2;
};

// Lists server folders into the file list and the folder tree, moves through
// them with the tree and filters them by file pattern.
class RemoteBrowser {
public:
    RemoteBrowser(SessionContext context, RemotePane pane);

    // Lists SessionState::RemoteSearchSpec: files become rows, folders become
    // child nodes of the current folder's node.
    void ListRemoteFolder();

    // Empties the tree, the rows and the path: nothing of a server left on show.
    void clearPane();
    // After a login: the nodes down to the server's folder, that node
    // selected so a refresh works at once, its path, then its listing.
    void openInitialFolder(const QString &remoteFolder);

    // Opens the tree's selected node: it becomes the current folder and is listed anew.
    void TView1_NodeClick();
    void zRemRef_Click();
    void zAll2_Click();
    void zDefine2_Click();

    // Selects a node, as a click would, without opening it.
    void selectNode(QTreeWidgetItem *node);

    // The file pattern of the listings, "*.*" until a filter item changes it.
    const QString &remoteFilter() const { return RemoteFilter; }

private:
    void applyFilter(const QString &filter);

    SessionContext context_;
    RemotePane pane_;
    QString RemoteFilter = QStringLiteral("*.*");
};

} // namespace vendrel
