#include "app/LogFileCommands.h"
#include "support/PaneHarness.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct LogFileCommandsTest : test::LocalPaneHarness, ::testing::Test {
    LogFileCommandsTest()
    {
        temp.createDir(u"program"_s);
        log.AppendLogLine(u" > Connecté à « ftp.exemple.fr »"_s);
        log.AppendUntimedLine(u"1.) /pub/été.txt"_s);
    }

    const QString programFolder = temp.filePath(u"program"_s);
    LogFileCommands commands{log, dialogs, programFolder,
                             [this](const QString &folder) { browser.openFolder(folder); }};
};

TEST_F(LogFileCommandsTest, TheLogIsSavedBesideTheProgramInWindows1252WithCrLfAndTxtAlwaysAdded)
{
    dialogs.typeNext(u"session.txt"_s);
    commands.zSave_Click();
    EXPECT_EQ(temp.read(u"program/session.txt.txt"_s),
              QByteArray("14:07:33 > Connect\xe9 \xe0 \xab ftp.exemple.fr \xbb\r\n1.) /pub/\xe9t\xe9.txt\r\n"));
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{u"Fichier enregistré : \r\n"_s + programFolder + u"/session.txt.txt"_s});

    log.clear();
    log.AppendUntimedLine(u"court"_s);
    dialogs.typeNext(u"session.txt"_s);
    commands.zSave_Click();
    EXPECT_EQ(temp.read(u"program/session.txt.txt"_s), QByteArray("court\r\n")) << "nothing of the longer log";
}

TEST_F(LogFileCommandsTest, NothingIsWrittenWithoutALogOrANameOrWhereItCannotBe)
{
    dialogs.typeNext(std::nullopt);
    commands.zSave_Click();
    dialogs.typeNext(QString());
    commands.zSave_Click();
    const QString before = log.text();
    dialogs.typeNext(u"absent/journal"_s);
    commands.zSave_Click();
    EXPECT_EQ(log.text(), before);
    log.clear();
    commands.zSave_Click(); // asks no name for an empty log
    EXPECT_EQ(dialogs.inputsAsked, 3);
    EXPECT_EQ(dialogs.messages.size(), 4);
    EXPECT_TRUE(QDir(programFolder).isEmpty());
}

TEST_F(LogFileCommandsTest, OpenLogFileSwitchesTheLocalPaneToTheProgramFolder)
{
    temp.createFile(u"program/journal.txt"_s);
    browser.openFolder(temp.path());
    commands.zOpen_Click();
    EXPECT_EQ(session.LocalFolder, programFolder + u'/');
    EXPECT_EQ(rowNames(), QStringList{u"journal.txt"_s});
}

} // namespace
} // namespace vendrel
