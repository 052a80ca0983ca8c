#include "app/connect/FrmConnect.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

const QString rootKey = u"r"_s;
const QString anonymousUser = u"anonyme"_s;

QString nodeKey(const QTreeWidgetItem *node)
{
    return node->data(0, Qt::UserRole).toString();
}

// The choices of the "Mode de transfert " frame: how a profile stores each,
// how it protects the connection, and its usual port. The first one is what
// a profile without a mode, or with one this version does not know, gets.
struct TransferMode {
    QRadioButton *FrmConnectForm::*option;
    QString profileKey;
    FtpSecurity security;
    QString defaultPort;
};

const std::array<TransferMode, 3> &transferModes()
{
    static const std::array<TransferMode, 3> modes = {{
        {&FrmConnectForm::Option6, u"ftp"_s, FtpSecurity::Plain, u"21"_s},
        {&FrmConnectForm::OptionFtpsExplicit, u"ftps"_s, FtpSecurity::ExplicitTls, u"21"_s},
        {&FrmConnectForm::OptionFtpsImplicit, u"ftps-implicite"_s, FtpSecurity::ImplicitTls, u"990"_s},
    }};
    return modes;
}

// One of the options is always checked: they exclude each other and one starts checked.
const TransferMode &checkedMode(const FrmConnectForm &ui)
{
    return *std::find_if(transferModes().begin(), transferModes().end(),
                         [&](const TransferMode &mode) { return (ui.*mode.option)->isChecked(); });
}

void checkModeStoredAs(const FrmConnectForm &ui, const QString &profileKey)
{
    const auto stored = std::find_if(transferModes().begin(), transferModes().end(),
                                     [&](const TransferMode &mode) { return mode.profileKey == profileKey; });
    (ui.*(stored != transferModes().end() ? stored->option : transferModes().front().option))->setChecked(true);
}

} // namespace

FrmConnect::FrmConnect(SiteProfileFolder profiles, Dialogs &dialogs, ProfilePasswords &passwords, const QIcon &rootIcon,
                       const QIcon &profileIcon, const QIcon &browseIcon, ConnectCallback connect)
    : ui_(*this, browseIcon),
      profiles_(std::move(profiles)),
      dialogs_(dialogs),
      passwords_(passwords),
      rootIcon_(rootIcon),
      profileIcon_(profileIcon),
      connect_(std::move(connect))
{
    // Mouse users click a node; keyboard users press Enter on it.
    QObject::connect(ui_.TView1, &QTreeWidget::itemClicked, this, &FrmConnect::TView1_NodeClick);
    QObject::connect(ui_.TView1, &QTreeWidget::itemActivated, this, &FrmConnect::TView1_NodeClick);
    ui_.TView1->installEventFilter(this);

    QObject::connect(ui_.Command1, &QPushButton::clicked, this, &FrmConnect::Command1_Click);
    QObject::connect(ui_.Command2, &QPushButton::clicked, this, &FrmConnect::Command2_Click);
    QObject::connect(ui_.Command3, &QPushButton::clicked, this, &FrmConnect::Command3_Click);
    QObject::connect(ui_.Command4, &QPushButton::clicked, this, &FrmConnect::reject);
    QObject::connect(ui_.Command5, &QPushButton::clicked, this, &FrmConnect::Command5_Click);
    QObject::connect(ui_.Command6, &QPushButton::clicked, this, &FrmConnect::Command6_Click);

    QObject::connect(ui_.Check1, &QCheckBox::clicked, this, &FrmConnect::Check1_Click);
    QObject::connect(ui_.Check2, &QCheckBox::clicked, this, &FrmConnect::disableDelete);
    QObject::connect(ui_.Option1, &QRadioButton::clicked, this, &FrmConnect::disableDelete);
    QObject::connect(ui_.Option2, &QRadioButton::clicked, this, &FrmConnect::disableDelete);
    for (const TransferMode &mode : transferModes()) {
        QObject::connect(ui_.*mode.option, &QRadioButton::clicked, this,
                         [this, port = mode.defaultPort] { TransferMode_Click(port); });
    }

    // The port counts too: typing it last must not leave "Connexion" greyed.
    for (QLineEdit *edit : {ui_.txtSiteName, ui_.txtServer, ui_.txtUser, ui_.txtPass, ui_.txtPort, ui_.TextDosInit})
        QObject::connect(edit, &QLineEdit::textChanged, this, &FrmConnect::updateConnectEnabled);

    LoadProfileTree();
}

bool FrmConnect::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui_.TView1 && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && !key->isAutoRepeat())
            Command5_Click();
    }
    return QDialog::eventFilter(watched, event);
}

void FrmConnect::LoadProfileTree()
{
    ui_.TView1->clear();
    auto *root = new QTreeWidgetItem(ui_.TView1, {u"Profil"_s});
    root->setData(0, Qt::UserRole, rootKey);
    root->setIcon(0, rootIcon_);
    for (const QString &fileName : profiles_.profileFileNames()) {
        auto *node = new QTreeWidgetItem(root, {fileName});
        node->setIcon(0, profileIcon_);
    }
    root->setExpanded(true);
}

