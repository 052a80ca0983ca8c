#include "LocalPaneFixture.h"

#include "app/LogFileCommands.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

struct LogFileCommandsTest : test::LocalPaneFixture, ::testing::Test {
    LogFileCommandsTest() { temp.createDir(QStringLiteral("program")); }

    void logTwoLines()
    {
        log.AppendLogLine(QStringLiteral(" > Connecté à « ftp.exemple.fr »"));
        log.AppendUntimedLine(QStringLiteral("1.) /pub/été.txt"));
    }

    const QString programFolder = temp.filePath(QStringLiteral("program"));
    LogFileCommands commands{log, dialogs, programFolder, [this](const QString &folder) { browser.openFolder(folder); }};
};

TEST_F(LogFileCommandsTest, TheLogIsSavedBesideTheProgramInWindows1252WithCrLfAndTxtAlwaysAdded)
{
    logTwoLines();
    dialogs.typeNext(QStringLiteral("session.txt"));
    commands.zSave_Click();

    EXPECT_EQ(dialogs.inputsAsked.last().prompt, QStringLiteral("Nom du fichier Log :"));
    EXPECT_EQ(dialogs.inputsAsked.last().title, QStringLiteral("Fichier Log"));
    EXPECT_EQ(dialogs.inputsAsked.last().defaultText, QString());
    EXPECT_EQ(temp.read(QStringLiteral("program/session.txt.txt")),
              QByteArray("14:07:33 > Connect\xe9 \xe0 \xab ftp.exemple.fr \xbb\r\n1.) /pub/\xe9t\xe9.txt\r\n"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Fichier enregistré : \r\n") + programFolder + QStringLiteral("/session.txt.txt"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
}

TEST_F(LogFileCommandsTest, SavingAgainUnderTheSameNameLeavesOnlyTheNewLog)
{
    logTwoLines();
    dialogs.typeNext(QStringLiteral("journal"));
    commands.zSave_Click();
    log.clear();
    log.AppendUntimedLine(QStringLiteral("court"));
    dialogs.typeNext(QStringLiteral("journal"));
    commands.zSave_Click();
    EXPECT_EQ(temp.read(QStringLiteral("program/journal.txt")), QByteArray("court\r\n"));
}

TEST_F(LogFileCommandsTest, NothingIsWrittenWithoutALogOrAName)
{
    commands.zSave_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("Pas de fichier sauvé !"));
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_TRUE(dialogs.inputsAsked.isEmpty());

    logTwoLines();
    for (const std::optional<QString> &answer : {std::optional<QString>(), std::optional<QString>(QString())}) {
        dialogs.typeNext(answer);
        commands.zSave_Click();
        EXPECT_EQ(lastMessage().text, QStringLiteral("Pas de nom de fichier, Abandon !"));
        EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
    }
    EXPECT_TRUE(QDir(programFolder).isEmpty());
}

TEST_F(LogFileCommandsTest, ALogThatCannotBeWrittenSaysSoAndKeepsTheLog)
{
    logTwoLines();
    const QString before = log.text();
    dialogs.typeNext(QStringLiteral("absent/journal"));
    commands.zSave_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("Le fichier Log n'a pas pu être enregistré :\r\n") + programFolder
                                                + QStringLiteral("/absent/journal.txt"));
    EXPECT_EQ(lastMessage().icon, MessageIcon::Exclamation);
    EXPECT_EQ(log.text(), before);
}

TEST_F(LogFileCommandsTest, OpenLogFileSwitchesTheLocalPaneToTheProgramFolder)
{
    temp.createFile(QStringLiteral("program/journal.txt"));
    browser.openFolder(temp.path());
    commands.zOpen_Click();
    EXPECT_EQ(session.LocalFolder, programFolder + u'/');
    EXPECT_EQ(rowNames(), QStringList{QStringLiteral("journal.txt")});
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(LogFileCommandsTest, TheClockPanelFollowsTheClock)
{
    EXPECT_EQ(status.panelText(StatusPanels::ClockPanel), QStringLiteral("14:07:33"));
    clock.advance(61'000);
    EXPECT_TRUE(QTest::qWaitFor([this] { return status.panelText(StatusPanels::ClockPanel) == u"14:08:34"; }, 2000));
}

} // namespace
} // namespace vendrel
