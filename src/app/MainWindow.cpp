#include "app/MainWindow.h"

#include "about/FrmAbout.h"
#include "about/SysInfoLauncher.h"
#include "app/HelpWindow.h"
#include "app/LogFileCommands.h"
#include "app/MainMenus.h"
#include "app/MainToolbar.h"
#include "app/SplitterBar.h"
#include "app/connect/FrmConnect.h"
#include "app/frame/ActivityLog.h"
#include "app/frame/StatusPanels.h"
#include "app/icons/Icons.h"
#include "dialup/DialupControl.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "local/LocalBrowser.h"
#include "local/LocalFileOperations.h"
#include "local/LocalFolderList.h"
#include "platform/Dialogs.h"
#include "remote/RemoteBrowser.h"
#include "remote/RemoteOperations.h"
#include "remote/RemoteTree.h"
#include "session/Connection.h"
#include "session/TransferOptions.h"
#include "transfer/TransferSelection.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QWindow>
#include <QtMath>

namespace vendrel {

namespace {

// The header bars " Local:" and " Serveur:" with the folder shown on them.
QLabel *headerBar(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Mid);
    label->setForegroundRole(QPalette::BrightText);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QLabel *headerText(QWidget *parent, const QString &name, const QString &caption)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    // The path itself is what a screen reader reads; the caption says what it is.
    label->setAccessibleDescription(caption);
    label->setForegroundRole(QPalette::BrightText);
    label->setTextFormat(Qt::PlainText);
    // It sits lower than its header bar: top-aligned, its text lines up with the bar's.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

SplitterBar *splitterBar(QWidget *parent, const QString &name, Qt::CursorShape cursor)
{
    auto *bar = new SplitterBar(parent);
    bar->setObjectName(name);
    bar->setCursor(cursor);
    return bar;
}

// The folder picture, open while its node is selected.
QIcon folderNodeIcon()
{
    QIcon icon;
    for (int size : {16, 32}) {
        icon.addPixmap(listIcon(12).pixmap(size), QIcon::Normal);
        icon.addPixmap(listIcon(13).pixmap(size), QIcon::Selected);
    }
    return icon;
}

// A right click on an entry of the tree makes it the current entry, without
// opening it, and offers the action there.
void offerOnRightClick(QTreeWidget &tree, QAction &action)
{
    tree.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&tree, &QWidget::customContextMenuRequested, &tree, [&tree, &action](const QPoint &at) {
        QTreeWidgetItem *entry = tree.itemAt(at);
        if (entry == nullptr)
            return;
        tree.setCurrentItem(entry);
        QMenu menu;
        menu.addAction(&action);
        menu.exec(tree.viewport()->mapToGlobal(at));
    });
}

// Toolbar keys that run a menu item's handler.
const QList<std::pair<QString, QString>> &toolbarCommands()
{
    static const QList<std::pair<QString, QString>> commands = {
        {QStringLiteral("Disconnect"), QStringLiteral("zDisconnect")},
        {QStringLiteral("Reload"), QStringLiteral("ListLocalFolder")},
        {QStringLiteral("Upload"), QStringLiteral("zLokUp")},
        {QStringLiteral("NewFolder"), QStringLiteral("zLokNF")},
        {QStringLiteral("DelFolder"), QStringLiteral("zLokDF")},
        {QStringLiteral("DelFile"), QStringLiteral("zLokDS")},
        {QStringLiteral("Rename"), QStringLiteral("zLokRS")},
        {QStringLiteral("Reload2"), QStringLiteral("zRemRef")},
        {QStringLiteral("DownLoad"), QStringLiteral("zRemDown")},
        {QStringLiteral("NewFolder2"), QStringLiteral("zRemNF")},
        {QStringLiteral("DelFolder2"), QStringLiteral("zRemDF")},
        {QStringLiteral("DelFile2"), QStringLiteral("zRemDS")},
        {QStringLiteral("Rename2"), QStringLiteral("zRemRS")},
    };
    return commands;
}

} // namespace

