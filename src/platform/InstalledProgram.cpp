#include "platform/InstalledProgram.h"

#include <QStandardPaths>

namespace vendrel {

QString findOnPath(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

std::optional<InstalledProgram> firstInstalledProgram(const QStringList &names, const FindProgram &find)
{
    for (qsizetype index = 0; index < names.size(); ++index) {
        if (QString path = find(names.at(index)); !path.isEmpty())
            return InstalledProgram{index, std::move(path)};
    }
    return std::nullopt;
}

} // namespace vendrel
