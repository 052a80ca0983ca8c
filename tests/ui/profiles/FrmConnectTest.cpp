#include "app/connect/FrmConnect.h"

#include "support/FakeDialogs.h"
#include "support/TempFolder.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

using test::ShownMessage;

const QByteArray monSite = "[PROFIL]\r\nsname=Mon site\r\nadresa=ftp.exemple.fr\r\nID=anonyme\r\n"
                           "DosInit=/tmp\r\npass=moi@exemple.fr\r\nport=21\r\n";
const QByteArray travail = "[PROFIL]\r\nsname=Travail\r\nadresa=10.0.0.5\r\nID=ren\xe9\r\n"
                           "DosInit=/home/rene\r\npass=\r\nport=2121\r\n";

class FrmConnectTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    test::FakeDialogs dialogs;
    QList<ConnectParameters> connects;
    ConnectOutcome outcome = ConnectOutcome::StayOpen;
    std::unique_ptr<FrmConnect> dialog;

    void open()
    {
        dialog = std::make_unique<FrmConnect>(
            folder.path(), dialogs, QIcon(), QIcon(), QIcon(),
            [this](const ConnectParameters &parameters, const std::function<void()> &hideDialog) {
                connects.append(parameters);
                if (outcome != ConnectOutcome::StayOpen)
                    hideDialog();
                return outcome;
            });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    template <typename Widget = QAbstractButton>
    Widget *find(const QString &name)
    {
        auto *widget = dialog->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QLineEdit *edit(const QString &name) { return find<QLineEdit>(name); }
    QTreeWidget *tree() { return find<QTreeWidget>(u"TView1"_s); }
    bool enabled(const QString &name) { return find(name)->isEnabled(); }
    bool checked(const QString &name) { return find(name)->isChecked(); }

    // Near the left edge: a check or option box stretched by its layout
    // reacts on its indicator and caption only.
    void click(const QString &name)
    {
        QAbstractButton *target = find(name);
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
        for (const QString &name : {u"txtSiteName"_s, u"txtServer"_s, u"txtUser"_s, u"txtPass"_s, u"txtPort"_s,
                                    u"TextDosInit"_s})
            texts.append(edit(name)->text());
        return texts;
    }
    void fillAllFields()
    {
        type(u"txtSiteName"_s, u"Mon site"_s);
        type(u"txtServer"_s, u"ftp.exemple.fr"_s);
        type(u"txtPass"_s, u"secret"_s);
        type(u"TextDosInit"_s, u"/tmp"_s);
    }

    QStringList nodeTexts()
    {
        QStringList texts;
        const QTreeWidgetItem *root = tree()->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            texts.append(root->child(i)->text(0));
        return texts;
    }
    void clickNode(const QString &text)
    {
        const QList<QTreeWidgetItem *> found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualItemRect(found[0]).center());
    }
};

