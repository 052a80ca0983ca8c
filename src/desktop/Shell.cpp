#include "desktop/Shell.h"

#include "desktop/FilePropertiesWindow.h"
#include "desktop/FindFilesWindow.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace vendrel {

namespace {

const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");

// In order of preference, with how each is told where to start ("%1" stands
// for the folder; empty when it cannot be told).
const QStringList findToolPrograms = {QStringLiteral("catfish"), QStringLiteral("gnome-search-tool"),
                                      QStringLiteral("kfind"), QStringLiteral("searchmonkey")};
const QStringList findToolFolderArguments = {QStringLiteral("%1"), QStringLiteral("--path=%1"), QStringLiteral("%1"),
                                             QString()};

bool fileManagerReachable(QDBusConnection &bus)
{
    if (!bus.isConnected())
        return false;
    const QDBusConnectionInterface *daemon = bus.interface();
    if (daemon == nullptr)
        return false;
    if (daemon->isServiceRegistered(fileManagerService).value())
        return true;
    return daemon->activatableServiceNames().value().contains(fileManagerService);
}

} // namespace

std::optional<ShellCommand> desktopFindTool(const QString &startFolder, const FindProgram &findExecutable)
{
    const std::optional<InstalledProgram> tool = firstInstalledProgram(findToolPrograms, findExecutable);
    if (!tool)
        return std::nullopt;
    const QString &argument = findToolFolderArguments.at(tool->index);
    return ShellCommand{tool->path, argument.isEmpty() ? QStringList() : QStringList{argument.arg(startFolder)}};
}

DesktopShell::DesktopShell(std::function<QWidget *()> parent) : parent_(std::move(parent)) {}

bool DesktopShell::openDocument(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopShell::showProperties(const QString &path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!fileManagerReachable(bus)) {
        showOwnProperties(path);
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(fileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
                                       fileManagerService, QStringLiteral("ShowItemProperties"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    // Asynchronous: starting a file manager can take seconds, and the window must not freeze meanwhile.
    auto *reply = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this, reply, path] {
        if (reply->isError())
            showOwnProperties(path);
        reply->deleteLater();
    });
}

void DesktopShell::findFiles(const QString &startFolder)
{
    const std::optional<ShellCommand> tool = desktopFindTool(startFolder, findOnPath);
    if (tool && QProcess::startDetached(tool->program, tool->arguments, startFolder))
        return;
    showOwnFindWindow(startFolder);
}

void DesktopShell::showOwnProperties(const QString &path)
{
    auto *window = new FilePropertiesWindow(path, parent_());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void DesktopShell::showOwnFindWindow(const QString &startFolder)
{
    if (findWindow_ == nullptr) {
        findWindow_ = new FindFilesWindow([this](const QString &path) { return openDocument(path); }, parent_());
        findWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    findWindow_->setStartFolder(startFolder);
    findWindow_->show();
    findWindow_->raise();
    findWindow_->activateWindow();
}

} // namespace vendrel
