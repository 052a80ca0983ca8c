#include "session/profiles/SiteProfile.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolders.h"
#include "support/TempFolder.h"

#include <QDir>
#include <filesystem>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {

void PrintTo(const SiteProfile &profile, std::ostream *out)
{
    for (const QString &value :
         {profile.siteName, profile.server, profile.user, profile.initialFolder, profile.password, profile.port})
        *out << '[' << value.toStdString() << ']';
}

namespace {

namespace fs = std::filesystem;

const SiteProfile monSite{.siteName = u"Mon site"_s,
                          .server = u"ftp.exemple.fr"_s,
                          .user = u"rené"_s,
                          .initialFolder = u"/home/rené/Téléchargements"_s,
                          .password = u"sécret"_s,
                          .port = u"2121"_s};

struct SiteProfileTest : ::testing::Test {
    test::TempFolder temp;
    const QString programFolder = temp.createDir(u"programme"_s);
    SiteProfileFolder profiles{programFolder};
};

// Files from the Windows predecessor: Windows-1252, CR LF; written readable by their owner only.
TEST_F(SiteProfileTest, AProfileIsSavedInWindows1252ForItsOwnerAloneAndReadsBack)
{
    ASSERT_EQ(profiles.save(monSite, true), SiteProfileFolder::SaveResult::Saved);
    EXPECT_EQ(temp.read(u"programme/Mon site.ftp"_s),
              QByteArray("[PROFIL]\r\nsname=Mon site\r\nadresa=ftp.exemple.fr\r\nID=ren\xe9\r\n"
                         "DosInit=/home/ren\xe9/T\xe9l\xe9"
                         "chargements\r\npass=s\xe9"
                         "cret\r\nport=2121\r\n"));
    EXPECT_EQ(profiles.load(u"Mon site.ftp"_s), monSite);
    EXPECT_EQ(fs::status(temp.filePath(u"programme/Mon site.ftp"_s).toStdString()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_EQ(profiles.save(monSite, false), SiteProfileFolder::SaveResult::Saved);
    EXPECT_EQ(profiles.load(u"Mon site.ftp"_s).password, QString());
    EXPECT_EQ(profiles.load(u"absent.ftp"_s), SiteProfile{});
}

TEST_F(SiteProfileTest, LongValuesAreCutToTheirFieldLengths)
{
    QByteArray content = "[PROFIL]\r\nadresa=" + QByteArray(80, 'a') + "\r\n";
    for (const char *key : {"sname", "ID", "DosInit", "pass", "port"})
        content += key + ('=' + QByteArray(300, 'x')) + "\r\n";
    temp.createFile(u"programme/long.ftp"_s, content);
    const SiteProfile profile = profiles.load(u"long.ftp"_s);
    EXPECT_EQ((QList<qsizetype>{profile.siteName.size(), profile.server.size(), profile.user.size(),
                                profile.initialFolder.size(), profile.password.size(), profile.port.size()}),
              (QList<qsizetype>{49, 74, 49, 249, 49, 49}));
}

TEST_F(SiteProfileTest, LabelsThatLeaveTheFolderAreRefusedAndAFailedWriteIsReported)
{
    for (const QString &label : {u"../x"_s, u"a/b"_s, u".."_s, u"."_s, QString()}) {
        SiteProfile hostile = monSite;
        hostile.siteName = label;
        EXPECT_EQ(profiles.save(hostile, true), SiteProfileFolder::SaveResult::InvalidLabel) << label.toStdString();
    }
    EXPECT_TRUE(QDir(programFolder).isEmpty());
    temp.createFile(u"outside.ftp"_s, "[PROFIL]\r\nsname=dehors\r\n");
    EXPECT_EQ(profiles.load(u"../outside.ftp"_s), SiteProfile{});
    EXPECT_FALSE(profiles.remove(u"../outside.ftp"_s));
    EXPECT_TRUE(temp.exists(u"outside.ftp"_s));

    temp.createDir(u"programme/Mon site.ftp"_s);
    EXPECT_EQ(profiles.save(monSite, true), SiteProfileFolder::SaveResult::WriteFailed);
}

// Installed, the profiles go to the user's folder; those left beside the
// program are still listed and read, and the user's own copy comes first.
TEST_F(SiteProfileTest, ProfilesLeftInAnOlderFolderAreFoundAndSavesGoToTheDataFolder)
{
    const QString dataFolder = temp.createDir(u"donnees"_s);
    SiteProfileFolder both(dataFolder, programFolder);
    SiteProfile ancien = monSite;
    ancien.siteName = u"ancien"_s;
    ASSERT_EQ(profiles.save(ancien, true), SiteProfileFolder::SaveResult::Saved);
    ASSERT_EQ(profiles.save(monSite, true), SiteProfileFolder::SaveResult::Saved);
    SiteProfile mine = monSite;
    mine.server = u"ftp.nouveau.fr"_s;
    ASSERT_EQ(both.save(mine, false), SiteProfileFolder::SaveResult::Saved);

    EXPECT_EQ(both.profileFileNames(), (QStringList{u"ancien.ftp"_s, u"Mon site.ftp"_s}));
    EXPECT_EQ(both.load(u"ancien.ftp"_s), ancien);
    EXPECT_EQ(both.load(u"Mon site.ftp"_s).server, u"ftp.nouveau.fr"_s);
    EXPECT_TRUE(temp.exists(u"donnees/Mon site.ftp"_s));
    EXPECT_TRUE(both.remove(u"ancien.ftp"_s));
    EXPECT_FALSE(temp.exists(u"programme/ancien.ftp"_s));
}

TEST(ProgramFolders, ABuildFolderKeepsItsDataBesideItselfAndAnInstalledOrReadOnlyOneInTheUsersFolder)
{
    test::TempFolder temp;
    const QString build = temp.createDir(u"build"_s);
    temp.createFile(u"build/VENDREL.HLP"_s);
    const QString bin = temp.createDir(u"usr/bin"_s);
    const auto writable = [](const QString &) { return true; };
    const auto readOnly = [](const QString &) { return false; };

    EXPECT_EQ(ProgramFolders::choose(build, u"/home/u/.local/share"_s, writable).data, build);
    const ProgramFolders readOnlyCopy = ProgramFolders::choose(build, u"/home/u/.local/share"_s, readOnly);
    EXPECT_EQ((QStringList{readOnlyCopy.shared, readOnlyCopy.data, readOnlyCopy.olderProfiles}),
              (QStringList{build, u"/home/u/.local/share/vendrel"_s, build}));
    const ProgramFolders installed = ProgramFolders::choose(bin, u"/home/u/.local/share"_s, writable);
    EXPECT_EQ((QStringList{installed.shared, installed.data}),
              (QStringList{temp.filePath(u"usr/share/vendrel"_s), u"/home/u/.local/share/vendrel"_s}));
    EXPECT_EQ(installed.localStartFolder(), QDir::homePath());

    // The data folder is made on first use, for its owner alone.
    qputenv("XDG_DATA_HOME", temp.filePath(u"xdg"_s).toUtf8());
    const ProgramFolders made = programFoldersFor(bin);
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(made.data, temp.filePath(u"xdg/vendrel"_s));
    EXPECT_EQ(fs::status(made.data.toStdString()).permissions(), fs::perms::owner_all);
}

TEST(IniFile, OneKeyChangesInPlaceAndEverythingElseStays)
{
    test::TempFolder folder;
    const QString path = folder.createFile(u"site.ftp"_s, "; written by hand\n[Autre]\nsname=autre\n\n"
                                                          "[profil]\nSName = ancien \nport=21\n");
    EXPECT_EQ(IniFile::readString(path, u"PROFIL"_s, u"sname"_s, u"?"_s), u"ancien"_s) << "names in any case";
    ASSERT_TRUE(IniFile::writeStrings(path, u"PROFIL"_s, {{u"sname"_s, u"nouveau"_s}}));
    ASSERT_TRUE(IniFile::writeStrings(path, u"PROFIL"_s, {{u"pass"_s, u"a\r\n[PROFIL]\nport=1"_s}}));
    ASSERT_TRUE(IniFile::writeStrings(path, u"Nouvelle"_s, {{u"k"_s, u"v"_s}}));
    EXPECT_EQ(folder.read(u"site.ftp"_s), QByteArray("; written by hand\r\n[Autre]\r\nsname=autre\r\n\r\n[profil]\r\n"
                                                     "sname=nouveau\r\nport=21\r\npass=a  [PROFIL] port=1\r\n"
                                                     "[Nouvelle]\r\nk=v\r\n"));
    EXPECT_EQ(IniFile::readString(path, u"PROFIL"_s, u"port"_s, u"?"_s), u"21"_s) << "a value cannot add lines";
    EXPECT_EQ(IniFile::readString(path, u"Absente"_s, u"port"_s, u"x"_s), u"x"_s);

    EXPECT_FALSE(IniFile::writeStrings(folder.filePath(u"absent/site.ftp"_s), u"PROFIL"_s, {{u"k"_s, u"v"_s}}));
    const QString aFolder = folder.createDir(u"dossier.ftp"_s);
    EXPECT_FALSE(IniFile::writeStrings(aFolder, u"PROFIL"_s, {{u"k"_s, u"v"_s}}));
}

} // namespace
} // namespace vendrel
