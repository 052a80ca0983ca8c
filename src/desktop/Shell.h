#pragma once

#include "platform/InstalledProgram.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace vendrel {

class FindFilesWindow;

// What the desktop does with local files for us: open one with its program,
// show its properties, search for files. Tests record these calls instead.
class Shell {
public:
    virtual ~Shell() = default;

    // false when no program could be started to open the document.
    virtual bool openDocument(const QString &path) = 0;
    virtual void showProperties(const QString &path) = 0;
    // Opens a file search that starts in the folder.
    virtual void findFiles(const QString &startFolder) = 0;
};

// A program and its arguments.
struct ShellCommand {
    QString program;
    QStringList arguments;
};

// The first desktop search tool that findExecutable locates (it returns the
// program's path, or an empty text when the program is not installed), set
// to start in the folder; nothing when no known tool is installed.
std::optional<ShellCommand> desktopFindTool(const QString &startFolder, const FindProgram &findExecutable);

// The shell of the desktop session: documents open through the desktop's
// associations; properties come from the file manager over D-Bus, else from
// our own window; searches run in the desktop's search tool, else in ours.
class DesktopShell final : public QObject, public Shell {
    Q_OBJECT
public:
    // The parent is looked up at each call, as the owner of our own windows.
    explicit DesktopShell(std::function<QWidget *()> parent);

    bool openDocument(const QString &path) override;
    void showProperties(const QString &path) override;
    void findFiles(const QString &startFolder) override;

private:
    void showOwnProperties(const QString &path);
    void showOwnFindWindow(const QString &startFolder);

    std::function<QWidget *()> parent_;
    QPointer<FindFilesWindow> findWindow_;
};

} // namespace vendrel
