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

TEST_F(ActivityLogTest, TimedAndUntimedLinesEndWithCrLf)
{
    log.AppendLogLine(QStringLiteral(" > Déconnexion du Serveur."));
    log.AppendUntimedLine(QStringLiteral("1.) /pub/a.txt"));
    EXPECT_EQ(log.text(), QStringLiteral("14:07:33 > Déconnexion du Serveur.\r\n1.) /pub/a.txt\r\n"));
    EXPECT_FALSE(log.isEmpty());
    log.clear();
    EXPECT_TRUE(log.isEmpty());
}

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