QString accessibleName(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

TEST_F(FrmConnectTest, OpensWithItsDesignValuesAndTheProfilesOfTheFolder)
{
    folder.createFile(u"zeta.ftp"_s);
    folder.createFile(u"Mon site.ftp"_s);
    folder.createFile(u"notes.txt"_s);
    open();

    EXPECT_EQ(fields(), (QStringList{{}, {}, u"anonyme"_s, {}, u"21"_s, {}}));
    EXPECT_EQ(edit(u"txtPass"_s)->echoMode(), QLineEdit::Password);
    for (const QString &on : {u"Check1"_s, u"Option1"_s, u"Option3"_s, u"Option6"_s})
        EXPECT_TRUE(checked(on)) << on.toStdString();
    EXPECT_FALSE(checked(u"Check2"_s));
    EXPECT_FALSE(enabled(u"Command3"_s));
    EXPECT_FALSE(enabled(u"Command5"_s));

    ASSERT_EQ(tree()->topLevelItemCount(), 1);
    EXPECT_EQ(tree()->topLevelItem(0)->text(0), u"Profil"_s);
    EXPECT_TRUE(tree()->topLevelItem(0)->isExpanded());
    EXPECT_EQ(nodeTexts(), (QStringList{u"Mon site.ftp"_s, u"zeta.ftp"_s}));

    EXPECT_EQ(accessibleName(edit(u"txtServer"_s)), u"Adresse d'Hôte :"_s);
    EXPECT_EQ(accessibleName(edit(u"txtPort"_s)), u"Port :"_s);
    EXPECT_EQ(accessibleName(edit(u"TextDosInit"_s)), u"Répertoire local initial :"_s);
    EXPECT_EQ(accessibleName(find(u"Command6"_s)), u"Parcourir les dossiers..."_s);
}

TEST_F(FrmConnectTest, ConnectIsEnabledWhenTheFieldsAreFilledAndAnonymousNeedsNoPassword)
{
    open();
    type(u"txtSiteName"_s, u"Mon site"_s);
    type(u"txtServer"_s, u"ftp.exemple.fr"_s);
    EXPECT_FALSE(enabled(u"Command3"_s));
    type(u"TextDosInit"_s, u"/tmp"_s);
    EXPECT_TRUE(enabled(u"Command3"_s)); // "Anonyme" is checked: no password needed

    click(u"Check1"_s);
    type(u"txtUser"_s, u"rene"_s);
    EXPECT_FALSE(enabled(u"Command3"_s));
    type(u"txtPass"_s, u"secret"_s);
    EXPECT_TRUE(enabled(u"Command3"_s));
    edit(u"txtUser"_s)->clear();
    EXPECT_FALSE(enabled(u"Command3"_s));
    type(u"txtUser"_s, u"rene"_s);
    EXPECT_TRUE(enabled(u"Command3"_s));

    // The port counts like the other fields, typed first or last.
    edit(u"txtPort"_s)->clear();
    EXPECT_FALSE(enabled(u"Command3"_s));
    type(u"txtPort"_s, u"21"_s);
    EXPECT_TRUE(enabled(u"Command3"_s));
}

TEST_F(FrmConnectTest, ClickingAProfileNodeLoadsItsFieldsWithoutRunningTheCheckActions)
{
    folder.createFile(u"Mon site.ftp"_s, monSite);
    folder.createFile(u"Travail.ftp"_s, travail);
    open();
    find(u"Check1"_s)->setChecked(false);

    clickNode(u"Mon site.ftp"_s);
    EXPECT_EQ(fields(), (QStringList{u"Mon site"_s, u"ftp.exemple.fr"_s, u"anonyme"_s, u"moi@exemple.fr"_s,
                                     u"21"_s, u"/tmp"_s}));
    EXPECT_TRUE(checked(u"Check1"_s));
    EXPECT_TRUE(checked(u"Check2"_s));
    EXPECT_TRUE(enabled(u"Command5"_s));
    EXPECT_TRUE(enabled(u"Command3"_s));

    clickNode(u"Travail.ftp"_s);
    EXPECT_EQ(fields(), (QStringList{u"Travail"_s, u"10.0.0.5"_s, u"rené"_s, {}, u"2121"_s, u"/home/rene"_s}));
    EXPECT_FALSE(checked(u"Check1"_s));
    EXPECT_FALSE(checked(u"Check2"_s));
    EXPECT_TRUE(enabled(u"Command5"_s));
    EXPECT_FALSE(enabled(u"Command3"_s));

    clickNode(u"Profil"_s);
    EXPECT_FALSE(enabled(u"Command5"_s));
    EXPECT_EQ(edit(u"txtServer"_s)->text(), u"10.0.0.5"_s);
}

TEST_F(FrmConnectTest, SaveWritesTheProfileAndWarnsOfEmptyFields)
{
    open();
    fillAllFields();
    click(u"Check2"_s);
    click(u"Command1"_s);

    EXPECT_EQ(dialogs.messageTexts(), QStringList{u"Profil enregistré avec succès!"_s});
    EXPECT_EQ(dialogs.messages.last().icon, MessageIcon::Information);
    EXPECT_EQ(folder.read(u"Mon site.ftp"_s),
              QByteArray("[PROFIL]\r\nsname=Mon site\r\nadresa=ftp.exemple.fr\r\nID=anonyme\r\nDosInit=/tmp\r\n"
                         "pass=secret\r\nport=21\r\nmode=ftp\r\n"));
    EXPECT_EQ(nodeTexts(), QStringList{u"Mon site.ftp"_s});
    EXPECT_TRUE(enabled(u"Command3"_s));
    EXPECT_FALSE(enabled(u"Command5"_s));

    // Anything missing: the refusal alone, and no file.
    dialogs.messages.clear();
    type(u"txtSiteName"_s, u"Autre"_s);
    edit(u"TextDosInit"_s)->clear();
    click(u"Command1"_s);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{u"Vous devez remplir toutes les zones de texte !"_s});
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.messages[0].title, u"Erreur"_s);
    EXPECT_FALSE(folder.exists(u"Autre.ftp"_s));

    // A password is kept only on request, so a profile is whole without one.
    dialogs.messages.clear();
    type(u"TextDosInit"_s, u"/tmp"_s);
    click(u"Check1"_s);
    type(u"txtUser"_s, u"rene"_s);
    click(u"Command1"_s);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{u"Profil enregistré avec succès!"_s});
    EXPECT_TRUE(folder.read(u"Autre.ftp"_s).contains("\r\nID=rene\r\nDosInit=/tmp\r\npass=\r\n"));
    EXPECT_FALSE(enabled(u"Command3"_s));
}

