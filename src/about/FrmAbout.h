#pragma once

#include <QDialog>

class QIcon;
class QLabel;
class QPushButton;

namespace vendrel {

class SysInfoLauncher;

// The about box: the application's name, version and notice, and a button
// that starts the system-information tool. Built afresh for every showing.
class FrmAbout final : public QDialog {
    Q_OBJECT
public:
    FrmAbout(const QIcon &applicationIcon, SysInfoLauncher &launcher, QWidget *parent = nullptr);

    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void Form_Load();

    SysInfoLauncher &launcher_;
    QLabel *Image1;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *Label1;
    QLabel *lblDisclaimer;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
};

} // namespace vendrel
