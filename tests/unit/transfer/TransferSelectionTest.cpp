#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "support/SessionHarness.h"
#include "transfer/FrmProg.h"
#include "transfer/TransferSelection.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct ShownBatch {
    TransferBatch batch;
    QString label2, label4, command3, lbCelkem;
};

// The selection handlers over two real file lists; the window is looked at
// instead of being run modally.
struct TransferSelectionTest : ::testing::Test {
    void SetUp() override
    {
        harness.connectToFakeServer();
        harness.session.RemoteFolder = u"/pub/"_s;
        std::vector<FileRow> rows;
        for (int i = 1; i <= 5; ++i)
            rows.push_back({u"f%1.txt"_s.arg(i), 1000LL * i, {}, 3});
        localFiles.appendRows(rows);
        remoteFiles.appendRows(rows);
        selection.setShowWindow([this](FrmProg &window) {
            const auto text = [&window](const char *name) {
                return window.findChild<QWidget *>(QString::fromLatin1(name))->property("text").toString();
            };
            shown.push_back({window.batch(), text("Label2"), text("Label4"), text("Command3"), text("lbCelkem")});
        });
    }

    QStringList untimedLines() const { return harness.log.text().split(u"\r\n"_s, Qt::SkipEmptyParts).mid(1); }

    test::SessionHarness harness;
    FileListModel localFiles{FileListKind::Local};
    FileListModel remoteFiles{FileListKind::Remote};
    FileListView ListView1{localFiles, u"Fichiers locaux"_s};
    FileListView ListView2{remoteFiles, u"Fichiers du serveur"_s};
    int localRefreshes = 0;
    int remoteRefreshes = 0;
    TransferSelection selection{harness.context(), {ListView1, localFiles, ListView2, remoteFiles},
                                [this] { ++localRefreshes; }, [this] { ++remoteRefreshes; }, nullptr};
    std::vector<ShownBatch> shown;
};

TEST_F(TransferSelectionTest, AnUploadTakesTheSelectedRowsInTheirOrder)
{
    ListView1.selectRow(4);
    ListView1.selectRow(0, true);
    ListView1.selectRow(2, true);
    selection.zLokUp_Click();

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].batch.direction, TransferDirection::Upload);
    EXPECT_EQ(shown[0].batch.names, (QStringList{u"f1.txt"_s, u"f3.txt"_s, u"f5.txt"_s}));
    EXPECT_EQ(shown[0].batch.sizes, (QList<qint64>{1000, 3000, 5000}));
    EXPECT_EQ(shown[0].label2, u"Fichier:       /3"_s);
    EXPECT_EQ(shown[0].label4, u"Octets envoyés:"_s);
    EXPECT_EQ(shown[0].command3, u"Envoyer"_s);
    EXPECT_EQ(shown[0].lbCelkem, u"9000"_s);
    const QStringList lines = harness.log.text().split(u"\r\n"_s, Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.first().endsWith(u" > Collecte des informations sur les fichiers:"_s));
    EXPECT_NE(lines.first(), u" > Collecte des informations sur les fichiers:"_s) << "the time comes first";
    EXPECT_EQ(untimedLines(), (QStringList{u"1.) f1.txt"_s, u"2.) f3.txt"_s, u"3.) f5.txt"_s}));
    EXPECT_EQ(remoteRefreshes, 1);
    EXPECT_EQ(localRefreshes, 0);
}

TEST_F(TransferSelectionTest, ADownloadNamesTheRemoteFolderAndRefreshesTheLocalList)
{
    ListView2.selectRow(1);
    ListView2.selectRow(3, true);
    selection.zRemDown_Click();

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].batch.direction, TransferDirection::Download);
    EXPECT_EQ(shown[0].label2, u"Fichier:             /2"_s);
    EXPECT_EQ(shown[0].label4, u"Octets reçus:"_s);
    EXPECT_EQ(shown[0].command3, u"Recevoir"_s);
    EXPECT_TRUE(harness.log.text().split(u"\r\n"_s).first().endsWith(u" > Collecte d'informations sur les fichiers :"_s));
    EXPECT_EQ(untimedLines(), (QStringList{u"1.) /pub/f2.txt"_s, u"2.) /pub/f4.txt"_s}));
    EXPECT_EQ(localRefreshes, 1);
    EXPECT_EQ(remoteRefreshes, 0);
}

TEST_F(TransferSelectionTest, BatchesOverFourGibibytesKeepTheirTotal)
{
    remoteFiles.appendRows({{u"image.iso"_s, 5LL * 1024 * 1024 * 1024, {}, 10}});
    ListView2.selectRow(5);
    ListView2.selectRow(0, true);
    selection.zRemDown_Click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].lbCelkem, u"5368710120"_s);
}

TEST_F(TransferSelectionTest, NoConnectionOrNoSelectedRowOpensNothing)
{
    ListView2.selectRow(1);
    ListView2.selectionModel()->clearSelection(); // a current row, none selected
    selection.zRemDown_Click();
    EXPECT_EQ(harness.dialogs.messages.size(), 1);
    EXPECT_EQ(harness.dialogs.messages[0].text, u"Pas de fichier sélectionné !"_s);
    EXPECT_EQ(harness.dialogs.messages[0].icon, MessageIcon::None);

    harness.session.ConnectionHandle = 0;
    selection.zRemDown_Click();
    selection.zLokUp_Click();
    EXPECT_EQ(harness.dialogs.messageTexts().mid(1),
              (QStringList{u"Pas de connexion sur le serveur!"_s, u"Pas de connexion sur le serveur !"_s}));
    EXPECT_EQ(harness.dialogs.messages[1].icon, MessageIcon::Information);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(harness.log.isEmpty());
    EXPECT_EQ(localRefreshes + remoteRefreshes, 0);
}

} // namespace
} // namespace vendrel
