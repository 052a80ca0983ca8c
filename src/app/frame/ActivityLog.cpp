#include "app/frame/ActivityLog.h"

#include "platform/Clock.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace vendrel {

ActivityLog::ActivityLog(QPlainTextEdit &txtInfo, const Clock &clock) : txtInfo_(txtInfo), clock_(clock)
{
    // A record of what happened: it can be selected and copied, not typed into.
    txtInfo_.setReadOnly(true);
    txtInfo_.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void ActivityLog::AppendLogLine(const QString &message)
{
    append(timeOfDayText(clock_.now().time()) + message + QStringLiteral("\r\n"));
}

void ActivityLog::AppendUntimedLine(const QString &text)
{
    append(text + QStringLiteral("\r\n"));
}

void ActivityLog::clear()
{
    txtInfo_.clear();
}

QString ActivityLog::text() const
{
    QString plain = txtInfo_.toPlainText();
    plain.replace(u'\n', QStringLiteral("\r\n"));
    return plain;
}

bool ActivityLog::isEmpty() const
{
    return txtInfo_.document()->isEmpty();
}

void ActivityLog::append(const QString &text)
{
    QTextCursor end(txtInfo_.document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    // A user selecting lines to copy keeps the selection and the place they read.
    if (!txtInfo_.textCursor().hasSelection()) {
        txtInfo_.moveCursor(QTextCursor::End);
        txtInfo_.ensureCursorVisible();
    }
}

} // namespace vendrel
