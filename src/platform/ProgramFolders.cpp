#include "platform/ProgramFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

const QString helpFileName = u"VENDREL.HLP"_s;

} // namespace

QString ProgramFolders::helpFile() const
{
    return QDir(shared).filePath(helpFileName);
}

ProgramFolders ProgramFolders::beside(const QString &programFolder)
{
    return {programFolder, programFolder, programFolder, {}};
}

QString ProgramFolders::localStartFolder() const
{
    return data == program ? program : QDir::homePath();
}

ProgramFolders ProgramFolders::choose(const QString &programFolder, const QString &userDataHome,
                                      const std::function<bool(const QString &folder)> &isWritable)
{
    const QDir program(programFolder);
    const bool shipsBeside = program.exists(helpFileName);
    if (shipsBeside && isWritable(programFolder))
        return beside(programFolder);
    return {programFolder, shipsBeside ? programFolder : QDir::cleanPath(program.filePath(u"../share/vendrel"_s)),
            QDir(userDataHome).filePath(u"vendrel"_s), programFolder};
}

ProgramFolders programFoldersFor(const QString &programFolder)
{
    const ProgramFolders folders =
        ProgramFolders::choose(programFolder, QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                               [](const QString &folder) { return QFileInfo(folder).isWritable(); });
    if (!QFileInfo::exists(folders.data) && QDir().mkpath(folders.data))
        QFile::setPermissions(folders.data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folders;
}

} // namespace vendrel
