#pragma once

#include "platform/Dialogs.h"
#include "session/SessionContext.h"

#include <QObject>
#include <QString>
#include <optional>

namespace vendrel {

class LocalBrowser;
class Shell;

// The commands that change or use local files: rename by editing a row,
// delete the current folder, delete the selected files, create a folder,
// open a file, show its properties, search for files. Every path is
// SessionState::LocalFolder followed by a name. It connects the pane's
// events that lead to these commands (double click, Enter and Delete in
// ListView1, Delete in Dir1, the label edit) itself.
class LocalFileOperations final : public QObject {
    Q_OBJECT
public:
    // dataFolder (profiles, saved logs): without a trailing '/'; it and its "Logon" sub-folder
    // cannot be deleted.
    LocalFileOperations(SessionContext context, LocalBrowser &browser, Shell &shell, QString dataFolder);

    void zOpenFile_Click();
    void zLokNF_Click();
    void zLokDF_Click();
    void zLokDS_Click();
    void zLokRS_Click();
    void zFind_Click();
    void zProperties_Click();

    void ListView1_BeforeLabelEdit(int row);
    void ListView1_AfterLabelEdit(int row, const QString &newName);
    void ListView1_DblClick();
    void ListView1_KeyDown(int key);
    void Dir1_KeyUp(int key);

private:
    // The current row's file, or nothing after telling the user why not:
    // no current row (the message given), or the file has vanished (the
    // list is rebuilt).
    std::optional<QString> currentFile(const QString &noRowMessage, MessageIcon noRowIcon);
    bool isProtectedFolder(const QString &folder) const;
    void reportFileGone(const QString &name);
    void message(const QString &text, MessageIcon icon = MessageIcon::Exclamation);

    SessionContext context_;
    LocalBrowser &browser_;
    Shell &shell_;
    QString dataFolder_;
};

} // namespace vendrel
