#pragma once

#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "remote/RemoteBrowser.h"
#include "remote/RemoteOperations.h"
#include "remote/RemoteTree.h"
#include "support/SessionHarness.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

namespace vendrel::test {

// The server pane's widgets and commands, over the fake server unless a real
// service is given.
struct RemotePaneHarness : SessionHarness {
    explicit RemotePaneHarness(FtpService *service = nullptr) : SessionHarness(service)
    {
        zAll2.setCheckable(true);
        zAll2.setChecked(true);
        zDefine2.setCheckable(true);
    }

    // /pub holds folders a and b and files x.zip (1536 bytes) and y.txt (1024 bytes).
    void openPub()
    {
        ftp.addFolder(QStringLiteral("/pub/a"));
        ftp.addFolder(QStringLiteral("/pub/b"));
        ftp.addFile(QStringLiteral("/pub/x.zip"), QByteArray(1536, 'x'));
        ftp.addFile(QStringLiteral("/pub/y.txt"), QByteArray(1024, 'y'));
        browser.openInitialFolder(QStringLiteral("/pub/"));
    }

    QStringList childKeys(const QString &key) const
    {
        QStringList keys;
        QTreeWidgetItem *node = tree.nodeByKey(key);
        for (int i = 0; node != nullptr && i < node->childCount(); ++i)
            keys.append(RemoteTree::keyOf(node->child(i)));
        return keys;
    }

    QStringList rowNames() const
    {
        QStringList names;
        for (int row = 0; row < files.rowCount(); ++row)
            names.append(files.cellText(row, FileListModel::Name));
        return names;
    }

    void clickNode(const QString &key)
    {
        treeWidget.setCurrentItem(tree.nodeByKey(key));
        browser.TView1_NodeClick();
    }

    int rowOf(const QString &name) const { return static_cast<int>(rowNames().indexOf(name)); }

    // The log from this point on.
    void forgetLog() { log.clear(); }

    QTreeWidget treeWidget;
    RemoteTree tree{treeWidget, QIcon(), QIcon()};
    FileListModel files{FileListKind::Remote};
    FileListView view{files, QStringLiteral("Fichiers du serveur")};
    QLabel label3;
    QAction zAll2;
    QAction zDefine2;
    QMenu zRemote;
    RemotePane pane{tree, view, files, label3, zAll2, zDefine2};
    RemoteBrowser browser{context(), pane};
    RemoteOperations operations{context(), pane, browser, zRemote};
};

} // namespace vendrel::test
