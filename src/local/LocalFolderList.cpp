#include "local/LocalFolderList.h"

#include "local/LocalFolderReader.h"

#include <QKeyEvent>

namespace vendrel {

namespace {

constexpr int folderRole = Qt::UserRole;

} // namespace

LocalFolderList::LocalFolderList(QIcon folderIcon, QIcon openFolderIcon, QWidget *parent)
    : QTreeWidget(parent), folderIcon_(std::move(folderIcon)), openFolderIcon_(std::move(openFolderIcon))
{
    setObjectName(QStringLiteral("Dir1"));
    setAccessibleName(QStringLiteral("Dossiers locaux"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(12);
    setIconSize(QSize(16, 16));
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) { open(item); });
    connect(this, &QTreeWidget::itemClicked, this, [this] { Q_EMIT folderClicked(); });
}

void LocalFolderList::setPath(const QString &path)
{
    path_ = cleanFolderPath(path);
}

void LocalFolderList::showFolder(const QString &path, const QStringList &subfolders)
{
    setPath(path);
    clear();
    auto *chainEnd = new QTreeWidgetItem(this, {QStringLiteral("/")});
    chainEnd->setData(0, folderRole, QStringLiteral("/"));
    chainEnd->setIcon(0, openFolderIcon_);
    QString walked;
    for (const QString &name : path_.split(u'/', Qt::SkipEmptyParts)) {
        walked += u'/' + name;
        auto *ancestor = new QTreeWidgetItem(chainEnd, {name});
        ancestor->setData(0, folderRole, walked);
        ancestor->setIcon(0, openFolderIcon_);
        chainEnd = ancestor;
    }
    const QString prefix = path_ == u"/" ? QString() : path_;
    QList<QTreeWidgetItem *> children;
    children.reserve(subfolders.size());
    for (const QString &name : subfolders) {
        auto *child = new QTreeWidgetItem({name});
        child->setData(0, folderRole, prefix + u'/' + name);
        child->setIcon(0, folderIcon_);
        children.append(child);
    }
    chainEnd->addChildren(children);
    expandAll();
    currentFolderItem_ = chainEnd;
    setCurrentItem(chainEnd);
    scrollToItem(chainEnd, QAbstractItemView::PositionAtCenter);
}

QString LocalFolderList::folderOf(const QTreeWidgetItem *item)
{
    return item->data(0, folderRole).toString();
}

void LocalFolderList::open(QTreeWidgetItem *item)
{
    const QString folder = folderOf(item);
    if (folder == path_)
        return;
    setPath(folder);
    Q_EMIT folderOpened();
}

void LocalFolderList::keyReleaseEvent(QKeyEvent *event)
{
    Q_EMIT keyReleased(event->key());
    QTreeWidget::keyReleaseEvent(event);
}

} // namespace vendrel