void FrmConnect::TView1_NodeClick(QTreeWidgetItem *node)
{
    if (nodeKey(node) == rootKey) {
        ui_.Command5->setEnabled(false);
        ui_.Command3->setEnabled(false);
        return;
    }
    const QString fileName = node->text(0);
    SiteProfile profile = profiles_.load(fileName);
    QString warning;
    if (profile.passwordInKeyring()) {
        const VaultAnswer answer = passwords_.vault.read(fileName);
        profile.password = answer.password;
        warning = keyringReadWarning(answer);
    }
    showProfile(profile);
    checkModeStoredAs(ui_, profile.mode);
    // Setting the marks must not run their click actions, which would empty
    // the user name and password just loaded: setChecked() does not emit clicked.
    ui_.Check1->setChecked(ui_.txtUser->text() == anonymousUser);
    ui_.Check2->setChecked(!ui_.txtPass->text().isEmpty());
    ui_.Command5->setEnabled(true);
    updateConnectEnabled();
    if (!warning.isEmpty())
        warn(warning);
}

void FrmConnect::Command1_Click()
{
    if (ui_.txtSiteName->text().isEmpty() || ui_.txtServer->text().isEmpty()) {
        warn(u"Remplir toutes les zones de texte !"_s);
        return;
    }
    if (!profileFieldsFilled()) {
        warn(u"Vous devez remplir toutes les zones de texte !"_s, u"Erreur"_s);
        return;
    }
    SiteProfile profile = profileFromFields();
    if (!SiteProfileFolder::isValidLabel(profile.siteName)) {
        warn(u"Etiquette de site invalide !"_s);
        return;
    }
    const std::optional<PasswordPlace> passwordPlace = placePassword(profile);
    if (!passwordPlace)
        return;
    switch (profiles_.save(profile, *passwordPlace == PasswordPlace::File)) {
    case SiteProfileFolder::SaveResult::InvalidLabel: // refused above, before the keyring
    case SiteProfileFolder::SaveResult::WriteFailed:
        warn(u"Impossible d'enregistrer le profil : "_s + profiles_.filePathForLabel(ui_.txtSiteName->text()));
        return;
    case SiteProfileFolder::SaveResult::Saved: break;
    }
    LoadProfileTree();
    ui_.Command5->setEnabled(false);
    updateConnectEnabled();
    dialogs_.message(u"Profil enregistré avec succès!"_s, MessageButtons::Ok, MessageIcon::Information);
    if (*passwordPlace == PasswordPlace::File && !std::exchange(passwords_.toldNoKeyring, true))
        dialogs_.message(u"Aucun trousseau de clés n'est disponible : le mot de passe est enregistré dans le "
                         u"fichier du profil, lisible par vous seul."_s,
                         MessageButtons::Ok, MessageIcon::Information);
}

void FrmConnect::Command2_Click()
{
    ui_.txtSiteName->clear();
    ui_.txtServer->clear();
    ui_.txtUser->setText(ui_.Check1->isChecked() ? anonymousUser : QString());
    ui_.txtPass->clear();
    ui_.txtPort->setText(checkedMode(ui_).defaultPort);
    ui_.Command5->setEnabled(false);
    ui_.Command3->setEnabled(false);
}

void FrmConnect::Command3_Click()
{
    const ConnectParameters parameters{
        .siteName = ui_.txtSiteName->text(),
        .server = ui_.txtServer->text(),
        .user = ui_.txtUser->text(),
        .password = ui_.txtPass->text(),
        .port = ui_.txtPort->text(),
        .initialLocalFolder = ui_.TextDosInit->text(),
        .binary = ui_.Option1->isChecked(),
        .passive = ui_.Option3->isChecked(),
        .anonymous = isAnonymous(),
        .security = checkedMode(ui_).security,
    };
    switch (connect_(parameters, [this] { hide(); })) {
    case ConnectOutcome::Unload: accept(); break;
    case ConnectOutcome::Hidden: done(KeptHidden); break;
    case ConnectOutcome::StayOpen: break;
    }
}

void FrmConnect::Command5_Click()
{
    const QList<QTreeWidgetItem *> selected = ui_.TView1->selectedItems();
    if (selected.isEmpty() || nodeKey(selected.first()) == rootKey)
        return;
    const QString fileName = selected.first()->text(0);
    const MessageAnswer answer = dialogs_.message(u"Etes vous sur de supprimer ce profil : "_s + fileName + u'?',
                                                  MessageButtons::YesNo, MessageIcon::Question);
    if (answer == MessageAnswer::Yes) {
        const bool passwordInKeyring = profiles_.load(fileName).passwordInKeyring();
        if (!profiles_.remove(fileName))
            warn(u"Impossible de supprimer le profil : "_s + profiles_.filePath(fileName));
        else if (passwordInKeyring)
            erasePassword(fileName);
        LoadProfileTree();
    }
    ui_.Command3->setEnabled(false);
    ui_.Command5->setEnabled(false);
}

