#pragma once

#include "remote/RemoteBrowser.h"
#include "session/SessionContext.h"

#include <QString>

class QMenu;
class QPoint;

namespace vendrel {

// The commands that change the server — rename, delete a folder, delete
// files, create a folder — and the viewing events of the server's file list.
// Every change is logged and followed by a refresh of the current folder.
class RemoteOperations {
public:
    RemoteOperations(SessionContext context, RemotePane pane, RemoteBrowser &browser, QMenu &zRemote);

    void zRemRS_Click();
    void ListView2_BeforeLabelEdit(int row);
    void ListView2_AfterLabelEdit(int row, const QString &newName);
    void zRemDF_Click();
    void zRemDS_Click();
    void zRemNF_Click();

    void ListView2_ColumnClick(int column);
    // The selection summary of the status bar.
    void ListView2_Click();
    void ListView2_KeyUp(int key);
    void ListView2_ContextMenu(const QPoint &globalPosition);

    // A typed name that stays inside the current folder: no empty, "." or
    // ".." part, no leading '/', no '\'.
    static bool staysInsideFolder(const QString &name);

private:
    bool checkConnected(const QString &notConnectedText);
    // Whether the list shows a file of that name other than the row's.
    bool listsAnotherFile(int row, const QString &name) const;
    // The node's texts from the root down, joined by '\': ..\pub\old
    static QString nodeTextPath(const QTreeWidgetItem *node);

    SessionContext context_;
    RemotePane pane_;
    RemoteBrowser &browser_;
    QMenu &zRemote_;
};

} // namespace vendrel
