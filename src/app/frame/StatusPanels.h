#pragma once

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
class StatusPanels : public QObject {
    Q_OBJECT
public:
    enum Panel { ClockPanel = 1, MessagePanel = 2, ConnectionPanel = 3 };

    StatusPanels(QStatusBar &statusBar, const Clock &clock, const QIcon &clockIcon,
                 const QIcon &monitorIcon);

    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;

private:
    void showTime();

    const Clock &clock_;
    std::array<QLabel *, 3> texts_{};
    QTimer *tick_ = nullptr;
};

} // namespace vendrel
