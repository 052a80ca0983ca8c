#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace vendrel {

// The server's folders seen so far, in TView1: a root ".." keyed "/" and one
// node per folder keyed by its absolute path with a trailing '/'. A key is
// never present twice.
class RemoteTree {
public:
    // folderIcon carries the open-folder picture in its Selected mode.
    RemoteTree(QTreeWidget &TView1, QIcon rootIcon, QIcon folderIcon);

    void clear();
    QTreeWidgetItem *addRoot();
    // nullptr when the parent is unknown or the key exists already.
    QTreeWidgetItem *addFolder(const QString &parentKey, const QString &name);
    QTreeWidgetItem *nodeByKey(const QString &key) const { return nodes_.value(key); }
    void removeChildren(QTreeWidgetItem *node);
    // Adds the nodes from the root down to folder (absolute, ending in '/').
    QTreeWidgetItem *addPath(const QString &folder);

    static QString keyOf(const QTreeWidgetItem *node);
    QTreeWidgetItem *root() const { return nodes_.value(QStringLiteral("/")); }
    QTreeWidget &widget() const { return tree_; }

private:
    void forget(QTreeWidgetItem *node);

    QTreeWidget &tree_;
    QIcon rootIcon_;
    QIcon folderIcon_;
    QHash<QString, QTreeWidgetItem *> nodes_;
};

} // namespace vendrel
