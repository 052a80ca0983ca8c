#pragma once

class QCheckBox;
class QDialog;
class QGroupBox;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace vendrel {

// The controls of the connection dialog, created with their names, captions,
// tooltips and initial values, and laid out on the dialog. No behaviour.
struct FrmConnectForm {
    FrmConnectForm(QDialog &dialog, const QIcon &browseIcon);

    QTreeWidget *TView1;

    QLabel *Label1;
    QLineEdit *txtSiteName;
    QLabel *Label2;
    QLineEdit *txtServer;
    QLabel *Label3;
    QLineEdit *txtUser;
    QLabel *Label4;
    QLineEdit *txtPass;

    QGroupBox *Frame2;
    QRadioButton *Option1;
    QRadioButton *Option2;
    QLabel *Label5;
    QLineEdit *txtPort;

    QGroupBox *Frame5;
    QRadioButton *Option3;
    QRadioButton *Option4;

    QGroupBox *Frame4;
    QRadioButton *Option6;
    QRadioButton *OptionFtpsExplicit;
    QRadioButton *OptionFtpsImplicit;

    QGroupBox *Frame3;
    QLabel *Label6;
    QLineEdit *TextDosInit;
    QPushButton *Command6;
    QCheckBox *Check1;
    QCheckBox *Check2;

    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command5;
    QPushButton *Command3;
    QPushButton *Command4;
};

} // namespace vendrel
