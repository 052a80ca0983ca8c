#pragma once

#include <QIcon>
#include <QTreeWidget>

namespace vendrel {

// Dir1: the current local folder as a folder list box shows it, its
// ancestors from "/" down with open folders, then its sub-folders. A double
// click (or Enter) on another folder makes it the current folder.
class LocalFolderList final : public QTreeWidget {
    Q_OBJECT
public:
    LocalFolderList(QIcon folderIcon, QIcon openFolderIcon, QWidget *parent = nullptr);

    // The current folder: absolute, no trailing '/' but for "/".
    QString path() const { return path_; }
    // Makes the folder current; what it shows changes with the next showFolder.
    void setPath(const QString &path);
    // Shows the folder, which becomes current, with the given sub-folders.
    void showFolder(const QString &path, const QStringList &subfolders);

    // The folder an entry stands for.
    static QString folderOf(const QTreeWidgetItem *item);
    QTreeWidgetItem *currentFolderItem() const { return currentFolderItem_; }

Q_SIGNALS:
    // The user opened another folder; path() is that folder now.
    void folderOpened();
    // A single click on an entry.
    void folderClicked();
    void keyReleased(int key);

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    // No expand marks: every entry is always open, as in a folder list box.
    void drawBranches(QPainter *, const QRect &, const QModelIndex &) const override {}

private:
    void open(QTreeWidgetItem *item);

    QIcon folderIcon_;
    QIcon openFolderIcon_;
    QString path_ = QStringLiteral("/");
    QTreeWidgetItem *currentFolderItem_ = nullptr;
};

} // namespace vendrel