void FrmConnect::Command6_Click()
{
    ui_.TextDosInit->setText(dialogs_.pickFolder(u"Choix du dossier"_s).value_or(QString()));
}

void FrmConnect::Check1_Click(bool checked)
{
    ui_.txtUser->setText(checked ? anonymousUser : QString());
    ui_.txtPass->clear();
    disableDelete();
}

void FrmConnect::TransferMode_Click(const QString &defaultPort)
{
    const QString shown = ui_.txtPort->text();
    if (std::any_of(transferModes().begin(), transferModes().end(),
                    [&](const TransferMode &mode) { return mode.defaultPort == shown; }))
        ui_.txtPort->setText(defaultPort);
}

void FrmConnect::disableDelete()
{
    ui_.Command5->setEnabled(false);
}

void FrmConnect::updateConnectEnabled()
{
    ui_.Command3->setEnabled(connectFieldsFilled());
}

bool FrmConnect::isAnonymous() const
{
    return ui_.txtUser->text() == anonymousUser;
}

bool FrmConnect::connectFieldsFilled() const
{
    return profileFieldsFilled() && (isAnonymous() || !ui_.txtPass->text().isEmpty());
}

bool FrmConnect::profileFieldsFilled() const
{
    for (const QLineEdit *edit : {ui_.txtSiteName, ui_.txtServer, ui_.txtUser, ui_.txtPort, ui_.TextDosInit}) {
        if (edit->text().isEmpty())
            return false;
    }
    return true;
}

SiteProfile FrmConnect::profileFromFields() const
{
    return {
        .siteName = ui_.txtSiteName->text(),
        .server = ui_.txtServer->text(),
        .user = ui_.txtUser->text(),
        .initialFolder = ui_.TextDosInit->text(),
        .password = ui_.txtPass->text(),
        .port = ui_.txtPort->text(),
        .mode = checkedMode(ui_).profileKey,
    };
}

std::optional<FrmConnect::PasswordPlace> FrmConnect::placePassword(SiteProfile &profile)
{
    const QString fileName = SiteProfileFolder::fileNameForLabel(profile.siteName);
    if (!ui_.Check2->isChecked() || profile.password.isEmpty()) {
        profile.password.clear();
        if (profiles_.load(fileName).passwordInKeyring())
            erasePassword(fileName);
        return PasswordPlace::Nowhere;
    }
    const VaultAnswer answer = passwords_.vault.store(fileName, profile.password);
    switch (answer.status) {
    case VaultAnswer::Status::Done:
        profile.password.clear();
        profile.keyring = SiteProfile::inKeyring;
        return PasswordPlace::Keyring;
    case VaultAnswer::Status::NoKeyring: return PasswordPlace::File;
    case VaultAnswer::Status::NotFound:
    case VaultAnswer::Status::Failed: break;
    }
    // Never quietly in clear text instead: the user asked for the keyring's protection.
    warn(u"Impossible d'enregistrer le mot de passe dans le trousseau de clés : "_s + answer.error
         + u"\nLe profil n'a pas été enregistré : déverrouillez le trousseau, ou décochez "
           u"\"Sauver le mot de passe\" pour l'enregistrer sans mot de passe."_s);
    return std::nullopt;
}

QString FrmConnect::keyringReadWarning(const VaultAnswer &answer)
{
    switch (answer.status) {
    case VaultAnswer::Status::Done: return {};
    case VaultAnswer::Status::NotFound:
        return u"Le mot de passe de ce profil n'est plus dans le trousseau de clés : saisissez-le de nouveau."_s;
    case VaultAnswer::Status::NoKeyring:
        return u"Aucun trousseau de clés n'est disponible : le mot de passe de ce profil, qui y est rangé, "
               u"ne peut pas être lu."_s;
    case VaultAnswer::Status::Failed: break;
    }
    return u"Impossible de lire le mot de passe dans le trousseau de clés : "_s + answer.error;
}

void FrmConnect::erasePassword(const QString &fileName)
{
    const VaultAnswer answer = passwords_.vault.erase(fileName);
    if (answer.is(VaultAnswer::Status::Failed))
        warn(u"Impossible de supprimer le mot de passe du trousseau de clés : "_s + answer.error);
}

void FrmConnect::showProfile(const SiteProfile &profile)
{
    ui_.txtSiteName->setText(profile.siteName);
    ui_.txtServer->setText(profile.server);
    ui_.txtUser->setText(profile.user);
    ui_.TextDosInit->setText(profile.initialFolder);
    ui_.txtPass->setText(profile.password);
    ui_.txtPort->setText(profile.port);
}

void FrmConnect::warn(const QString &text, const QString &title)
{
    dialogs_.message(text, MessageButtons::Ok, MessageIcon::Exclamation, title);
}

} // namespace vendrel