MainWindow::MainWindow(MainWindowServices services) : services_(std::move(services)), geometry_(designGeometry())
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Vendrel Version 1.1 - Transfert de fichiers"));
    setWindowIcon(applicationIcon());
    menus_ = std::make_unique<MainMenus>(*menuBar());
    buildClientArea();
    buildSubsystems();
    wireCommands();
    commands_.requireHandlers(commandNames());
    wireSplitterBars();

    local_->openFolder(services_.folders.localStartFolder());

    const double scale = 1.3; // the design size is small on today's screens
    const QSize designSize(qRound(10665 * scale * logicalDpiX() / twipsPerInch),
                           qRound(8055 * scale * logicalDpiY() / twipsPerInch) + menuBar()->sizeHint().height());
    const QSizeF minimum = minimumWindowTwips();
    setMinimumSize(qCeil(minimum.width() * logicalDpiX() / twipsPerInch),
                   qCeil(minimum.height() * logicalDpiY() / twipsPerInch));
    resize(designSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildClientArea()
{
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);

    toolbar_ = new MainToolbar(client_);
    txtInfo_ = new QPlainTextEdit(client_);
    txtInfo_->setObjectName(QStringLiteral("txtInfo"));
    txtInfo_->setAccessibleName(QStringLiteral("Journal d'activité"));
    txtInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtInfo_->installEventFilter(this);

    Label2_ = headerBar(client_, QStringLiteral("Label2"), QStringLiteral(" Local:"));
    Label1_ = headerText(client_, QStringLiteral("Label1"), QStringLiteral("Dossier local"));
    Label4_ = headerBar(client_, QStringLiteral("Label4"), QStringLiteral(" Serveur:"));
    Label3_ = headerText(client_, QStringLiteral("Label3"), QStringLiteral("Dossier du serveur"));

    Drive1_ = new QComboBox(client_);
    Drive1_->setObjectName(QStringLiteral("Drive1"));
    Drive1_->setAccessibleName(QStringLiteral("Volume local"));
    Dir1_ = new LocalFolderList(listIcon(12), listIcon(13), client_);

    TView1_ = new QTreeWidget(client_);
    TView1_->setObjectName(QStringLiteral("TView1"));
    TView1_->setAccessibleName(QStringLiteral("Dossiers du serveur"));
    TView1_->setHeaderHidden(true);
    TView1_->setColumnCount(1);

    Picture1_ = splitterBar(client_, QStringLiteral("Picture1"), Qt::SplitVCursor);
    Picture2_ = splitterBar(client_, QStringLiteral("Picture2"), Qt::SplitHCursor);

    localFiles_ = new FileListModel(FileListKind::Local, this);
    remoteFiles_ = new FileListModel(FileListKind::Remote, this);
    for (FileListModel *model : {localFiles_, remoteFiles_})
        model->setIcons(&listIcon);
    ListView1_ = new FileListView(*localFiles_, QStringLiteral("Fichiers locaux"), client_);
    ListView1_->setObjectName(QStringLiteral("ListView1"));
    ListView2_ = new FileListView(*remoteFiles_, QStringLiteral("Fichiers du serveur"), client_);
    ListView2_->setObjectName(QStringLiteral("ListView2"));

    StatusBar1_ = new QStatusBar(client_);
    StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));

    Label1_->raise();
    Label3_->raise();
    StatusBar1_->raise();
}

void MainWindow::buildSubsystems()
{
    log_ = std::make_unique<ActivityLog>(*txtInfo_, services_.clock);
    status_ = new StatusPanels(*StatusBar1_, services_.clock, statusClockIcon(), statusMonitorIcon());
    dialup_ = std::make_unique<DialupControl>(services_.dialup, services_.dialogs);
    sysInfo_ = std::make_unique<SysInfoLauncher>(services_.dialogs);
    remoteTree_ = std::make_unique<RemoteTree>(*TView1_, listIcon(11), folderNodeIcon());
    const SessionContext context{session_, services_.ftp, *log_, *status_, services_.dialogs, services_.clock};
    const LocalFilterItems localFilters{
        menus_->action(QStringLiteral("zAll")),     menus_->action(QStringLiteral("Z_HTML")),
        menus_->action(QStringLiteral("Z_Images")), menus_->action(QStringLiteral("Z_Zip")),
        menus_->action(QStringLiteral("Z_Exe")),    menus_->action(QStringLiteral("zDefine"))};
    local_ = std::make_unique<LocalBrowser>(context, LocalPane{*Drive1_, *Dir1_, *ListView1_, *localFiles_, *Label1_,
                                                               menus_->menu(QStringLiteral("zLocal")), localFilters});
    localOperations_ = std::make_unique<LocalFileOperations>(context, *local_, services_.shell, services_.folders.data);
    logFiles_ = std::make_unique<LogFileCommands>(*log_, services_.dialogs, services_.folders.data,
                                                  [this](const QString &folder) { local_->openFolder(folder); });
    const RemotePane remotePane{*remoteTree_,
                                *ListView2_,
                                *remoteFiles_,
                                *Label3_,
                                menus_->action(QStringLiteral("zAll2")),
                                menus_->action(QStringLiteral("zDefine2"))};
    remote_ = std::make_unique<RemoteBrowser>(context, remotePane);
    remoteOperations_ =
        std::make_unique<RemoteOperations>(context, remotePane, *remote_, menus_->menu(QStringLiteral("zRemote")));
    transferOptions_ =
        std::make_unique<TransferOptions>(session_, menus_->action(QStringLiteral("zBinary")).isChecked(),
                                          menus_->action(QStringLiteral("zPassive")).isChecked());
    transferOptions_->setMarksChanged([this] { showTransferMarks(); });
    connection_ = std::make_unique<Connection>(
        context, *transferOptions_,
        ConnectTargets{[this] { remote_->clearPane(); },
                       [this](const QString &folder) { remote_->openInitialFolder(folder); },
                       [this](const QString &folder) { local_->openFolder(folder); }});
    const TransferLists lists{*ListView1_,
                              *localFiles_,
                              *ListView2_,
                              *remoteFiles_,
                              [this] {
                                  const QTreeWidgetItem *entry = Dir1_->currentItem();
                                  return entry != nullptr ? LocalFolderList::folderOf(entry) : QString();
                              },
                              [this] { return RemoteTree::keyOf(TView1_->currentItem()); }};
    transfers_ = std::make_unique<TransferSelection>(
        context, lists, [this] { local_->ListLocalFolder(); }, [this] { remote_->zRemRef_Click(); }, this);
}

