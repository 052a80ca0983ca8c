#include "about/FrmAbout.h"
#include "about/SysInfoLauncher.h"
#include "support/FakeDialogs.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

TEST(FrmAbout, SystemInfoStartsTheFirstInstalledToolOrSaysThereIsNone)
{
    QStringList installed;
    QStringList started;
    bool starts = true;
    test::FakeDialogs dialogs;
    SysInfoLauncher launcher(
        dialogs, [&installed](const QString &name) { return installed.contains(name) ? u"/usr/bin/"_s + name : QString(); },
        [&](const QString &path) {
            started.append(path);
            return starts;
        });
    FrmAbout about{QIcon(), launcher};
    about.show();
    auto *sysInfo = about.findChild<QPushButton *>(u"cmdSysInfo"_s);

    installed = {u"gnome-system-monitor"_s, u"hardinfo"_s};
    QTest::mouseClick(sysInfo, Qt::LeftButton);
    EXPECT_EQ(started, QStringList{u"/usr/bin/hardinfo"_s});
    EXPECT_TRUE(dialogs.messages.isEmpty());

    installed = {u"kinfocenter"_s};
    starts = false;
    about.cmdSysInfo_Click();
    installed.clear();
    about.cmdSysInfo_Click();
    EXPECT_EQ(started.size(), 2);
    EXPECT_EQ(dialogs.messageTexts(), QStringList(2, u"Information Systeme introuvable !"_s));

    QTest::mouseClick(about.findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

// The real lookup and start, with a tool of our own first on PATH.
TEST(SysInfoLauncher, FindsTheToolOnPathAndStartsIt)
{
    test::TempFolder bin;
    const QString marker = bin.filePath(u"started"_s);
    const QString tool = bin.createFile(u"hardinfo2"_s, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);
    test::FakeDialogs dialogs;
    SysInfoLauncher launcher(dialogs);
    EXPECT_EQ(launcher.findSystemInfoTool(), tool);
    launcher.StartSysInfo();
    qputenv("PATH", oldPath);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 10'000));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
} // namespace vendrel
