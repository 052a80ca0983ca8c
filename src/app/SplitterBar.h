#pragma once

#include <QFrame>
#include <QPointF>

namespace vendrel {

// A bar the user drags with the left button to share space between panes
// (Picture1, Picture2). It only reports: whoever lays out the panes moves it.
// Red from the first move with the left button held until the release.
class SplitterBar final : public QFrame {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget *parent = nullptr);

    bool isDragged() const { return dragged_; }

Q_SIGNALS:
    // The pointer's position in twips from the bar's top-left corner, for
    // every move with the left button (and only that button) held.
    void dragMoved(QPointF pointerTwips);
    // The left button came up over or after the bar.
    void released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setDragged(bool dragged);

    bool dragged_ = false;
};

} // namespace vendrel
