#include "about/FrmAbout.h"
#include "about/SysInfoLauncher.h"
#include "support/FakeDialogs.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// A desktop with the given tools installed, each at /usr/bin/<name>.
struct FakeDesktop {
    QStringList installed;
    bool starts = true;
    QStringList started;

    SysInfoLauncher launcher(Dialogs &dialogs)
    {
        return SysInfoLauncher(
            dialogs, [this](const QString &name) { return installed.contains(name) ? u"/usr/bin/"_s + name : QString(); },
            [this](const QString &path) {
                started.append(path);
                return starts;
            });
    }
};

QIcon someIcon()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::blue);
    return QIcon(pixmap);
}

struct FrmAboutTest : ::testing::Test {
    QLabel &label(const char *name) { return *about.findChild<QLabel *>(QString::fromLatin1(name)); }
    QPushButton &button(const char *name) { return *about.findChild<QPushButton *>(QString::fromLatin1(name)); }

    test::FakeDialogs dialogs;
    FakeDesktop desktop;
    SysInfoLauncher launcher = desktop.launcher(dialogs);
    FrmAbout about{someIcon(), launcher};
};

TEST_F(FrmAboutTest, ShowsTheApplicationItsVersionAndTheButtons)
{
    about.show();
    EXPECT_EQ(about.objectName(), u"frmAbout"_s);
    EXPECT_EQ(about.windowTitle(), u"A propos Vendrel"_s);
    EXPECT_EQ(label("lblTitle").text(), u"Vendrel"_s);
    EXPECT_EQ(label("lblVersion").text(), u"Version 1.1.0"_s);
    EXPECT_FALSE(label("Image1").pixmap().isNull());
    for (const char *notice : {"lblDescription", "Label1", "lblDisclaimer"})
        EXPECT_FALSE(label(notice).text().isEmpty()) << notice;
    EXPECT_EQ(button("cmdOK").text(), u"OK"_s);
    EXPECT_EQ(button("cmdSysInfo").text(), u"&Système Info..."_s);
    EXPECT_EQ(button("cmdSysInfo").toolTip(), u"Informations système"_s);
    // Every notice is readable whole inside the box.
    for (const char *name : {"lblTitle", "lblVersion", "lblDescription", "Label1", "lblDisclaimer"}) {
        const QLabel &shown = label(name);
        EXPECT_GE(shown.height(), shown.heightForWidth(shown.width())) << name;
        EXPECT_TRUE(about.rect().contains(shown.geometry())) << name;
    }
}

TEST_F(FrmAboutTest, OkClosesTheBox)
{
    about.show();
    QTest::mouseClick(&button("cmdOK"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(FrmAboutTest, SystemInfoStartsTheFirstToolOfTheListThatIsInstalled)
{
    desktop.installed = {u"gnome-system-monitor"_s, u"hardinfo"_s};
    about.show();
    QTest::mouseClick(&button("cmdSysInfo"), Qt::LeftButton);
    EXPECT_EQ(desktop.started, QStringList{u"/usr/bin/hardinfo"_s});
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(about.isVisible());
}

TEST_F(FrmAboutTest, WithoutAToolThatStartsSystemInfoSaysSo)
{
    about.cmdSysInfo_Click(); // none installed
    EXPECT_TRUE(desktop.started.isEmpty());

    desktop.installed = {u"kinfocenter"_s};
    desktop.starts = false;
    about.cmdSysInfo_Click();
    EXPECT_EQ(desktop.started, QStringList{u"/usr/bin/kinfocenter"_s});

    ASSERT_EQ(dialogs.messages.size(), 2);
    for (const test::ShownMessage &shown : dialogs.messages) {
        EXPECT_EQ(shown.text, u"Information Systeme introuvable !"_s);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        EXPECT_EQ(shown.icon, MessageIcon::None);
        EXPECT_EQ(shown.title, u"Vendrel"_s);
    }
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
