#include "local/RowDrag.h"

#include "listing/FileListView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeView>

namespace vendrel {

RowDrag::RowDrag(FileListView &list) : QObject(&list), list_(list)
{
    list_.detailsView()->viewport()->installEventFilter(this);
    list_.iconView()->viewport()->installEventFilter(this);
}

bool RowDrag::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        pressedAt_ = press->position().toPoint();
        pressedOnRow_ = press->button() == Qt::LeftButton && list_.activeView()->indexAt(pressedAt_).isValid();
        break;
    }
    case QEvent::MouseButtonRelease: pressedOnRow_ = false; break;
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        const QPoint at = move->position().toPoint();
        if (pressedOnRow_ && move->buttons().testFlag(Qt::LeftButton) && list_.currentRow() >= 0
            && (at - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
            pressedOnRow_ = false;
            startDrag(at);
            return true;
        }
        break;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void RowDrag::startDrag(const QPoint &at)
{
    QAbstractItemView *view = list_.activeView();
    const QRect row = view->visualRect(view->model()->index(list_.currentRow(), 0));
    auto *drag = new QDrag(view);
    // Empty data: no window accepts it, so the drag shows the row and ends without effect.
    drag->setMimeData(new QMimeData);
    drag->setPixmap(view->viewport()->grab(row));
    drag->setHotSpot(at - row.topLeft());
    drag->exec(Qt::CopyAction);
}

} // namespace vendrel
