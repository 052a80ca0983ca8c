#pragma once

#include <QString>

class QPlainTextEdit;

namespace vendrel {

class Clock;

// The time-stamped account of every request and its outcome, kept in the
// text box txtInfo, which the user can select and copy from but not edit.
// Lines always go at the end, so nothing the user selects is ever replaced.
class ActivityLog {
public:
    ActivityLog(QPlainTextEdit &txtInfo, const Clock &clock);

    // The time of day, the message (which brings its own " > "), CR LF.
    void AppendLogLine(const QString &message);
    // The text and CR LF, without a time.
    void AppendUntimedLine(const QString &text);
    void clear();

    // The whole log with CR LF line ends, as it is saved.
    QString text() const;
    bool isEmpty() const;

private:
    void append(const QString &text);

    QPlainTextEdit &txtInfo_;
    const Clock &clock_;
};

} // namespace vendrel
