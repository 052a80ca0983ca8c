#pragma once

#include <QString>

namespace vendrel {

// The status bar below the panes, as the commands write to it.
class StatusLine {
public:
    virtual ~StatusLine() = default;

    // The message every pane shares: what was listed, selected, is under way.
    virtual void showMessage(const QString &text) = 0;
    // The state of the connection to the server ("Off" when there is none).
    virtual void showConnectionState(const QString &text) = 0;
};

} // namespace vendrel
