#pragma once

#include "session/StatusLine.h"

#include <QIcon>
#include <QObject>
#include <QString>
#include <array>

class QLabel;
class QStatusBar;
class QTimer;

namespace vendrel {

class Clock;

// StatusBar1's three panels: a clock kept up to date by itself, the shared
// message line, and the connection state ("Off" until a connect waits).
class StatusPanels final : public QObject, public StatusLine {
    Q_OBJECT
public:
    enum Panel { ClockPanel, MessagePanel, ConnectionPanel };

    StatusPanels(QStatusBar &statusBar, const Clock &clock, const QIcon &clockIcon, const QIcon &monitorIcon);

    void showMessage(const QString &text) override;
    void showConnectionState(const QString &text) override;
    QString panelText(Panel panel) const;

private:
    void showTime();

    const Clock &clock_;
    std::array<QLabel *, 3> texts_{};
    QTimer *tick_ = nullptr;
};

} // namespace vendrel