void MainWindow::wireCommands()
{
    const auto viewMode = [](FileListView *list, FileListView::ViewMode mode) {
        return [list, mode] { list->setViewMode(mode); };
    };
    const std::pair<const char *, CommandTable::Handler> handlers[] = {
        {"zConnect", [this] { zConnect_Click(); }},
        {"zDisconnect", [this] { connection_->zDisconnect_Click(); }},
        {"zEnd", [this] { zEnd_Click(); }},
        {"Mnu_DeconnectInternet", [this] { dialup_->Mnu_DeconnectInternet_Click(); }},
        {"zOdpojit", [this] { dialup_->zOdpojit_Click(); }},
        {"zAbout", [this] { zAbout_Click(); }},
        {"ztBigIc", viewMode(ListView1_, FileListView::LargeIcons)},
        {"ztSmallIc", viewMode(ListView1_, FileListView::SmallIcons)},
        {"ztSeznam", viewMode(ListView1_, FileListView::List)},
        {"ztReport", viewMode(ListView1_, FileListView::Details)},
        {"zsBigIc", viewMode(ListView2_, FileListView::LargeIcons)},
        {"zsSmallIc", viewMode(ListView2_, FileListView::SmallIcons)},
        {"zsSeznam", viewMode(ListView2_, FileListView::List)},
        {"zsReport", viewMode(ListView2_, FileListView::Details)},
        {"zBinary", [this] { transferOptions_->zBinary_Click(); }},
        {"zAscii", [this] { transferOptions_->zAscii_Click(); }},
        {"zPassive", [this] { transferOptions_->zPassive_Click(); }},
        {"zTools", [this] { zTools_Click(); }},
        {"zOption", [this] { zOption_Click(); }},
        {"zHelp", [this] { zHelp_Click(); }},
        {"ListLocalFolder", [this] { local_->ListLocalFolder(); }},
        {"zLokRef", [this] { local_->zLokRef_Click(); }},
        {"zAll", [this] { local_->zAll_Click(); }},
        {"Z_HTML", [this] { local_->Z_HTML_Click(); }},
        {"Z_Images", [this] { local_->Z_Images_Click(); }},
        {"Z_Zip", [this] { local_->Z_Zip_Click(); }},
        {"Z_Exe", [this] { local_->Z_Exe_Click(); }},
        {"zDefine", [this] { local_->zDefine_Click(); }},
        {"zOpenFile", [this] { localOperations_->zOpenFile_Click(); }},
        {"zLokNF", [this] { localOperations_->zLokNF_Click(); }},
        {"zLokDF", [this] { localOperations_->zLokDF_Click(); }},
        {"zLokDS", [this] { localOperations_->zLokDS_Click(); }},
        {"zLokRS", [this] { localOperations_->zLokRS_Click(); }},
        {"zFind", [this] { localOperations_->zFind_Click(); }},
        {"zProperties", [this] { localOperations_->zProperties_Click(); }},
        {"zSave", [this] { logFiles_->zSave_Click(); }},
        {"zOpen", [this] { logFiles_->zOpen_Click(); }},
        {"zLokUp", [this] { transfers_->zLokUp_Click(); }},
        {"zRemDown", [this] { transfers_->zRemDown_Click(); }},
        {"zLokED", [this] { transfers_->zLokED_Click(); }},
        {"zRemRD", [this] { transfers_->zRemRD_Click(); }},
        {"zRemRef", [this] { remote_->zRemRef_Click(); }},
        {"zAll2", [this] { remote_->zAll2_Click(); }},
        {"zDefine2", [this] { remote_->zDefine2_Click(); }},
        {"zRemNF", [this] { remoteOperations_->zRemNF_Click(); }},
        {"zRemDF", [this] { remoteOperations_->zRemDF_Click(); }},
        {"zRemDS", [this] { remoteOperations_->zRemDS_Click(); }},
        {"zRemRS", [this] { remoteOperations_->zRemRS_Click(); }},
    };
    for (const auto &[name, handler] : handlers)
        commands_.add(QString::fromLatin1(name), handler);
    commands_.add(QStringLiteral("Connect"), [this] { showConnectDialog(this); });
    for (const auto &[key, command] : toolbarCommands())
        commands_.addAlias(key, command);
    for (QAction *action : menus_->commands()) {
        connect(action, &QAction::triggered, this, [this, action] {
            // Handlers own their check marks, as the menus always had them do.
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            commands_.run(action->objectName());
        });
    }
    connect(toolbar_, &MainToolbar::buttonClicked, this, &MainWindow::Toolbar1_ButtonClick);
    connect(&menus_->menu(QStringLiteral("zSoubor")), &QMenu::aboutToShow, this,
            [this] { dialup_->zSoubor_Click(menus_->action(QStringLiteral("Mnu_DeconnectInternet"))); });
    wireRemotePane();
    offerOnRightClick(*TView1_, menus_->action(QStringLiteral("zRemRD")));
    offerOnRightClick(*Dir1_, menus_->action(QStringLiteral("zLokED")));
}

