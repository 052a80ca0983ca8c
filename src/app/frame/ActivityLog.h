#pragma once

#include <QString>

class QPlainTextEdit;

namespace vendrel {

class Clock;

// The time-stamped account of every request and its outcome, kept in the
// editable text box txtInfo. Lines go in at the caret, replacing any
// selection, so a user who clicked into the log sees where new lines land.
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
    void insertAtCaret(const QString &text);

    QPlainTextEdit &txtInfo_;
    const Clock &clock_;
};

} // namespace vendrel
