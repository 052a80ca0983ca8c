#pragma once

#include "app/CommandTable.h"
#include "app/PaneLayout.h"
#include "app/connect/ProfilePasswords.h"
#include "platform/ProgramFolders.h"
#include "session/SessionState.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QLabel;
class QComboBox;
class QPlainTextEdit;
class QStatusBar;
class QTreeWidget;

namespace vendrel {

class ActivityLog;
class Clock;
class Connection;
class Dialogs;
class DialupControl;
class DialupService;
class FileListModel;
class FileListView;
class FrmConnect;
class FtpService;
class HelpWindow;
class LocalBrowser;
class LocalFileOperations;
class LocalFolderList;
class LogFileCommands;
class MainMenus;
class MainToolbar;
class RemoteBrowser;
class RemoteOperations;
class RemoteTree;
class Shell;
class TransferSelection;
class SplitterBar;
class StatusPanels;
class SysInfoLauncher;
class TransferOptions;

// What the main window needs from outside; tests hand in fakes.
struct MainWindowServices {
    FtpService &ftp;
    Dialogs &dialogs;
    const Clock &clock;
    Shell &shell;
    ProgramFolders folders;
    std::function<void()> quitApplication;
    DialupService &dialup;
    PasswordVault &passwords; // the desktop keyring, for the site profiles' passwords
};

// frmmain: the frame that holds both panes, the log, the toolbar, the menus
// and the status bar, and dispatches every command to its owner.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowServices services);
    ~MainWindow() override;

    void zConnect_Click();
    void Toolbar1_ButtonClick(const QString &key);
    void zTools_Click();
    void zEnd_Click();
    void zAbout_Click();
    void zHelp_Click();
    void zOption_Click();

    // Every menu item and toolbar key: each has a handler, or the window is
    // not built.
    QStringList commandNames() const;

    MainMenus &menus() const { return *menus_; }
    MainToolbar &toolbar() const { return *toolbar_; }
    SessionState &session() { return session_; }
    ActivityLog &activityLog() const { return *log_; }
    StatusPanels &statusPanels() const { return *status_; }
    RemoteBrowser &remoteBrowser() const { return *remote_; }
    RemoteTree &remoteTree() const { return *remoteTree_; }
    FileListModel &remoteFiles() const { return *remoteFiles_; }
    FileListView &remoteList() const { return *ListView2_; }
    FileListView &localList() const { return *ListView1_; }
    FrmConnect *connectDialog() const { return connectDialog_.get(); }
    HelpWindow *helpWindow() const { return helpWindow_; }
    const PaneGeometry &paneGeometry() const { return geometry_; }
    QWidget &pane(Pane which) const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildClientArea();
    void buildSubsystems();
    void wireCommands();
    void showTransferMarks();
    void wireRemotePane();
    void showConnectDialog(QWidget *owner);
    void layoutPanes();
    WindowTwips windowTwips() const;
    void wireSplitterBars();
    void placeWidgets();

    MainWindowServices services_;
    SessionState session_;
    PaneGeometry geometry_;

    std::unique_ptr<MainMenus> menus_;
    MainToolbar *toolbar_ = nullptr;
    QWidget *client_ = nullptr;
    QPlainTextEdit *txtInfo_ = nullptr;
    QLabel *Label1_ = nullptr;
    QLabel *Label2_ = nullptr;
    QLabel *Label3_ = nullptr;
    QLabel *Label4_ = nullptr;
    QComboBox *Drive1_ = nullptr;
    LocalFolderList *Dir1_ = nullptr;
    QTreeWidget *TView1_ = nullptr;
    SplitterBar *Picture1_ = nullptr;
    SplitterBar *Picture2_ = nullptr;
    FileListModel *localFiles_ = nullptr;
    FileListModel *remoteFiles_ = nullptr;
    FileListView *ListView1_ = nullptr;
    FileListView *ListView2_ = nullptr;
    QStatusBar *StatusBar1_ = nullptr;
    HelpWindow *helpWindow_ = nullptr;

    std::unique_ptr<ActivityLog> log_;
    StatusPanels *status_ = nullptr;
    std::unique_ptr<LocalBrowser> local_;
    std::unique_ptr<LocalFileOperations> localOperations_;
    std::unique_ptr<LogFileCommands> logFiles_;
    std::unique_ptr<RemoteTree> remoteTree_;
    std::unique_ptr<RemoteBrowser> remote_;
    std::unique_ptr<RemoteOperations> remoteOperations_;
    std::unique_ptr<TransferOptions> transferOptions_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<TransferSelection> transfers_;
    ProfilePasswords profilePasswords_{services_.passwords};
    std::unique_ptr<FrmConnect> connectDialog_;
    std::unique_ptr<DialupControl> dialup_;
    std::unique_ptr<SysInfoLauncher> sysInfo_;
    CommandTable commands_;
};

} // namespace vendrel
