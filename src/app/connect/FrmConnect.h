#pragma once

#include "app/connect/FrmConnectForm.h"
#include "app/connect/ProfilePasswords.h"
#include "platform/Dialogs.h"
#include "session/ConnectParameters.h"
#include "session/profiles/SiteProfile.h"

#include <QDialog>
#include <QIcon>
#include <functional>
#include <optional>

class QTreeWidgetItem;

namespace vendrel {

// The connection dialog: edits one site's parameters, keeps the site profiles
// of the program folder, and hands the parameters to the connect procedure.
class FrmConnect : public QDialog {
    Q_OBJECT

public:
    // Runs the connection; may hide the dialog while it works.
    using ConnectCallback =
        std::function<ConnectOutcome(const ConnectParameters &parameters, const std::function<void()> &hideDialog)>;

    // exec() result after a failed connect: the dialog is only hidden, and the
    // owner keeps it so the next showing has the same fields. Accepted (after a
    // connect) and Rejected (Annuler, close box) both mean it is done with.
    static constexpr int KeptHidden = 2;

    FrmConnect(SiteProfileFolder profiles, Dialogs &dialogs, ProfilePasswords &passwords, const QIcon &rootIcon,
               const QIcon &profileIcon, const QIcon &browseIcon, ConnectCallback connect);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void LoadProfileTree();
    void TView1_NodeClick(QTreeWidgetItem *node);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command5_Click();
    void Command6_Click();
    void Check1_Click(bool checked);
    // A mode's usual port replaces the other modes' usual ports, never one the user typed.
    void TransferMode_Click(const QString &defaultPort);

    void disableDelete();
    void updateConnectEnabled();
    // "anonyme" in txtUser, as "Anonyme" and the profile files put it.
    bool isAnonymous() const;
    // An anonymous login needs no password.
    bool connectFieldsFilled() const;
    // A profile is written only whole; its password is optional, as it is kept only on request.
    bool profileFieldsFilled() const;
    SiteProfile profileFromFields() const;
    enum class PasswordPlace { Keyring, File, Nowhere };
    // Stores the password to keep in the keyring when there is one, and
    // leaves in the profile what its file gets. Nullopt when the keyring
    // failed: the user has been told, and nothing is to be saved.
    std::optional<PasswordPlace> placePassword(SiteProfile &profile);
    // The message to show for a password the keyring did not give; empty when it did.
    static QString keyringReadWarning(const VaultAnswer &answer);
    void erasePassword(const QString &fileName);
    void showProfile(const SiteProfile &profile);
    void warn(const QString &text, const QString &title = {});

    FrmConnectForm ui_;
    SiteProfileFolder profiles_;
    Dialogs &dialogs_;
    ProfilePasswords &passwords_;
    QIcon rootIcon_;
    QIcon profileIcon_;
    ConnectCallback connect_;
};

} // namespace vendrel
