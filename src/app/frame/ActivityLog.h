#pragma once

#include "session/ActivityReport.h"

#include <QString>

class QPlainTextEdit;

namespace vendrel {

class Clock;

// The time-stamped account of every request and its outcome, kept in the
// text box txtInfo, which the user can select and copy from but not edit.
// Lines always go at the end, so nothing the user selects is ever replaced.
// Line ends are CR LF.
class ActivityLog final : public ActivityReport {
public:
    ActivityLog(QPlainTextEdit &txtInfo, const Clock &clock);

    void AppendLogLine(const QString &message) override;
    void AppendUntimedLine(const QString &text) override;
    void clear() override;

    // The whole log with CR LF line ends, as it is saved.
    QString text() const;
    bool isEmpty() const;

private:
    void append(const QString &text);

    QPlainTextEdit &txtInfo_;
    const Clock &clock_;
};

} // namespace vendrel
