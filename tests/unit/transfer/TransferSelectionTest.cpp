#include "transfer/TransferSelection.h"
#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "support/SessionHarness.h"
#include "transfer/FrmProg.h"

#include <QItemSelectionModel>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// The selection handlers over two real file lists; the window they would
// run is looked at instead.
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
            shown.push_back(window.batch());
            totalsShown.append(window.findChild<QWidget *>(u"lbCelkem"_s)->property("text").toString());
        });
    }

    // The log without its first, timed line.
    QStringList listedLines() const { return harness.log.text().split(u"\r\n"_s, Qt::SkipEmptyParts).mid(1); }

    test::SessionHarness harness;
    FileListModel localFiles{FileListKind::Local};
    FileListModel remoteFiles{FileListKind::Remote};
    FileListView ListView1{localFiles, u"Fichiers locaux"_s};
    FileListView ListView2{remoteFiles, u"Fichiers du serveur"_s};
    int localRefreshes = 0;
    int remoteRefreshes = 0;
    QString chosenRemoteFolder;
    TransferSelection selection{harness.context(),
                                {ListView1, localFiles, ListView2, remoteFiles, [] { return QString(); },
                                 [this] { return chosenRemoteFolder; }},
                                [this] { ++localRefreshes; },
                                [this] { ++remoteRefreshes; },
                                nullptr};
    std::vector<TransferBatch> shown;
    QStringList totalsShown;
};

TEST_F(TransferSelectionTest, EachDirectionTakesTheSelectedRowsInOrderAndRefreshesTheOtherSide)
{
    ListView1.selectRow(4);
    ListView1.selectRow(0, true);
    ListView1.selectRow(2, true);
    selection.zLokUp_Click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].direction, TransferDirection::Upload);
    QStringList names;
    QList<qint64> sizes;
    for (const TransferFile &file : shown[0].files) {
        names.append(file.name);
        sizes.append(file.size);
    }
    EXPECT_EQ(names, (QStringList{u"f1.txt"_s, u"f3.txt"_s, u"f5.txt"_s}));
    EXPECT_EQ(sizes, (QList<qint64>{1000, 3000, 5000}));
    EXPECT_EQ(totalsShown, QStringList{u"9000"_s});
    EXPECT_EQ(listedLines(), (QStringList{u"1.) f1.txt"_s, u"2.) f3.txt"_s, u"3.) f5.txt"_s}));
    EXPECT_EQ(remoteRefreshes, 1);

    harness.log.clear();
    remoteFiles.appendRows({{u"image.iso"_s, 5LL * 1024 * 1024 * 1024, {}, 10}});
    ListView2.selectRow(5);
    ListView2.selectRow(1, true);
    selection.zRemDown_Click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].direction, TransferDirection::Download);
    EXPECT_EQ(totalsShown.last(), u"5368711120"_s) << "totals past 4 GiB";
    EXPECT_EQ(listedLines(), (QStringList{u"1.) /pub/f2.txt"_s, u"2.) /pub/image.iso"_s}));
    EXPECT_EQ(localRefreshes, 1);
}

TEST_F(TransferSelectionTest, NoConnectionOrNoSelectedRowOpensNothing)
{
    ListView2.selectRow(1);
    ListView2.selectionModel()->clearSelection(); // a current row, none selected
    selection.zRemDown_Click();
    EXPECT_EQ(harness.dialogs.messageTexts(), QStringList{u"Pas de fichier sélectionné !"_s});

    harness.session.ConnectionHandle = 0;
    selection.zRemDown_Click();
    selection.zLokUp_Click();
    EXPECT_EQ(harness.dialogs.messages.size(), 3);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(harness.log.isEmpty());
    EXPECT_EQ(localRefreshes + remoteRefreshes, 0);
}

// The root has no name to make on the other side; a tree that cannot be
// listed whole is not transferred at all.
TEST_F(TransferSelectionTest, AFolderThatCannotBeCollectedWholeOpensNothing)
{
    harness.ftp.addFile(u"/pub/arbre/a.txt"_s, "a");
    harness.ftp.addFolder(u"/pub/arbre/sous"_s);
    for (const QString &folder : {QString(), u"/"_s, u"/pub/arbre/"_s}) {
        chosenRemoteFolder = folder;
        harness.ftp.failCall(u"FtpFindFirstFile"_s, 1, 1);
        selection.zRemRD_Click();
    }
    EXPECT_EQ(harness.dialogs.messageTexts(),
              (QStringList{u"Pas de dossier sélectionné !"_s, u"Ce dossier ne peut être reçu (Racine)!"_s,
                           u"Erreur rencontrée lors de la lecture du dossier \"/pub/arbre/sous/\" !\r\n"
                           "Aucun fichier n'a été transféré."_s}));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(localRefreshes, 0);
}

} // namespace
} // namespace vendrel
