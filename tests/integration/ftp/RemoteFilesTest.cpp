#include "CurlFtpFixture.h"

#include <QDir>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace vendrel::test {
namespace {

using RemoteFilesTest = CurlFtpFixture;

TEST_F(RemoteFilesTest, FolderAndFileCommandsSucceedOrSayWhyNot)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"full/inside.txt"_s, "x");
    server.files().createFile(u"old.txt"_s, "contenu");

    // What succeeds is in NamesWithAccentsBlanksAndUrlCharactersGoEverywhere.
    EXPECT_FALSE(ftp.FtpCreateDirectory(connection, u"/full"_s));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INTERNET_EXTENDED_ERROR);
    EXPECT_TRUE(ftp.lastError().description.startsWith(u"550"_s)) << ftp.lastError().description.toStdString();
    EXPECT_FALSE(ftp.FtpRemoveDirectory(connection, u"/full"_s));
    EXPECT_FALSE(ftp.FtpDeleteFile(connection, u"/missing.txt"_s));
    EXPECT_FALSE(ftp.FtpRenameFile(connection, u"/missing.txt"_s, u"/other.txt"_s));
    EXPECT_FALSE(server.files().exists(u"other.txt"_s));
    EXPECT_TRUE(ftp.FtpRenameFile(connection, u"/old.txt"_s, u"/full/renamed.txt"_s)); // into another folder
    EXPECT_EQ(server.files().read(u"full/renamed.txt"_s), QByteArray("contenu"));

    // Refusals never cost the control connection.
    EXPECT_EQ(loginCount(), 1);
}

TEST_F(RemoteFilesTest, NamesWithAccentsBlanksAndUrlCharactersGoEverywhere)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u);
    const QString folder = u"/dossier été #1 100%"_s;
    const QString file = folder + u"/sûr? oui & non.txt"_s;

    ASSERT_TRUE(ftp.FtpCreateDirectory(connection, folder)) << ftp.lastError().description.toStdString();
    ASSERT_TRUE(upload(connection, file, "données"));
    EXPECT_EQ(server.files().read(u"dossier été #1 100%/sûr? oui & non.txt"_s), QByteArray("données"));
    EXPECT_EQ(names(connection, folder + u"/*.txt"_s), QStringList{u"sûr? oui & non.txt"_s});
    EXPECT_EQ(names(connection, u"/*.*"_s), QStringList{u"dossier été #1 100%"_s});
    EXPECT_EQ(download(connection, file), QByteArray("données"));
    const QString renamed = folder + u"/#renommé%20.txt"_s;
    ASSERT_TRUE(ftp.FtpRenameFile(connection, file, renamed));
    EXPECT_EQ(download(connection, renamed), QByteArray("données"));
    EXPECT_TRUE(ftp.FtpDeleteFile(connection, renamed));
    EXPECT_TRUE(ftp.FtpRemoveDirectory(connection, folder));
    EXPECT_TRUE(QDir(server.files().path()).isEmpty());
}

// A server whose names are not UTF-8: the name shows through Windows-1252
// and every call made with it reaches the very file.
TEST_F(RemoteFilesTest, NamesThatAreNotUtf8ComeBackAsTheSameBytes)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u);
    const QByteArray folderBytes = QFile::encodeName(server.files().path()) + "/r\xe9sum\xe9";
    ASSERT_EQ(::mkdir(folderBytes.constData(), 0700), 0);
    const int descriptor = ::open(QByteArray(folderBytes + "/caf\xe9.txt").constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::write(descriptor, "cp1252", 6), 6);
    ::close(descriptor);
    EXPECT_EQ(names(connection, u"/*.*"_s), QStringList{u"résumé"_s});
    EXPECT_EQ(names(connection, u"/résumé/*.*"_s), QStringList{u"café.txt"_s});
    EXPECT_EQ(download(connection, u"/résumé/café.txt"_s), QByteArray("cp1252"));
    ASSERT_TRUE(ftp.FtpRenameFile(connection, u"/résumé/café.txt"_s, u"/résumé/thé.txt"_s));
    EXPECT_TRUE(ftp.FtpDeleteFile(connection, u"/résumé/thé.txt"_s));
    EXPECT_TRUE(ftp.FtpRemoveDirectory(connection, u"/résumé"_s));
    EXPECT_TRUE(QDir(server.files().path()).isEmpty());
}

TEST_F(RemoteFilesTest, PathsWithLineBreaksOrNulAreRefusedBeforeTheServerSeesThem)
{
    const FtpHandle connection = startAndConnect();
    ASSERT_NE(connection, 0u);
    server.files().createFile(u"victim.txt"_s, "x");
    const QString injected = u"/a.txt\r\nDELE /victim.txt"_s;
    EXPECT_FALSE(ftp.FtpDeleteFile(connection, injected));
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(ftp.FtpCreateDirectory(connection, u"/a\nb"_s));
    EXPECT_FALSE(ftp.FtpRenameFile(connection, u"/victim.txt"_s, u"/b\rc"_s));
    EXPECT_FALSE(ftp.FtpRemoveDirectory(connection, u"/a"_s + QChar(u'\0') + u"b"_s));
    EXPECT_EQ(ftp.FtpOpenFile(connection, injected, ftp::GENERIC_READ, ftp::FTP_TRANSFER_TYPE_BINARY, 0), 0u);
    FindData record;
    EXPECT_EQ(ftp.FtpFindFirstFile(connection, u"/x\r\n/*.*"_s, record, 0, 0), 0u);
    EXPECT_EQ(ftp.lastError().code, ftp::ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(server.files().exists(u"victim.txt"_s));
    const QByteArray log = server.commandLog();
    EXPECT_FALSE(log.contains("DELE") || log.contains("MKD") || log.contains("RNFR") || log.contains("RMD"));
}

} // namespace
} // namespace vendrel::test
