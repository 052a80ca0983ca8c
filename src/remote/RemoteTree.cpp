#include "remote/RemoteTree.h"

#include <QTreeWidget>

namespace vendrel {

namespace {
constexpr int KeyRole = Qt::UserRole;
}

RemoteTree::RemoteTree(QTreeWidget &TView1, QIcon rootIcon, QIcon folderIcon)
    : tree_(TView1), rootIcon_(std::move(rootIcon)), folderIcon_(std::move(folderIcon))
{
}

void RemoteTree::clear()
{
    nodes_.clear();
    tree_.clear();
}

QTreeWidgetItem *RemoteTree::addRoot()
{
    if (QTreeWidgetItem *existing = root())
        return existing;
    auto *node = new QTreeWidgetItem(&tree_, {QStringLiteral("..")});
    node->setData(0, KeyRole, QStringLiteral("/"));
    node->setIcon(0, rootIcon_);
    nodes_.insert(QStringLiteral("/"), node);
    return node;
}

QTreeWidgetItem *RemoteTree::addFolder(const QString &parentKey, const QString &name)
{
    QTreeWidgetItem *parent = nodes_.value(parentKey);
    const QString key = parentKey + name + u'/';
    if (parent == nullptr || nodes_.contains(key))
        return nullptr;
    auto *node = new QTreeWidgetItem(parent, {name});
    node->setData(0, KeyRole, key);
    node->setIcon(0, folderIcon_);
    nodes_.insert(key, node);
    return node;
}

void RemoteTree::removeChildren(QTreeWidgetItem *node)
{
    const QList<QTreeWidgetItem *> children = node->takeChildren();
    for (QTreeWidgetItem *child : children) {
        forget(child);
        delete child;
    }
}

QTreeWidgetItem *RemoteTree::addPath(const QString &folder)
{
    QTreeWidgetItem *node = addRoot();
    QString key = QStringLiteral("/");
    for (const QString &name : folder.split(u'/', Qt::SkipEmptyParts)) {
        const QString childKey = key + name + u'/';
        QTreeWidgetItem *child = nodes_.value(childKey);
        if (child == nullptr)
            child = addFolder(key, name);
        node->setExpanded(true);
        node = child;
        key = childKey;
    }
    return node;
}

QString RemoteTree::keyOf(const QTreeWidgetItem *node)
{
    return node == nullptr ? QString() : node->data(0, KeyRole).toString();
}

void RemoteTree::forget(QTreeWidgetItem *node)
{
    nodes_.remove(keyOf(node));
    for (int i = 0; i < node->childCount(); ++i)
        forget(node->child(i));
}

} // namespace vendrel
