#include "app/SplitterBar.h"

#include "app/PaneLayout.h"

#include <QMouseEvent>
#include <QPainter>

namespace vendrel {

SplitterBar::SplitterBar(QWidget *parent) : QFrame(parent) {}

void SplitterBar::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(rect(), dragged_ ? QColor(255, 0, 0) : palette().color(QPalette::Button));
    painter.end();
    QFrame::paintEvent(event);
}

void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return;
    setDragged(true);
    const QPointF pixels = event->position();
    Q_EMIT dragMoved({pixels.x() * twipsPerInch / logicalDpiX(), pixels.y() * twipsPerInch / logicalDpiY()});
}

void SplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setDragged(false);
    Q_EMIT released();
}

void SplitterBar::setDragged(bool dragged)
{
    if (dragged_ == dragged)
        return;
    dragged_ = dragged;
    // Over the panes it crosses, so the whole red line shows where it will rest.
    if (dragged)
        raise();
    update();
}

} // namespace vendrel
