#include "platform/Shell.h"

#include "platform/FilePropertiesWindow.h"
#include "platform/FindFilesWindow.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <array>

namespace vendrel {

namespace {

const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");

struct FindTool {
    const char *program;
    // How the tool is told where to start; empty when it cannot be.
    const char *folderArgument;
};

// In order of preference; "%1" stands for the folder.
constexpr std::array<FindTool, 4> findTools{{
    {"catfish", "%1"},
    {"gnome-search-tool", "--path=%1"},
    {"kfind", "%1"},
    {"searchmonkey", ""},
}};

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

std::optional<ShellCommand> desktopFindTool(const QString &startFolder,
                                            const std::function<QString(const QString &)> &findExecutable)
{
    for (const FindTool &tool : findTools) {
        const QString program = findExecutable(QString::fromLatin1(tool.program));
        if (program.isEmpty())
            continue;
        const QString argument = QString::fromLatin1(tool.folderArgument);
        QStringList arguments;
        if (!argument.isEmpty())
            arguments.append(argument.arg(startFolder));
        return ShellCommand{program, arguments};
    }
    return std::nullopt;
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
    QDBusMessage call = QDBusMessage::createMethodCall(fileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
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
    const std::optional<ShellCommand> tool = desktopFindTool(
        startFolder, [](const QString &program) { return QStandardPaths::findExecutable(program); });
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
