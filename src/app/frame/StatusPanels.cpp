#include "app/frame/StatusPanels.h"

#include "platform/Clock.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace vendrel {

namespace {

// One sunken panel: an optional picture and a text.
QLabel *addPanel(QStatusBar &bar, const QIcon &icon, int minimumWidth, int stretch, const QString &name)
{
    auto *panel = new QFrame(&bar);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setMinimumWidth(minimumWidth);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);
    if (!icon.isNull()) {
        auto *picture = new QLabel(panel);
        picture->setPixmap(icon.pixmap(16, 16));
        layout->addWidget(picture);
    }
    auto *text = new QLabel(panel);
    text->setObjectName(name);
    // The text itself is what a screen reader reads; the caption says what it is.
    text->setAccessibleDescription(name);
    text->setTextFormat(Qt::PlainText);
    layout->addWidget(text, 1);
    bar.addWidget(panel, stretch);
    return text;
}

} // namespace

StatusPanels::StatusPanels(QStatusBar &statusBar, const Clock &clock, const QIcon &clockIcon, const QIcon &monitorIcon)
    : QObject(&statusBar), clock_(clock)
{
    statusBar.setSizeGripEnabled(true);
    texts_[ClockPanel] = addPanel(statusBar, clockIcon, 90, 0, QStringLiteral("Heure"));
    texts_[MessagePanel] = addPanel(statusBar, monitorIcon, 170, 1, QStringLiteral("Message"));
    texts_[ConnectionPanel] = addPanel(statusBar, {}, 110, 0, QStringLiteral("Connexion"));
    texts_[ConnectionPanel]->setText(QStringLiteral("Off"));

    tick_ = new QTimer(this);
    tick_->setInterval(1000);
    connect(tick_, &QTimer::timeout, this, &StatusPanels::showTime);
    tick_->start();
    showTime();
}

void StatusPanels::showMessage(const QString &text)
{
    texts_[MessagePanel]->setText(text);
}

void StatusPanels::showConnectionState(const QString &text)
{
    texts_[ConnectionPanel]->setText(text);
}

QString StatusPanels::panelText(Panel panel) const
{
    return texts_[panel]->text();
}

void StatusPanels::showTime()
{
    texts_[ClockPanel]->setText(timeOfDayText(clock_.now().time()));
}

} // namespace vendrel
