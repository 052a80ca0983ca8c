#include "app/frame/ActivityLog.h"

#include "platform/Clock.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace vendrel {

ActivityLog::ActivityLog(QPlainTextEdit &txtInfo, const Clock &clock) : txtInfo_(txtInfo), clock_(clock) {}

void ActivityLog::AppendLogLine(const QString &message)
{
    insertAtCaret(timeOfDayText(clock_.now().time()) + message + QStringLiteral("\r\n"));
}

void ActivityLog::AppendUntimedLine(const QString &text)
{
    insertAtCaret(text + QStringLiteral("\r\n"));
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

void ActivityLog::insertAtCaret(const QString &text)
{
    QTextCursor caret = txtInfo_.textCursor();
    caret.insertText(text);
    txtInfo_.setTextCursor(caret);
    txtInfo_.ensureCursorVisible();
}

} // namespace vendrel
