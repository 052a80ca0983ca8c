#include "app/connect/FrmConnect.h"

#include "support/FakeDialogs.h"
#include "support/TempFolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The "Mode de transfert " frame: its choice travels to the connection and
// to the profile file, and brings its usual port.
struct TransferModeTest : ::testing::Test {
    test::TempFolder folder;
    test::FakeDialogs dialogs;
    QList<ConnectParameters> connects;
    FrmConnect dialog{folder.path(),
                      dialogs,
                      QIcon(),
                      QIcon(),
                      QIcon(),
                      [this](const ConnectParameters &parameters, const std::function<void()> &) {
                          connects.append(parameters);
                          return ConnectOutcome::StayOpen;
                      }};

    template <typename Widget = QRadioButton>
    Widget *child(const QString &name)
    {
        return dialog.findChild<Widget *>(name);
    }
    QString port() { return child<QLineEdit>(u"txtPort"_s)->text(); }
    void load(const QString &fileName)
    {
        const QTreeWidgetItem *root = child<QTreeWidget>(u"TView1"_s)->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) {
            if (root->child(i)->text(0) == fileName)
                Q_EMIT child<QTreeWidget>(u"TView1"_s)->itemClicked(root->child(i), 0);
        }
    }
};

TEST_F(TransferModeTest, ImplicitTlsBringsPort990AndATypedPortStays)
{
    child(u"OptionFtpsImplicit"_s)->click();
    EXPECT_EQ(port(), u"990"_s);
    child(u"OptionFtpsExplicit"_s)->click();
    EXPECT_EQ(port(), u"21"_s);
    child<QLineEdit>(u"txtPort"_s)->setText(u"2121"_s);
    child(u"OptionFtpsImplicit"_s)->click();
    EXPECT_EQ(port(), u"2121"_s);
    child<QPushButton>(u"Command2"_s)->click(); // "Nouveau": the usual port of the mode shown
    EXPECT_EQ(port(), u"990"_s);
}

TEST_F(TransferModeTest, TheModeIsStoredInTheProfileAndHandedToTheConnection)
{
    folder.createFile(u"Ancien.ftp"_s, "[PROFIL]\r\nsname=Ancien\r\nadresa=10.0.0.5\r\nID=anonyme\r\n"
                                       "DosInit=/tmp\r\npass=\r\nport=21\r\n");
    child(u"OptionFtpsExplicit"_s)->click();
    const QList<std::pair<QString, QString>> fields = {{u"txtSiteName"_s, u"Sûr"_s},
                                                       {u"txtServer"_s, u"ftp.exemple.fr"_s},
                                                       {u"txtUser"_s, u"rene"_s},
                                                       {u"txtPass"_s, u"secret"_s},
                                                       {u"TextDosInit"_s, folder.path()}};
    for (const auto &[name, text] : fields)
        child<QLineEdit>(name)->setText(text);
    child<QPushButton>(u"Command1"_s)->click();
    EXPECT_TRUE(folder.read(u"Sûr.ftp"_s).contains("\r\nmode=ftps\r\n"));

    load(u"Ancien.ftp"_s); // written before modes were kept: plain FTP
    EXPECT_TRUE(child(u"Option6"_s)->isChecked());
    load(u"Sûr.ftp"_s);
    EXPECT_TRUE(child(u"OptionFtpsExplicit"_s)->isChecked());
    child<QLineEdit>(u"txtPass"_s)->setText(u"secret"_s); // not kept in the file
    child<QPushButton>(u"Command3"_s)->click();
    ASSERT_EQ(connects.size(), 1);
    EXPECT_EQ(connects.first().security, FtpSecurity::ExplicitTls);
}

} // namespace
} // namespace vendrel
