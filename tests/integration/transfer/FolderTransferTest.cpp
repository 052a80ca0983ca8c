#include "listing/FileListModel.h"
#include "listing/FileListView.h"
#include "session/ftp/CurlFtpService.h"
#include "support/LocalServerTest.h"
#include "support/SessionHarness.h"
#include "support/TempFolder.h"
#include "transfer/FrmProg.h"
#include "transfer/TransferSelection.h"

#include <QDirIterator>
#include <QMap>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// Every folder ("name/") and file (its bytes) below root, by relative path.
QMap<QString, QByteArray> treeOf(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator walk(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        const QString path = walk.next();
        const QString relative = path.mid(root.size() + 1);
        if (walk.fileInfo().isDir()) {
            tree.insert(relative + u'/', "<dossier>");
        } else {
            QFile file(path);
            tree.insert(relative, file.open(QIODevice::ReadOnly) ? file.readAll() : "<illisible>");
        }
    }
    return tree;
}

// The folder commands with the real window and engines through libcurl
// against pyftpdlib: a tree of three levels with an empty folder, received
// and then sent back elsewhere, arrives byte for byte.
struct FolderTransferTest : test::LocalServerTest {
    CurlFtpService curl{shortTimeouts()};
    test::SessionHarness harness{&curl};
    test::TempFolder local;
    FileListModel localFiles{FileListKind::Local};
    FileListModel remoteFiles{FileListKind::Remote};
    FileListView ListView1{localFiles, u"Fichiers locaux"_s};
    FileListView ListView2{remoteFiles, u"Fichiers du serveur"_s};
    QString chosenLocal, chosenRemote;
    TransferSelection selection{harness.context(),
                                {ListView1, localFiles, ListView2, remoteFiles, [this] { return chosenLocal; },
                                 [this] { return chosenRemote; }},
                                [] {},
                                [] {},
                                nullptr};
};

TEST_F(FolderTransferTest, AThreeLevelTreeWithAnEmptyFolderGoesBothWaysByteExact)
{
    ASSERT_TRUE(server.start()) << server.failureReason().toStdString();
    test::TempFolder &served = server.files();
    served.createFile(u"pub/arbre/racine é.txt"_s, test::randomBytes(3000));
    served.createFile(u"pub/arbre/niveau1/un.bin"_s, test::randomBytes(1024));
    served.createFile(u"pub/arbre/niveau1/niveau2/vide.bin"_s);
    served.createFile(u"pub/arbre/niveau1/niveau2/deux.bin"_s, test::randomBytes(70'000));
    served.createDir(u"pub/arbre/niveau1/sans fichier"_s);
    served.createDir(u"copie"_s);
    ASSERT_TRUE(harness.connectTo(server.port(), u"vendrel"_s, u"secret"_s));
    harness.session.TransferType = ftp::FTP_TRANSFER_TYPE_BINARY;
    harness.session.LocalFolder = local.folder();
    selection.setShowWindow([](FrmProg &window) { window.Command3_Click(); });
    const QMap<QString, QByteArray> tree = treeOf(served.filePath(u"pub/arbre"_s));
    ASSERT_EQ(tree.size(), 7);

    chosenRemote = u"/pub/arbre/"_s;
    selection.zRemRD_Click();
    EXPECT_EQ(treeOf(local.filePath(u"arbre"_s)), tree);

    chosenLocal = local.filePath(u"arbre"_s);
    harness.session.RemoteFolder = u"/copie/"_s;
    selection.zLokED_Click();
    EXPECT_EQ(treeOf(served.filePath(u"copie/arbre"_s)), tree);
    EXPECT_EQ(harness.dialogs.messageTexts(), (QStringList{u"Transfert des données terminé avec succès."_s,
                                                           u"Transfert des données terminé avec succès !"_s}));
}

} // namespace
} // namespace vendrel
