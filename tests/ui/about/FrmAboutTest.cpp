#include "about/SysInfoLauncher.h"
#include "support/FakeDialogs.h"
#include "support/TempFolder.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The real lookup and start, with a tool of our own first on PATH, then none.
TEST(SysInfoLauncher, StartsTheToolFoundOnPathOrSaysThereIsNone)
{
    test::TempFolder bin;
    const QString marker = bin.filePath(u"started"_s);
    const QString tool = bin.createFile(u"hardinfo2"_s, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    test::FakeDialogs dialogs;
    SysInfoLauncher launcher(dialogs);
    qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);
    EXPECT_EQ(launcher.findSystemInfoTool(), tool);
    launcher.StartSysInfo();
    qputenv("PATH", bin.filePath(u"empty"_s).toUtf8());
    launcher.StartSysInfo();
    qputenv("PATH", oldPath);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 10'000));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{u"Information Systeme introuvable !"_s});
}

} // namespace
} // namespace vendrel
