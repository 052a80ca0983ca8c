#pragma once

#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "local/LocalBrowser.h"
#include "local/LocalFolderList.h"
#include "remote/RemoteBrowser.h"
#include "remote/RemoteOperations.h"
#include "remote/RemoteTree.h"
#include "support/SessionHarness.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vendrel::test {

// The names of a list's rows from top to bottom, and the row of one name.
struct ListedRows {
    explicit ListedRows(FileListKind kind) : files(kind) {}

    QStringList rowNames() const
    {
        QStringList names;
        for (int row = 0; row < files.rowCount(); ++row)
            names.append(files.cellText(row, FileListModel::Name));
        return names;
    }
    int rowOf(const QString &name) const { return int(rowNames().indexOf(name)); }

    FileListModel files;
};

// The server pane's widgets and commands, over the fake server unless a real
// service is given.
struct RemotePaneHarness : SessionHarness, ListedRows {
    explicit RemotePaneHarness(FtpService *service = nullptr)
        : SessionHarness(service), ListedRows(FileListKind::Remote)
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

    void clickNode(const QString &key)
    {
        treeWidget.setCurrentItem(tree.nodeByKey(key));
        browser.TView1_NodeClick();
    }

    QTreeWidget treeWidget;
    RemoteTree tree{treeWidget, QIcon(), QIcon()};
    FileListView view{files, QStringLiteral("Fichiers du serveur")};
    QLabel label3;
    QAction zAll2;
    QAction zDefine2;
    QMenu zRemote;
    RemotePane pane{tree, view, files, label3, zAll2, zDefine2};
    RemoteBrowser browser{context(), pane};
    RemoteOperations operations{context(), pane, browser, zRemote};
};

// The local pane's widgets in a small window, over a temporary folder.
struct LocalPaneHarness : SessionHarness, ListedRows {
    LocalPaneHarness() : ListedRows(FileListKind::Local)
    {
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *widget : std::initializer_list<QWidget *>{&Label1, &Drive1, &Dir1, &ListView1})
            layout->addWidget(widget);
        for (QAction *item : {&zAll, &Z_HTML, &Z_Images, &Z_Zip, &Z_Exe, &zDefine})
            zLocal.addAction(item);
    }

    QString statusText() const { return status.panelText(StatusPanels::MessagePanel); }

    QWidget window;
    QLabel Label1;
    QComboBox Drive1;
    LocalFolderList Dir1{QIcon(), QIcon()};
    FileListView ListView1{files, QStringLiteral("Fichiers locaux")};
    QMenu zLocal;
    QAction zAll, Z_HTML, Z_Images, Z_Zip, Z_Exe, zDefine;
    LocalBrowser browser{
        context(),
        LocalPane{Drive1, Dir1, ListView1, files, Label1, zLocal, {zAll, Z_HTML, Z_Images, Z_Zip, Z_Exe, zDefine}}};
    TempFolder temp;
};

} // namespace vendrel::test
