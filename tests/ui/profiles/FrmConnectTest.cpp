#include "app/connect/FrmConnect.h"

#include "support/FakeDialogs.h"
#include "support/FakePasswordVault.h"
#include "support/TempFolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

const QByteArray monSite = "[PROFIL]\r\nsname=Mon site\r\nadresa=ftp.exemple.fr\r\nID=anonyme\r\n"
                           "DosInit=/tmp\r\npass=moi@exemple.fr\r\nport=21\r\n";
const QByteArray travail = "[PROFIL]\r\nsname=Travail\r\nadresa=10.0.0.5\r\nID=ren\xe9\r\n"
                           "DosInit=/home/rene\r\npass=\r\nport=2121\r\n";

// The connection dialog over a folder of profiles, driven with the mouse and
// the keyboard; a connect records what it was handed.
class FrmConnectTest : public ::testing::Test {
protected:
    void open()
    {
        dialog = std::make_unique<FrmConnect>(
            SiteProfileFolder(folder.path()), dialogs, passwords, QIcon(), QIcon(), QIcon(),
            [this](const ConnectParameters &parameters, const std::function<void()> &hideDialog) {
                connects.append(parameters);
                if (outcome != ConnectOutcome::StayOpen)
                    hideDialog();
                return outcome;
            });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    QAbstractButton *button(const QString &name) { return dialog->findChild<QAbstractButton *>(name); }
    QLineEdit *edit(const QString &name) { return dialog->findChild<QLineEdit *>(name); }
    QTreeWidget *tree() { return dialog->findChild<QTreeWidget *>(u"TView1"_s); }
    bool canConnect() { return button(u"Command3"_s)->isEnabled(); }
    bool canDelete() { return button(u"Command5"_s)->isEnabled(); }

    // Near the left edge: a check or option box reacts on its indicator and caption only.
    void click(const QString &name)
    {
        QAbstractButton *target = button(name);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
    }
    // QTest types ASCII only.
    void type(const QString &name, const QString &text)
    {
        edit(name)->clear();
        QTest::keyClicks(edit(name), text);
    }
    // txtSiteName, txtServer, txtUser, txtPass, txtPort, TextDosInit.
    QStringList fields()
    {
        QStringList texts;
        for (const QString &name :
             {u"txtSiteName"_s, u"txtServer"_s, u"txtUser"_s, u"txtPass"_s, u"txtPort"_s, u"TextDosInit"_s})
            texts.append(edit(name)->text());
        return texts;
    }
    void fillAllFields()
    {
        for (const auto &[name, text] : {std::pair{u"txtSiteName"_s, u"Mon site"_s},
                                         {u"txtServer"_s, u"ftp.exemple.fr"_s},
                                         {u"txtPass"_s, u"secret"_s},
                                         {u"TextDosInit"_s, u"/tmp"_s}})
            type(name, text);
    }
    QStringList profilesShown()
    {
        QStringList texts;
        for (int i = 0; i < tree()->topLevelItem(0)->childCount(); ++i)
            texts.append(tree()->topLevelItem(0)->child(i)->text(0));
        return texts;
    }
    void clickNode(const QString &text)
    {
        const QList<QTreeWidgetItem *> found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(found[0]).center());
    }

    test::TempFolder folder;
    test::FakeDialogs dialogs;
    test::FakePasswordVault vault;
    ProfilePasswords passwords{vault};
    QList<ConnectParameters> connects;
    ConnectOutcome outcome = ConnectOutcome::StayOpen;
    std::unique_ptr<FrmConnect> dialog;
};

