#include "app/frame/ActivityLog.h"
#include "support/FakeClock.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

struct ActivityLogTest : ::testing::Test {
    QPlainTextEdit txtInfo;
    test::FakeClock clock;
    ActivityLog log{txtInfo, clock};
};

TEST_F(ActivityLogTest, ALineGoesAtTheEndAndKeepsWhatTheUserSelected)
{
    log.AppendUntimedLine(QStringLiteral("one"));
    log.AppendUntimedLine(QStringLiteral("two"));
    QTextCursor selection = txtInfo.textCursor();
    selection.setPosition(0);
    selection.setPosition(3, QTextCursor::KeepAnchor); // "one"
    txtInfo.setTextCursor(selection);
    log.AppendUntimedLine(QStringLiteral("new"));
    EXPECT_EQ(log.text(), QStringLiteral("one\r\ntwo\r\nnew\r\n"));
    EXPECT_EQ(txtInfo.textCursor().selectedText(), QStringLiteral("one"));
}

} // namespace
} // namespace vendrel
