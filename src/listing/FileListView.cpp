#include "listing/FileListView.h"

#include "listing/FileListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace vendrel {

namespace {

// Hands a typed name to the list's owner instead of writing it into the model.
class NameEditDelegate final : public QStyledItemDelegate {
public:
    NameEditDelegate(FileListView &list, QObject *parent) : QStyledItemDelegate(parent), list_(list) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        list_.setEditingName(editor != nullptr);
        return editor;
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        list_.setEditingName(false);
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        const QString typed = static_cast<QLineEdit *>(editor)->text();
        if (typed.isEmpty())
            return;
        // Queued: the owner may ask questions, which must not run inside the editor's commit.
        QMetaObject::invokeMethod(
            &list_, [list = &list_, row = index.row(), typed] { Q_EMIT list->labelEdited(row, typed); },
            Qt::QueuedConnection);
    }

private:
    FileListView &list_;
};

} // namespace

FileListView::FileListView(FileListModel &model, const QString &accessibleName, QWidget *parent)
    : QStackedWidget(parent), model_(model), details_(new QTreeView(this)), icons_(new QListView(this))
{
    setAccessibleName(accessibleName);

    details_->setModel(&model_);
    details_->setRootIsDecorated(false);
    details_->setItemsExpandable(false);
    details_->setUniformRowHeights(true); // keeps 100,000 rows instant
    details_->setAllColumnsShowFocus(true);
    details_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    details_->setSelectionBehavior(QAbstractItemView::SelectRows);
    details_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    details_->setAlternatingRowColors(true);
    details_->setIconSize(QSize(16, 16));
    details_->header()->setStretchLastSection(false);
    details_->header()->setSectionsMovable(false);
    details_->setColumnWidth(FileListModel::Name, 135);
    // Measured once from the widest value a column can show rather than from its
    // rows: measuring 100,000 rows would stall the window.
    fitColumn(FileListModel::SizeKo, QStringLiteral("888 888 888,88"));
    fitColumn(FileListModel::DateTime, QStringLiteral("88/88/8888 88:88:88"));
    fitColumn(FileListModel::SizeBytes, QStringLiteral("888888888888"));
    details_->setAccessibleName(accessibleName);

    icons_->setModel(&model_);
    icons_->setSelectionModel(details_->selectionModel());
    icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_->setUniformItemSizes(true);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setAccessibleName(accessibleName);
    icons_->setTextElideMode(Qt::ElideMiddle);

    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(details_), static_cast<QAbstractItemView *>(icons_)})
        watch(view);
    connect(details_->header(), &QHeaderView::sectionClicked, this, &FileListView::columnClicked);
    details_->header()->setSectionsClickable(true);

    addWidget(details_);
    addWidget(icons_);
    setViewMode(Details);
}

void FileListView::fitColumn(FileListModel::Column column, const QString &widestValue)
{
    constexpr int cellMargins = 16;
    constexpr int sortArrow = 20;
    const QString header = model_.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const int headerWidth = details_->header()->fontMetrics().horizontalAdvance(header) + cellMargins + sortArrow;
    const int valueWidth = details_->fontMetrics().horizontalAdvance(widestValue) + cellMargins;
    details_->setColumnWidth(column, std::max(headerWidth, valueWidth));
}

void FileListView::setViewMode(ViewMode mode)
{
    mode_ = mode;
    if (mode == Details) {
        setCurrentWidget(details_);
        return;
    }
    switch (mode) {
    case LargeIcons:
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(QSize(32, 32));
        icons_->setGridSize(QSize(96, 64));
        icons_->setFlow(QListView::LeftToRight);
        icons_->setWordWrap(true);
        break;
    case SmallIcons:
        icons_->setViewMode(QListView::ListMode);
        icons_->setIconSize(QSize(16, 16));
        icons_->setGridSize(QSize(190, 20));
        icons_->setFlow(QListView::LeftToRight);
        icons_->setWordWrap(false);
        break;
    case List:
        icons_->setViewMode(QListView::ListMode);
        icons_->setIconSize(QSize(16, 16));
        // A fixed column width: measuring 100,000 names would stall the window.
        icons_->setGridSize(QSize(210, 20));
        icons_->setFlow(QListView::TopToBottom);
        icons_->setWordWrap(false);
        break;
    case Details: break;
    }
    icons_->setWrapping(true);
    icons_->setMovement(QListView::Static);
    setCurrentWidget(icons_);
}

int FileListView::currentRow() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void FileListView::clearCurrentRow()
{
    selectionModel()->clear();
}

QList<int> FileListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileListView::selectRow(int row, bool keepOthers)
{
    const auto flags =
        (keepOthers ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect) | QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(model_.index(row, 0), flags);
}

void FileListView::sortByClickedColumn(int column)
{
    if (column < 0 || column >= FileListModel::ColumnCount)
        return;
    const Qt::SortOrder order = model_.sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    model_.sortBy(static_cast<FileListModel::Column>(column), order);
    details_->header()->setSortIndicatorShown(true);
    details_->header()->setSortIndicator(column, order);
}

void FileListView::editRow(int row)
{
    const QModelIndex index = model_.index(row, FileListModel::Name);
    Q_EMIT labelEditStarting(row);
    activeView()->scrollTo(index);
    activeView()->edit(index);
}

void FileListView::watch(QAbstractItemView *view)
{
    view->setItemDelegateForColumn(FileListModel::Name, new NameEditDelegate(*this, view));
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint &at) { Q_EMIT contextMenuRequested(view->viewport()->mapToGlobal(at)); });
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { Q_EMIT rowDoubleClicked(index.row()); });
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
}

bool FileListView::isOwnKeyEvent(QObject *watched) const
{
    // The name editor passes the Enter that ends it on to its parents; that key
    // belongs to the rename, not to the list. The viewport sees a key only on
    // its way to the view.
    return !editingName_ && (watched == details_ || watched == icons_);
}

bool FileListView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (isOwnKeyEvent(watched))
            Q_EMIT keyPressed(static_cast<QKeyEvent *>(event)->key());
        break;
    case QEvent::KeyRelease:
        if (isOwnKeyEvent(watched))
            Q_EMIT keyReleased(static_cast<QKeyEvent *>(event)->key());
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            Q_EMIT clicked();
        break;
    default: break;
    }
    return QStackedWidget::eventFilter(watched, event);
}

QAbstractItemView *FileListView::activeView() const
{
    return mode_ == Details ? static_cast<QAbstractItemView *>(details_) : icons_;
}

QItemSelectionModel *FileListView::selectionModel() const
{
    return details_->selectionModel();
}

} // namespace vendrel