TEST_F(FrmConnectTest, ConnectIsOfferedOnceEveryFieldIsFilledAndAnonymousNeedsNoPassword)
{
    folder.createFile(u"zeta.FTP"_s);
    folder.createFile(u"Mon site.ftp"_s);
    folder.createFile(u"notes.txt"_s);
    open();
    EXPECT_EQ(profilesShown(), (QStringList{u"Mon site.ftp"_s, u"zeta.FTP"_s}));
    EXPECT_EQ(edit(u"txtPass"_s)->echoMode(), QLineEdit::Password);
    fillAllFields();
    edit(u"txtPass"_s)->clear();
    EXPECT_TRUE(canConnect()) << "\"Anonyme\" is checked: no password needed";
    edit(u"TextDosInit"_s)->clear();
    EXPECT_FALSE(canConnect());
    type(u"TextDosInit"_s, u"/tmp"_s);

    click(u"Check1"_s);
    type(u"txtUser"_s, u"rene"_s);
    EXPECT_FALSE(canConnect());
    type(u"txtPass"_s, u"secret"_s);
    EXPECT_TRUE(canConnect());
    edit(u"txtPort"_s)->clear();
    EXPECT_FALSE(canConnect());
    type(u"txtPort"_s, u"21"_s);
    EXPECT_TRUE(canConnect());
    click(u"Check1"_s); // anonymous again: its user and no password
    EXPECT_EQ(edit(u"txtUser"_s)->text(), u"anonyme"_s);
    EXPECT_EQ(edit(u"txtPass"_s)->text(), QString());
}

TEST_F(FrmConnectTest, AProfileNodeLoadsItsFieldsAndChecksAndNewEmptiesThemButTheLocalFolder)
{
    folder.createFile(u"Mon site.ftp"_s, monSite);
    folder.createFile(u"Travail.ftp"_s, travail);
    open();
    clickNode(u"Mon site.ftp"_s);
    EXPECT_EQ(fields(),
              (QStringList{u"Mon site"_s, u"ftp.exemple.fr"_s, u"anonyme"_s, u"moi@exemple.fr"_s, u"21"_s, u"/tmp"_s}));
    EXPECT_TRUE(button(u"Check1"_s)->isChecked());
    EXPECT_TRUE(button(u"Check2"_s)->isChecked());
    EXPECT_TRUE(canDelete());
    clickNode(u"Travail.ftp"_s); // Windows-1252 on disk
    EXPECT_EQ(fields(), (QStringList{u"Travail"_s, u"10.0.0.5"_s, u"rené"_s, {}, u"2121"_s, u"/home/rene"_s}));
    EXPECT_FALSE(button(u"Check1"_s)->isChecked());
    EXPECT_FALSE(canConnect());
    clickNode(u"Profil"_s);
    EXPECT_FALSE(canDelete());

    click(u"Command2"_s);
    EXPECT_EQ(fields(), (QStringList{{}, {}, {}, {}, u"21"_s, u"/home/rene"_s}));
    for (const QString &change : {u"Check2"_s, u"Option2"_s}) {
        clickNode(u"Travail.ftp"_s);
        click(change);
        EXPECT_FALSE(canDelete()) << "a changed profile is no longer the file's";
    }
}

TEST_F(FrmConnectTest, WithoutAKeyringSaveKeepsThePasswordInTheFileOnRequestAndSaysSoOncePerRun)
{
    vault.present = false;
    open();
    fillAllFields();
    click(u"Check2"_s);
    click(u"Command1"_s);
    EXPECT_EQ(folder.read(u"Mon site.ftp"_s),
              QByteArray("[PROFIL]\r\nsname=Mon site\r\nadresa=ftp.exemple.fr\r\nID=anonyme\r\nDosInit=/tmp\r\n"
                         "pass=secret\r\nport=21\r\nmode=ftp\r\n"));
    EXPECT_EQ(profilesShown(), QStringList{u"Mon site.ftp"_s});

    type(u"txtSiteName"_s, u"Autre"_s);
    click(u"Check2"_s);
    click(u"Check1"_s);
    type(u"txtUser"_s, u"rene"_s);
    type(u"txtPass"_s, u"secret"_s);
    click(u"Command1"_s);
    EXPECT_TRUE(folder.read(u"Autre.ftp"_s).contains("\r\nID=rene\r\nDosInit=/tmp\r\npass=\r\n"));

    open(); // the next showing does not repeat where the password went
    clickNode(u"Mon site.ftp"_s);
    click(u"Command1"_s);
    EXPECT_TRUE(folder.read(u"Mon site.ftp"_s).contains("\r\npass=secret\r\n"));
    const QString saved = u"Profil enregistré avec succès!"_s;
    ASSERT_EQ(dialogs.messages.size(), 4);
    EXPECT_EQ(dialogs.messageTexts().count(saved), 3);
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Information) << "after the first save alone";
}

