#include "about/SysInfoLauncher.h"

#include "platform/Dialogs.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace vendrel {

SysInfoLauncher::SysInfoLauncher(Dialogs &dialogs, FindProgram find, StartProgram start)
    : dialogs_(dialogs), find_(std::move(find)), start_(std::move(start))
{
}

const QStringList &SysInfoLauncher::systemInfoTools()
{
    static const QStringList tools{
        u"hardinfo2"_s,           u"hardinfo"_s,           u"kinfocenter"_s,
        u"gnome-system-monitor"_s, u"plasma-systemmonitor"_s, u"ksysguard"_s,
        u"mate-system-monitor"_s, u"xfce4-taskmanager"_s,  u"lxtask"_s,
    };
    return tools;
}

QString SysInfoLauncher::findSystemInfoTool() const
{
    for (const QString &tool : systemInfoTools()) {
        if (const QString path = find_(tool); !path.isEmpty())
            return path;
    }
    return {};
}

void SysInfoLauncher::StartSysInfo()
{
    const QString path = findSystemInfoTool();
    if (!path.isEmpty() && start_(path))
        return;
    dialogs_.message(u"Information Systeme introuvable !"_s, MessageButtons::Ok, MessageIcon::None, applicationTitle());
}

QString SysInfoLauncher::findOnPath(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

bool SysInfoLauncher::startDetached(const QString &path)
{
    return QProcess::startDetached(path, {});
}

} // namespace vendrel
