#pragma once

#include <QList>
#include <QStackedWidget>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTreeView;

namespace vendrel {

class FileListModel;

// A file list shown in one of four modes that share one model and one
// selection: large icons (0), small icons (1), list (2), details (3).
class FileListView final : public QStackedWidget {
    Q_OBJECT
public:
    enum ViewMode { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3 };

    FileListView(FileListModel &model, const QString &accessibleName, QWidget *parent = nullptr);

    void setViewMode(ViewMode mode);
    ViewMode viewMode() const { return mode_; }

    // The row last clicked, -1 when none (as after a listing).
    int currentRow() const;
    void clearCurrentRow();
    // Selected rows in ascending order.
    QList<int> selectedRows() const;
    void selectRow(int row, bool keepOthers = false);

    QTreeView *detailsView() const { return details_; }
    QListView *iconView() const { return icons_; }
    QAbstractItemView *activeView() const;
    QItemSelectionModel *selectionModel() const;

private:
    FileListModel &model_;
    QTreeView *details_;
    QListView *icons_;
    ViewMode mode_ = Details;
};

} // namespace vendrel