TEST_F(FrmConnectTest, SaveRefusesWhatItCannotWrite)
{
    folder.createDir(u"Bloqué.ftp"_s);
    open();
    type(u"txtServer"_s, u"ftp.exemple.fr"_s);
    type(u"TextDosInit"_s, u"/tmp"_s);

    click(u"Command1"_s); // no label
    type(u"txtSiteName"_s, u"../dehors"_s);
    click(u"Command1"_s);
    edit(u"txtSiteName"_s)->setText(u"Bloqué"_s);
    click(u"Command1"_s);

    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{u"Remplir toutes les zones de texte !"_s, u"Etiquette de site invalide !"_s,
                           u"Impossible d'enregistrer le profil : "_s + folder.filePath(u"Bloqué.ftp"_s)}));
    for (const ShownMessage &shown : dialogs.messages)
        EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(QFile::exists(folder.filePath(u"../dehors.ftp"_s)));
    EXPECT_TRUE(nodeTexts().isEmpty());
}

TEST_F(FrmConnectTest, NewEmptiesTheSiteFieldsAndKeepsTheLocalFolder)
{
    folder.createFile(u"Mon site.ftp"_s, monSite);
    open();
    clickNode(u"Mon site.ftp"_s);

    click(u"Command2"_s);
    EXPECT_EQ(fields(), (QStringList{{}, {}, u"anonyme"_s, {}, u"21"_s, u"/tmp"_s}));
    EXPECT_FALSE(enabled(u"Command5"_s));
    EXPECT_FALSE(enabled(u"Command3"_s));

    find(u"Check1"_s)->setChecked(false);
    type(u"txtUser"_s, u"rene"_s);
    click(u"Command2"_s);
    EXPECT_EQ(edit(u"txtUser"_s)->text(), QString());
}