// A keyring that fails is never replaced by clear text, and a profile whose
// password cannot be had from it loads without it, saying why.
TEST_F(FrmConnectTest, WithAKeyringThePasswordGoesThereComesBackAndLeavesWithItsProfile)
{
    folder.createFile(u"Perdu.ftp"_s, "[PROFIL]\r\nsname=Perdu\r\npass=\r\ntrousseau=oui\r\n");
    open();
    fillAllFields();
    click(u"Check2"_s);
    vault.failure = u"trousseau verrouillé"_s;
    click(u"Command1"_s);
    EXPECT_FALSE(folder.exists(u"Mon site.ftp"_s));
    vault.failure.clear();
    click(u"Command1"_s);
    EXPECT_TRUE(folder.read(u"Mon site.ftp"_s).endsWith("\r\npass=\r\nport=21\r\nmode=ftp\r\ntrousseau=oui\r\n"));
    EXPECT_EQ(vault.passwords, (QMap<QString, QString>{{u"Mon site.ftp"_s, u"secret"_s}}));

    open();
    clickNode(u"Mon site.ftp"_s);
    EXPECT_EQ(edit(u"txtPass"_s)->text(), u"secret"_s);
    EXPECT_TRUE(button(u"Check2"_s)->isChecked());
    click(u"Check2"_s);
    click(u"Command1"_s);
    EXPECT_TRUE(vault.passwords.isEmpty()) << "no longer to be kept";
    EXPECT_TRUE(folder.read(u"Mon site.ftp"_s).endsWith("\r\npass=\r\nport=21\r\nmode=ftp\r\ntrousseau=\r\n"));
    click(u"Check2"_s);
    click(u"Command1"_s);
    clickNode(u"Mon site.ftp"_s);
    dialogs.answerNext(MessageAnswer::Yes);
    click(u"Command5"_s);
    EXPECT_TRUE(vault.passwords.isEmpty()) << "gone with its profile";

    for (const bool keyringPresent : {true, false}) { // the entry is gone, then the whole keyring
        vault.present = keyringPresent;
        clickNode(u"Perdu.ftp"_s);
        EXPECT_TRUE(edit(u"txtPass"_s)->text().isEmpty() && !button(u"Check2"_s)->isChecked());
    }
    ASSERT_EQ(dialogs.messages.size(), 7); // the failure, three saves, the delete question, the two loads
    EXPECT_TRUE(dialogs.messages[0].text.contains(u"trousseau verrouillé"_s));
    for (const int warning : {0, 5, 6})
        EXPECT_EQ(dialogs.messages[warning].icon, MessageIcon::Exclamation);
}

TEST_F(FrmConnectTest, SaveRefusesEmptyFieldsBadLabelsAndWhatItCannotWrite)
{
    folder.createDir(u"Bloqué.ftp"_s);
    open();
    fillAllFields();
    edit(u"TextDosInit"_s)->clear();
    click(u"Command1"_s);
    type(u"TextDosInit"_s, u"/tmp"_s);
    for (const QString &label : {QString(), u"../dehors"_s, u"Bloqué"_s}) {
        edit(u"txtSiteName"_s)->setText(label);
        click(u"Command1"_s);
    }
    EXPECT_EQ(dialogs.messages.size(), 4);
    for (const test::ShownMessage &shown : dialogs.messages)
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(QFile::exists(folder.filePath(u"../dehors.ftp"_s)));
    EXPECT_EQ(folder.read(u"Mon site.ftp"_s), QByteArray());
    EXPECT_TRUE(profilesShown().isEmpty());
}

