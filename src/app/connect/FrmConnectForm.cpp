#include "app/connect/FrmConnectForm.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

template <typename Widget>
Widget *named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption)
{
    return named(new QLabel(caption, parent), name);
}

// Screen readers name a field after its label.
QLineEdit *field(QWidget *parent, const QString &name, const QString &text, QLabel *label)
{
    auto *edit = named(new QLineEdit(text, parent), name);
    label->setBuddy(edit);
    return edit;
}

QRadioButton *option(QWidget *parent, const QString &name, const QString &caption, bool selected = false)
{
    auto *button = named(new QRadioButton(caption, parent), name);
    button->setChecked(selected);
    return button;
}

QCheckBox *check(QWidget *parent, const QString &name, const QString &caption, bool checked)
{
    auto *box = named(new QCheckBox(caption, parent), name);
    box->setChecked(checked);
    return box;
}

// Enter in a field must not press a button: none of them is a default action.
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QString &toolTip)
{
    auto *push = named(new QPushButton(caption, parent), name);
    push->setToolTip(toolTip);
    push->setAutoDefault(false);
    return push;
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &caption)
{
    return named(new QGroupBox(caption, parent), name);
}

} // namespace

// The controls are created in the order a person tabs through them.
FrmConnectForm::FrmConnectForm(QDialog &dialog, const QIcon &browseIcon)
{
    dialog.setObjectName(u"FrmConnect"_s);
    dialog.setWindowTitle(u"Profil Utilisateur - Propriétés de la connexion serveur"_s);

    TView1 = named(new QTreeWidget(&dialog), u"TView1"_s);
    TView1->setHeaderHidden(true);
    TView1->setToolTip(u"Double clic pour charger un profil"_s);
    TView1->setAccessibleName(u"Profils de site"_s);
    TView1->setMinimumWidth(200);

    Label1 = label(&dialog, u"Label1"_s, u"Etiquette de site :"_s);
    txtSiteName = field(&dialog, u"txtSiteName"_s, {}, Label1);
    Label2 = label(&dialog, u"Label2"_s, u"Adresse d'Hôte :"_s);
    txtServer = field(&dialog, u"txtServer"_s, {}, Label2);
    Label3 = label(&dialog, u"Label3"_s, u"ID Utilisateur :"_s);
    txtUser = field(&dialog, u"txtUser"_s, u"anonyme"_s, Label3);
    Label4 = label(&dialog, u"Label4"_s, u"Mot de passe :"_s);
    txtPass = field(&dialog, u"txtPass"_s, {}, Label4);
    txtPass->setEchoMode(QLineEdit::Password);

    Frame2 = frame(&dialog, u"Frame2"_s, u"Type de transfert"_s);
    Option1 = option(Frame2, u"Option1"_s, u"Binaire"_s, true);
    Option2 = option(Frame2, u"Option2"_s, u"ASCII"_s);
    Label5 = label(Frame2, u"Label5"_s, u"Port :"_s);
    txtPort = field(Frame2, u"txtPort"_s, u"21"_s, Label5);

    Frame5 = frame(&dialog, u"Frame5"_s, u"Type de login"_s);
    Option3 = option(Frame5, u"Option3"_s, u"Passif"_s, true);
    Option4 = option(Frame5, u"Option4"_s, u"Actif"_s);

    Frame4 = frame(&dialog, u"Frame4"_s, u"Mode de transfert "_s);
    Option6 = option(Frame4, u"Option6"_s, u"FTP"_s, true);
    OptionFtpsExplicit = option(Frame4, u"OptionFtpsExplicit"_s, u"FTPS explicite"_s);
    OptionFtpsImplicit = option(Frame4, u"OptionFtpsImplicit"_s, u"FTPS implicite"_s);

    Frame3 = frame(&dialog, u"Frame3"_s, u"Options"_s);
    Label6 = label(Frame3, u"Label6"_s, u"Répertoire local initial :"_s);
    TextDosInit = field(Frame3, u"TextDosInit"_s, {}, Label6);
    Command6 = button(Frame3, u"Command6"_s, {}, u"Parcourir les dossiers..."_s);
    Command6->setIcon(browseIcon);
    Command6->setAccessibleName(Command6->toolTip());
    Check1 = check(Frame3, u"Check1"_s, u"Anonyme"_s, true);
    Check2 = check(Frame3, u"Check2"_s, u"Sauver le mot de passe"_s, false);

    Command1 = button(&dialog, u"Command1"_s, u"Sauver"_s, u"Enregistre le profil utilisateur en cours"_s);
    Command2 = button(&dialog, u"Command2"_s, u"Nouveau"_s, u"Créer un nouveau profil utilisateur"_s);
    Command5 = button(&dialog, u"Command5"_s, u"Supprimer"_s, u"Supprimer le profil utilisateur en cours"_s);
    Command5->setEnabled(false);
    Command3 = button(&dialog, u"Command3"_s, u"Connexion"_s, u"Connexion sur le serveur"_s);
    Command3->setEnabled(false);
    Command4 = button(&dialog, u"Command4"_s, u"Annuler"_s, u"Fermer la fenêtre"_s);

    auto *fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(txtSiteName, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(txtServer, 1, 1);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(txtUser, 2, 1);
    fields->addWidget(Label4, 3, 0);
    fields->addWidget(txtPass, 3, 1);
    fields->setColumnStretch(1, 1);

    auto *transferType = new QGridLayout(Frame2);
    transferType->addWidget(Option1, 0, 0, 1, 2);
    transferType->addWidget(Option2, 1, 0, 1, 2);
    transferType->addWidget(Label5, 2, 0);
    transferType->addWidget(txtPort, 2, 1);

    auto *loginType = new QVBoxLayout(Frame5);
    loginType->addWidget(Option3);
    loginType->addWidget(Option4);
    loginType->addStretch();

    auto *transferMode = new QVBoxLayout(Frame4);
    transferMode->addWidget(Option6);
    transferMode->addWidget(OptionFtpsExplicit);
    transferMode->addWidget(OptionFtpsImplicit);

    auto *frames = new QHBoxLayout;
    frames->addWidget(Frame2);
    frames->addWidget(Frame5);
    frames->addWidget(Frame4);

    auto *checks = new QHBoxLayout;
    checks->addWidget(Check1);
    checks->addWidget(Check2);
    checks->addStretch();

    auto *options = new QGridLayout(Frame3);
    options->addWidget(Label6, 0, 0, 1, 2);
    options->addWidget(TextDosInit, 1, 0);
    options->addWidget(Command6, 1, 1);
    options->addLayout(checks, 2, 0, 1, 2);

    auto *profile = new QVBoxLayout;
    profile->addLayout(fields);
    profile->addLayout(frames);
    profile->addWidget(Frame3);
    profile->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(TView1, 2);
    top->addLayout(profile, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command5);
    buttons->addStretch();
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);

    auto *main = new QVBoxLayout(&dialog);
    main->addLayout(top);
    main->addLayout(buttons);
    dialog.resize(dialog.sizeHint());
}

} // namespace vendrel
