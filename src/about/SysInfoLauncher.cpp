#include "about/SysInfoLauncher.h"

#include "platform/Dialogs.h"

#include <QProcess>

using namespace Qt::StringLiterals;

namespace vendrel {

SysInfoLauncher::SysInfoLauncher(Dialogs &dialogs, FindProgram find, StartProgram start)
    : dialogs_(dialogs), find_(std::move(find)), start_(std::move(start))
{
}

const QStringList &SysInfoLauncher::systemInfoTools()
{
    static const QStringList tools{
        u"hardinfo2"_s,
        u"hardinfo"_s,
        u"kinfocenter"_s,
        u"gnome-system-monitor"_s,
        u"plasma-systemmonitor"_s,
        u"ksysguard"_s,
        u"mate-system-monitor"_s,
        u"xfce4-taskmanager"_s,
        u"lxtask"_s,
    };
    return tools;
}

QString SysInfoLauncher::findSystemInfoTool() const
{
    const std::optional<InstalledProgram> tool = firstInstalledProgram(systemInfoTools(), find_);
    return tool ? tool->path : QString();
}

void SysInfoLauncher::StartSysInfo()
{
    const QString path = findSystemInfoTool();
    if (!path.isEmpty() && start_(path))
        return;
    dialogs_.message(u"Information Systeme introuvable !"_s, MessageButtons::Ok, MessageIcon::None, applicationTitle());
}

bool SysInfoLauncher::startDetached(const QString &path)
{
    return QProcess::startDetached(path, {});
}

} // namespace vendrel
