#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vendrel {

// Full path of an installed program, empty when it is not installed.
using FindProgram = std::function<QString(const QString &name)>;

// The program's path on PATH, empty when it is not there.
QString findOnPath(const QString &name);

struct InstalledProgram {
    qsizetype index; // its place in the list it was chosen from
    QString path;
};

// The first of the programs, in order of preference, that find locates;
// nothing when none is installed.
std::optional<InstalledProgram> firstInstalledProgram(const QStringList &names, const FindProgram &find);

} // namespace vendrel
