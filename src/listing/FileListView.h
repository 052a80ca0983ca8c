#pragma once

#include "listing/FileListModel.h"

#include <QList>
#include <QStackedWidget>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTreeView;

namespace vendrel {

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

    // Starts editing the name of a row; labelEdited tells the outcome.
    void editRow(int row);

    // A click on a column's header sorts by it; the order flips at every
    // click, whichever column was clicked, as it always has.
    void sortByClickedColumn(int column);

    QTreeView *detailsView() const { return details_; }
    QListView *iconView() const { return icons_; }
    QAbstractItemView *activeView() const;
    QItemSelectionModel *selectionModel() const;

    // Whether a row's name editor is open; its keys are not the list's keys.
    void setEditingName(bool editing) { editingName_ = editing; }

Q_SIGNALS:
    void labelEditStarting(int row);
    // The user confirmed a new, non-empty name. The row keeps its old name
    // unless the receiver renames it in the model. Escape or an empty name
    // end the edit without this signal.
    void labelEdited(int row, const QString &newName);
    void columnClicked(int column);
    // A mouse click anywhere in the list, on a row or not.
    void clicked();
    void rowDoubleClicked(int row);
    void contextMenuRequested(const QPoint &globalPosition);
    void keyPressed(int key);
    void keyReleased(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QAbstractItemView *view);
    bool isOwnKeyEvent(QObject *watched) const;
    // Wide enough for the header, its sort arrow and the widest value.
    void fitColumn(FileListModel::Column column, const QString &widestValue);

    FileListModel &model_;
    QTreeView *details_;
    QListView *icons_;
    ViewMode mode_ = Details;
    bool editingName_ = false;
};

} // namespace vendrel
