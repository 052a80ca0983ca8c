#pragma once

#include "session/ftp/WaitObserver.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <chrono>

namespace vendrel {

// While a call waits for the server: after a moment, a small modal box
// "Attente du serveur..." with an "Annuler" button over the active window;
// Escape cancels as well, from the first instant. No other input gets
// through meanwhile, so no other command can start.
class ServerWaitPrompt final : public QObject, public WaitObserver {
public:
    explicit ServerWaitPrompt(std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~ServerWaitPrompt() override;

    void waitStarted() override;
    bool handleEvents() override;
    void waitEnded() override;

    // The box, while it is shown; for tests.
    QDialog *box() const { return box_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showBox();
    bool belongsToBox(QObject *object) const;

    const std::chrono::milliseconds showAfter_;
    QElapsedTimer waiting_;
    int depth_ = 0; // waits can nest: an event handled during one may wait too
    bool cancelled_ = false;
    QPointer<QDialog> box_;
};

} // namespace vendrel
