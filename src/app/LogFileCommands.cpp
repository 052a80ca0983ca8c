#include "app/LogFileCommands.h"

#include "app/frame/ActivityLog.h"
#include "platform/Dialogs.h"
#include "platform/Windows1252.h"

#include <QSaveFile>

namespace vendrel {

namespace {

// The whole file or nothing: a failed write leaves a former log of that name as it was.
bool writeWholeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

LogFileCommands::LogFileCommands(const ActivityLog &log, Dialogs &dialogs, QString dataFolder,
                                 std::function<void(const QString &)> openLocalFolder)
    : log_(log), dialogs_(dialogs), dataFolder_(std::move(dataFolder)), openLocalFolder_(std::move(openLocalFolder))
{
}

void LogFileCommands::zSave_Click()
{
    if (log_.isEmpty()) {
        dialogs_.message(QStringLiteral("Pas de fichier sauvé !"), MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    const std::optional<QString> name =
        dialogs_.input(QStringLiteral("Nom du fichier Log :"), QStringLiteral("Fichier Log"));
    if (!name || name->isEmpty()) {
        dialogs_.message(QStringLiteral("Pas de nom de fichier, Abandon !"), MessageButtons::Ok,
                         MessageIcon::Information);
        return;
    }
    // The name as typed, ".txt" always added: a log named a.txt is saved as a.txt.txt.
    const QString path = dataFolder_ + u'/' + *name + QStringLiteral(".txt");
    if (!writeWholeFile(path, toWindows1252(log_.text()))) {
        dialogs_.message(QStringLiteral("Le fichier Log n'a pas pu être enregistré :\r\n") + path, MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return;
    }
    dialogs_.message(QStringLiteral("Fichier enregistré : \r\n") + path, MessageButtons::Ok, MessageIcon::Information);
}

void LogFileCommands::zOpen_Click()
{
    openLocalFolder_(dataFolder_);
}

} // namespace vendrel