void MainWindow::wireRemotePane()
{
    RemoteOperations *operations = remoteOperations_.get();
    connect(TView1_, &QTreeWidget::itemClicked, this, [this] { remote_->TView1_NodeClick(); });
    TView1_->installEventFilter(this);
    connect(ListView2_, &FileListView::labelEditStarting, this,
            [operations](int row) { operations->ListView2_BeforeLabelEdit(row); });
    connect(ListView2_, &FileListView::labelEdited, this,
            [operations](int row, const QString &name) { operations->ListView2_AfterLabelEdit(row, name); });
    connect(ListView2_, &FileListView::columnClicked, this,
            [operations](int column) { operations->ListView2_ColumnClick(column); });
    connect(ListView2_, &FileListView::clicked, this, [operations] { operations->ListView2_Click(); });
    connect(ListView2_, &FileListView::keyReleased, this, [operations](int key) { operations->ListView2_KeyUp(key); });
    connect(ListView2_, &FileListView::contextMenuRequested, this,
            [operations](const QPoint &at) { operations->ListView2_ContextMenu(at); });
}

void MainWindow::Toolbar1_ButtonClick(const QString &key)
{
    commands_.run(key);
}

QStringList MainWindow::commandNames() const
{
    QStringList names;
    for (const QAction *action : menus_->commands())
        names.append(action->objectName());
    return names + toolbar_->keys();
}

void MainWindow::showTransferMarks()
{
    menus_->action(QStringLiteral("zBinary")).setChecked(transferOptions_->binaryMarked());
    menus_->action(QStringLiteral("zAscii")).setChecked(!transferOptions_->binaryMarked());
    menus_->action(QStringLiteral("zPassive")).setChecked(transferOptions_->passiveMarked());
}

void MainWindow::zConnect_Click()
{
    showConnectDialog(nullptr);
}

void MainWindow::showConnectDialog(QWidget *owner)
{
    // Held here alone, never by a parent widget: an owner window is only its
    // native window's transient parent, which the desktop keeps it above.
    if (!connectDialog_) {
        connectDialog_ = std::make_unique<FrmConnect>(
            SiteProfileFolder(services_.folders.data, services_.folders.olderProfiles), services_.dialogs,
            profilePasswords_, profileRootIcon(), profileFileIcon(), browseFolderIcon(),
            [this](const ConnectParameters &parameters, const std::function<void()> &hideDialog) {
                return connection_->ConnectProfile(parameters, hideDialog);
            });
    }
    connectDialog_->winId();
    connectDialog_->windowHandle()->setTransientParent(owner != nullptr ? owner->windowHandle() : nullptr);
    // A dialog hidden by a failed connect keeps its fields for the next try.
    if (connectDialog_->exec() != FrmConnect::KeptHidden)
        connectDialog_.reset();
}