TEST_F(FrmConnectTest, DeleteAsksRemovesOnlyOnYesAndReportsAFileAlreadyGone)
{
    folder.createFile(u"Mon site.ftp"_s, monSite);
    folder.createFile(u"Travail.ftp"_s, travail);
    open();
    clickNode(u"Mon site.ftp"_s);
    dialogs.answerNext(MessageAnswer::No);
    click(u"Command5"_s);
    EXPECT_TRUE(folder.exists(u"Mon site.ftp"_s));
    dialogs.answerNext(MessageAnswer::Yes);
    QTest::keyClick(tree(), Qt::Key_Delete); // the selected node, loaded or not
    EXPECT_FALSE(folder.exists(u"Mon site.ftp"_s));
    EXPECT_EQ(profilesShown(), QStringList{u"Travail.ftp"_s});
    EXPECT_EQ(dialogs.messageTexts(), QStringList(2, u"Etes vous sur de supprimer ce profil : Mon site.ftp?"_s));

    clickNode(u"Travail.ftp"_s);
    QFile::remove(folder.filePath(u"Travail.ftp"_s));
    dialogs.answerNext(MessageAnswer::Yes);
    click(u"Command5"_s);
    EXPECT_EQ(dialogs.messages.size(), 4);
    EXPECT_TRUE(profilesShown().isEmpty());
}

// The transfer mode brings its usual port, goes to the profile file and, with
// the fields and options, to the connection.
TEST_F(FrmConnectTest, TheTransferModeBringsItsPortAndIsSavedLoadedAndHandedOver)
{
    folder.createFile(u"Ancien.ftp"_s, monSite); // written before modes were kept: plain FTP
    open();
    click(u"OptionFtpsImplicit"_s);
    EXPECT_EQ(edit(u"txtPort"_s)->text(), u"990"_s);
    click(u"OptionFtpsExplicit"_s);
    EXPECT_EQ(edit(u"txtPort"_s)->text(), u"21"_s);
    type(u"txtPort"_s, u"2121"_s);
    click(u"OptionFtpsImplicit"_s);
    EXPECT_EQ(edit(u"txtPort"_s)->text(), u"2121"_s);

    click(u"OptionFtpsExplicit"_s);
    fillAllFields();
    click(u"Command1"_s);
    EXPECT_TRUE(folder.read(u"Mon site.ftp"_s).contains("\r\nmode=ftps\r\n"));
    clickNode(u"Ancien.ftp"_s);
    EXPECT_TRUE(button(u"Option6"_s)->isChecked());
    clickNode(u"Mon site.ftp"_s);
    EXPECT_TRUE(button(u"OptionFtpsExplicit"_s)->isChecked());
    type(u"txtPort"_s, u"2121"_s);
    type(u"txtPass"_s, u"secret"_s);
    click(u"Option2"_s);
    click(u"Option4"_s);
    click(u"Command3"_s);
    ASSERT_EQ(connects.size(), 1);
    const ConnectParameters &sent = connects[0];
    EXPECT_EQ((QStringList{sent.siteName, sent.server, sent.user, sent.password, sent.port, sent.initialLocalFolder}),
              (QStringList{u"Mon site"_s, u"ftp.exemple.fr"_s, u"anonyme"_s, u"secret"_s, u"2121"_s, u"/tmp"_s}));
    EXPECT_EQ(sent.security, FtpSecurity::ExplicitTls);
    EXPECT_FALSE(sent.binary || sent.passive);
    EXPECT_TRUE(sent.anonymous);
    click(u"OptionFtpsImplicit"_s);
    click(u"Command2"_s); // "Nouveau": the usual port of the mode shown
    EXPECT_EQ(edit(u"txtPort"_s)->text(), u"990"_s);
}

} // namespace
} // namespace vendrel
