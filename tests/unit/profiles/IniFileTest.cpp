#include "platform/IniFile.h"

#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;

fs::perms modeOf(const QString &path)
{
    return fs::status(path.toStdString()).permissions();
}

class IniFileTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    const QString path = folder.filePath(u"site.ftp"_s);

    bool write(const QString &section, const QString &key, const QString &value)
    {
        return IniFile::writeStrings(path, section, {{key, value}});
    }
    QString read(const QString &section, const QString &key, const QString &defaultValue = u"?"_s)
    {
        return IniFile::readString(path, section, key, defaultValue);
    }
};

TEST_F(IniFileTest, NewFileHoldsWindows1252TextWithCrLfAndReadsBack)
{
    ASSERT_TRUE(write(u"PROFIL"_s, u"sname"_s, u"Café été"_s));
    ASSERT_TRUE(write(u"PROFIL"_s, u"adresa"_s, u"ftp.exemple.fr"_s));

    EXPECT_EQ(folder.read(u"site.ftp"_s), QByteArray("[PROFIL]\r\nsname=Caf\xe9 \xe9t\xe9\r\nadresa=ftp.exemple.fr\r\n"));
    EXPECT_EQ(read(u"PROFIL"_s, u"sname"_s), u"Café été"_s);
}

TEST_F(IniFileTest, ReplacesOneKeyInPlaceAndLeavesEverythingElseAlone)
{
    folder.createFile(u"site.ftp"_s, "; written by hand\n"
                                     "[Autre]\n"
                                     "sname=autre\n"
                                     "\n"
                                     "[PROFIL]\n"
                                     "sname=ancien\n"
                                     "port=21\n"
                                     "\n"
                                     "[Fin]\n"
                                     "x=1\n");

    ASSERT_TRUE(write(u"PROFIL"_s, u"sname"_s, u"nouveau"_s));
    ASSERT_TRUE(write(u"PROFIL"_s, u"pass"_s, u"secret"_s));
    ASSERT_TRUE(write(u"Nouvelle"_s, u"k"_s, u"v"_s));

    EXPECT_EQ(folder.read(u"site.ftp"_s), QByteArray("; written by hand\r\n"
                                                     "[Autre]\r\n"
                                                     "sname=autre\r\n"
                                                     "\r\n"
                                                     "[PROFIL]\r\n"
                                                     "sname=nouveau\r\n"
                                                     "port=21\r\n"
                                                     "pass=secret\r\n"
                                                     "\r\n"
                                                     "[Fin]\r\n"
                                                     "x=1\r\n"
                                                     "[Nouvelle]\r\n"
                                                     "k=v\r\n"));
}

TEST_F(IniFileTest, NamesMatchWhateverTheirCase)
{
    folder.createFile(u"site.ftp"_s, "[profil]\r\nSName = Mon site \r\n");

    EXPECT_EQ(read(u"PROFIL"_s, u"sname"_s), u"Mon site"_s);
    ASSERT_TRUE(write(u"Profil"_s, u"SNAME"_s, u"Autre"_s));
    EXPECT_EQ(folder.read(u"site.ftp"_s), QByteArray("[profil]\r\nSNAME=Autre\r\n"));
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(read(u"PROFIL"_s, u"sname"_s, u"défaut"_s), u"défaut"_s);
    EXPECT_FALSE(folder.exists(u"site.ftp"_s));

    folder.createFile(u"site.ftp"_s, "[PROFIL]\r\n; sname=commentaire\r\nport=21\r\n[Autre]\r\nsname=autre\r\n");
    EXPECT_EQ(read(u"PROFIL"_s, u"sname"_s, {}), QString());
    EXPECT_EQ(read(u"Absente"_s, u"port"_s, u"x"_s), u"x"_s);
    EXPECT_EQ(read(u"PROFIL"_s, u"port"_s), u"21"_s);
}

TEST_F(IniFileTest, LineBreaksInAValueCannotAddLines)
{
    ASSERT_TRUE(write(u"PROFIL"_s, u"pass"_s, u"a\r\n[PROFIL]\nport=1"_s));

    EXPECT_EQ(folder.read(u"site.ftp"_s), QByteArray("[PROFIL]\r\npass=a  [PROFIL] port=1\r\n"));
    EXPECT_EQ(read(u"PROFIL"_s, u"port"_s), u"?"_s);
}

TEST_F(IniFileTest, FileIsReadableByItsOwnerOnly)
{
    ASSERT_TRUE(write(u"PROFIL"_s, u"pass"_s, u"secret"_s));
    EXPECT_EQ(modeOf(path), ownerOnly);

    const QString shared = folder.createFile(u"shared.ftp"_s, "[PROFIL]\r\n");
    fs::permissions(shared.toStdString(), ownerOnly | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(IniFile::writeStrings(shared, u"PROFIL"_s, {{u"pass"_s, u"secret"_s}}));
    EXPECT_EQ(modeOf(shared), ownerOnly);
}

TEST_F(IniFileTest, WriteFailureIsReportedAndChangesNothing)
{
    EXPECT_FALSE(IniFile::writeStrings(folder.filePath(u"absent/site.ftp"_s), u"PROFIL"_s, {{u"k"_s, u"v"_s}}));

    const QString aFolder = folder.createDir(u"dossier.ftp"_s);
    EXPECT_FALSE(IniFile::writeStrings(aFolder, u"PROFIL"_s, {{u"k"_s, u"v"_s}}));
    EXPECT_EQ(IniFile::readString(aFolder, u"PROFIL"_s, u"k"_s, u"défaut"_s), u"défaut"_s);
}

} // namespace
} // namespace vendrel
