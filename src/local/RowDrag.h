#pragma once

#include <QObject>
#include <QPoint>

namespace vendrel {

class FileListView;

// ListView1's drag: pressing the left button on a row and moving drags the
// picture of the current row. Nothing in the application takes a drop, so
// releasing the button ends the drag without effect.
class RowDrag final : public QObject {
public:
    explicit RowDrag(FileListView &list);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startDrag(const QPoint &at);

    FileListView &list_;
    QPoint pressedAt_;
    bool pressedOnRow_ = false;
};

} // namespace vendrel