TEST_F(FrmConnectTest, DeleteAsksAndRemovesOnlyOnYes)
{
    folder.createFile(u"Mon site.ftp"_s, monSite);
    folder.createFile(u"Travail.ftp"_s, travail);
    open();

    clickNode(u"Mon site.ftp"_s);
    dialogs.answerNext(MessageAnswer::No);
    click(u"Command5"_s);
    EXPECT_TRUE(folder.exists(u"Mon site.ftp"_s));
    EXPECT_FALSE(enabled(u"Command5"_s));
    EXPECT_FALSE(enabled(u"Command3"_s));

    // The Delete key in the tree works on the selected node, loaded or not.
    dialogs.answerNext(MessageAnswer::Yes);
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_FALSE(folder.exists(u"Mon site.ftp"_s));
    EXPECT_EQ(nodeTexts(), QStringList{u"Travail.ftp"_s});

    ASSERT_EQ(dialogs.messages.size(), 2);
    for (const ShownMessage &shown : dialogs.messages) {
        EXPECT_EQ(shown.text, u"Etes vous sur de supprimer ce profil : Mon site.ftp?"_s);
        EXPECT_EQ(shown.buttons, MessageButtons::YesNo);
        EXPECT_EQ(shown.icon, MessageIcon::Question);
    }

    clickNode(u"Profil"_s);
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(FrmConnectTest, DeleteReportsAFileAlreadyGone)
{
    folder.createFile(u"Mon site.ftp"_s, monSite);
    open();
    clickNode(u"Mon site.ftp"_s);
    QFile::remove(folder.filePath(u"Mon site.ftp"_s));
    dialogs.answerNext(MessageAnswer::Yes);
    click(u"Command5"_s);

    EXPECT_EQ(dialogs.messageTexts().last(),
              u"Impossible de supprimer le profil : "_s + folder.filePath(u"Mon site.ftp"_s));
    EXPECT_TRUE(nodeTexts().isEmpty());
}

TEST_F(FrmConnectTest, BrowseSetsTheInitialFolderAndCancelEmptiesIt)
{
    open();
    fillAllFields();
    dialogs.pickNext(u"/home/rene"_s);
    click(u"Command6"_s);
    EXPECT_EQ(edit(u"TextDosInit"_s)->text(), u"/home/rene"_s);
    EXPECT_TRUE(enabled(u"Command3"_s));

    dialogs.pickNext(std::nullopt);
    click(u"Command6"_s);
    EXPECT_EQ(edit(u"TextDosInit"_s)->text(), QString());
    EXPECT_FALSE(enabled(u"Command3"_s));
    EXPECT_EQ(dialogs.folderPickerTitles, (QStringList{u"Choix du dossier"_s, u"Choix du dossier"_s}));
}

TEST_F(FrmConnectTest, AnonymousAndOptionClicks)
{
    folder.createFile(u"Travail.ftp"_s, travail);
    open();
    clickNode(u"Travail.ftp"_s);
    type(u"txtPass"_s, u"secret"_s);

    click(u"Check1"_s);
    EXPECT_EQ(edit(u"txtUser"_s)->text(), u"anonyme"_s);
    EXPECT_EQ(edit(u"txtPass"_s)->text(), QString());
    EXPECT_FALSE(enabled(u"Command5"_s));
    click(u"Check1"_s);
    EXPECT_EQ(edit(u"txtUser"_s)->text(), QString());

    for (const QString &name : {u"Check2"_s, u"Option2"_s, u"Option1"_s}) {
        clickNode(u"Travail.ftp"_s);
        click(name);
        EXPECT_FALSE(enabled(u"Command5"_s)) << name.toStdString();
    }
}

TEST_F(FrmConnectTest, ConnectHandsOverTheFieldsAndOptions)
{
    open();
    fillAllFields();
    type(u"txtPort"_s, u"2121"_s);
    click(u"Option2"_s);
    click(u"Option4"_s);
    click(u"Command3"_s);

    ASSERT_EQ(connects.size(), 1);
    const ConnectParameters &sent = connects[0];
    EXPECT_EQ((QStringList{sent.siteName, sent.server, sent.user, sent.password, sent.port, sent.initialLocalFolder}),
              (QStringList{u"Mon site"_s, u"ftp.exemple.fr"_s, u"anonyme"_s, u"secret"_s, u"2121"_s, u"/tmp"_s}));
    EXPECT_FALSE(sent.binary);
    EXPECT_FALSE(sent.passive);
    EXPECT_TRUE(sent.anonymous);
    EXPECT_TRUE(dialog->isVisible()); // StayOpen

    click(u"Option1"_s);
    click(u"Option3"_s);
    click(u"Check1"_s);
    type(u"txtUser"_s, u"rene"_s);
    type(u"txtPass"_s, u"secret"_s);
    click(u"Command3"_s);
    EXPECT_TRUE(connects[1].binary);
    EXPECT_TRUE(connects[1].passive);
    EXPECT_FALSE(connects[1].anonymous);
}

TEST_F(FrmConnectTest, AProfileOfTheAnonymousUserConnectsWithoutAPassword)
{
    folder.createFile(u"Public.ftp"_s, "[PROFIL]\r\nsname=Public\r\nadresa=nas\r\nID=anonyme\r\n"
                                       "DosInit=/tmp\r\npass=\r\nport=21\r\n");
    open();
    find(u"Check1"_s)->setChecked(false);
    clickNode(u"Public.ftp"_s);
    EXPECT_TRUE(checked(u"Check1"_s));
    click(u"Command3"_s);
    ASSERT_EQ(connects.size(), 1);
    EXPECT_EQ(connects[0].user, u"anonyme"_s);
    EXPECT_TRUE(connects[0].anonymous);
}

// As the owner runs it: modally, then keeps or destroys it by the result.
TEST_F(FrmConnectTest, EachOutcomeEndsTheModalRunAsTheOwnerExpects)
{
    const std::pair<ConnectOutcome, int> cases[] = {{ConnectOutcome::Hidden, FrmConnect::KeptHidden},
                                                    {ConnectOutcome::Unload, QDialog::Accepted}};
    for (const auto &[connectOutcome, result] : cases) {
        outcome = connectOutcome;
        open();
        fillAllFields();
        QTimer::singleShot(0, dialog.get(), [this] { click(u"Command3"_s); });
        EXPECT_EQ(dialog->exec(), result);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(edit(u"txtServer"_s)->text(), u"ftp.exemple.fr"_s);
    }

    open();
    QTimer::singleShot(0, dialog.get(), [this] { click(u"Command4"_s); });
    EXPECT_EQ(dialog->exec(), QDialog::Rejected);
}

} // namespace
} // namespace vendrel