void MainWindow::zTools_Click()
{
    QAction &tools = menus_->action(QStringLiteral("zTools"));
    const bool show = !tools.isChecked();
    tools.setChecked(show);
    toolbar_->setVisible(show);
    shiftForToolbar(geometry_, show);
    placeWidgets();
}

void MainWindow::zEnd_Click()
{
    if (services_.dialogs.message(QStringLiteral("Quitter Vendrel ?  Confirmez."), MessageButtons::YesNo,
                                  MessageIcon::Question, QStringLiteral("Quitter le programme"))
        != MessageAnswer::Yes)
        return;
    dialup_->OfferHangUpBeforeQuit();
    // Leave the server politely instead of dropping the connection.
    connection_->closeSession();
    services_.quitApplication();
}

void MainWindow::zHelp_Click()
{
    if (helpWindow_ == nullptr)
        helpWindow_ = new HelpWindow(this);
    helpWindow_->showContents(services_.folders.helpFile());
}

void MainWindow::zOption_Click()
{
    services_.dialogs.message(QStringLiteral("...rien."), MessageButtons::Ok, MessageIcon::Stop,
                              QStringLiteral("Erreur"));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    connection_->closeSession();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!isMinimized())
        layoutPanes();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TView1_ && event->type() == QEvent::KeyRelease
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete)
        remoteOperations_->zRemDF_Click();
    // Ctrl+C connects and Ctrl+V sends, even from inside the log.
    if (watched == txtInfo_ && event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const char *name : {"zConnect", "zLokUp"}) {
            if (menus_->action(QString::fromLatin1(name)).shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::zAbout_Click()
{
    FrmAbout about(applicationIcon(), *sysInfo_);
    about.exec();
}

WindowTwips MainWindow::windowTwips() const
{
    const double twipsX = twipsPerInch / logicalDpiX();
    const double twipsY = twipsPerInch / logicalDpiY();
    const QRect outer = frameGeometry();
    WindowTwips window;
    window.W = outer.width() * twipsX;
    window.H = outer.height() * twipsY;
    window.SW = client_->width() * twipsX;
    window.SH = client_->height() * twipsY;
    return window;
}

void MainWindow::layoutPanes()
{
    applyResizeRules(geometry_, windowTwips());
    placeWidgets();
}

void MainWindow::wireSplitterBars()
{
    connect(Picture1_, &SplitterBar::dragMoved, this, [this](QPointF pointer) {
        dragPicture1(geometry_, pointer.y());
        placeWidgets();
    });
    connect(Picture1_, &SplitterBar::released, this, [this] {
        releasePicture1(geometry_, windowTwips());
        placeWidgets();
    });
    connect(Picture2_, &SplitterBar::dragMoved, this, [this](QPointF pointer) {
        dragPicture2(geometry_, pointer.x());
        placeWidgets();
    });
    connect(Picture2_, &SplitterBar::released, this, [this] {
        releasePicture2(geometry_, windowTwips());
        placeWidgets();
    });
}

QWidget &MainWindow::pane(Pane which) const
{
    switch (which) {
    case Pane::Toolbar1: return *toolbar_;
    case Pane::txtInfo: return *txtInfo_;
    case Pane::Label2: return *Label2_;
    case Pane::Label1: return *Label1_;
    case Pane::Label4: return *Label4_;
    case Pane::Label3: return *Label3_;
    case Pane::Drive1: return *Drive1_;
    case Pane::Dir1: return *Dir1_;
    case Pane::TView1: return *TView1_;
    case Pane::Picture1: return *Picture1_;
    case Pane::Picture2: return *Picture2_;
    case Pane::ListView1: return *ListView1_;
    case Pane::ListView2: return *ListView2_;
    case Pane::StatusBar1:
    case Pane::Count: break;
    }
    return *StatusBar1_;
}

void MainWindow::placeWidgets()
{
    const double pixelsX = logicalDpiX() / twipsPerInch;
    const double pixelsY = logicalDpiY() / twipsPerInch;
    for (std::size_t i = 0; i < geometry_.rects.size(); ++i) {
        const Pane which = static_cast<Pane>(i);
        const QRectF &twips = geometry_[which];
        pane(which).setGeometry(qRound(twips.left() * pixelsX), qRound(twips.top() * pixelsY),
                                qRound(twips.width() * pixelsX), qRound(twips.height() * pixelsY));
    }
}

} // namespace vendrel
