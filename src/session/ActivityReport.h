#pragma once

#include <QString>

namespace vendrel {

// The account of every request and its outcome that the user reads below the
// panes. Lines always go at the end.
class ActivityReport {
public:
    virtual ~ActivityReport() = default;

    // The time of day, the message (which brings its own " > "), a line end.
    virtual void AppendLogLine(const QString &message) = 0;
    // The text and a line end, without a time.
    virtual void AppendUntimedLine(const QString &text) = 0;
    virtual void clear() = 0;
};

} // namespace vendrel
