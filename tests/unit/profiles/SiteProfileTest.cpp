#include "session/profiles/SiteProfile.h"

#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {

void PrintTo(const SiteProfile &profile, std::ostream *out)
{
    for (const QString &value : {profile.siteName, profile.server, profile.user, profile.initialFolder,
                                 profile.password, profile.port})
        *out << '[' << value.toStdString() << ']';
}

namespace {

using SaveResult = SiteProfileFolder::SaveResult;

const SiteProfile monSite{
    .siteName = u"Mon site"_s,
    .server = u"ftp.exemple.fr"_s,
    .user = u"rené"_s,
    .initialFolder = u"/home/rené/Téléchargements"_s,
    .password = u"sécret"_s,
    .port = u"2121"_s,
};

class SiteProfileTest : public ::testing::Test {
protected:
    test::TempFolder temp;
    const QString programFolder = temp.createDir(u"programme"_s);
    SiteProfileFolder profiles{programFolder};
};

TEST_F(SiteProfileTest, SavedProfileReadsBackFromItsLabelFile)
{
    ASSERT_EQ(profiles.save(monSite, true), SaveResult::Saved);

    EXPECT_EQ(temp.read(u"programme/Mon site.ftp"_s),
              QByteArray("[PROFIL]\r\nsname=Mon site\r\nadresa=ftp.exemple.fr\r\nID=ren\xe9\r\n"
                         "DosInit=/home/ren\xe9/T\xe9l\xe9" "chargements\r\npass=s\xe9" "cret\r\nport=2121\r\n"));
    EXPECT_EQ(profiles.load(u"Mon site.ftp"_s), monSite);
}

TEST_F(SiteProfileTest, PasswordIsEmptiedUnlessItIsToBeSaved)
{
    profiles.save(monSite, true);
    ASSERT_EQ(profiles.save(monSite, false), SaveResult::Saved);

    EXPECT_TRUE(temp.read(u"programme/Mon site.ftp"_s).contains("\r\npass=\r\n"));
    EXPECT_EQ(profiles.load(u"Mon site.ftp"_s).password, QString());
}

TEST_F(SiteProfileTest, LongValuesAreCutToTheirFieldLengths)
{
    QByteArray content = "[PROFIL]\r\nadresa=" + QByteArray(80, 'a') + "\r\n";
    for (const char *key : {"sname", "ID", "DosInit", "pass", "port"})
        content += key + ('=' + QByteArray(300, 'x')) + "\r\n";
    temp.createFile(u"programme/long.ftp"_s, content);

    const SiteProfile profile = profiles.load(u"long.ftp"_s);

    EXPECT_EQ(profile.siteName.size(), 49);
    EXPECT_EQ(profile.server, QString(74, u'a'));
    EXPECT_EQ(profile.user.size(), 49);
    EXPECT_EQ(profile.initialFolder.size(), 249);
    EXPECT_EQ(profile.password.size(), 49);
    EXPECT_EQ(profile.port.size(), 49);
}

TEST_F(SiteProfileTest, MissingFileGivesEmptyValues)
{
    EXPECT_EQ(profiles.load(u"absent.ftp"_s), SiteProfile{});
}

TEST_F(SiteProfileTest, LabelsThatLeaveTheFolderAreRefusedAndNothingIsWritten)
{
    for (const QString &label : {u"../x"_s, u"a/b"_s, u".."_s, u"."_s, QString()}) {
        SiteProfile hostile = monSite;
        hostile.siteName = label;
        EXPECT_FALSE(SiteProfileFolder::isValidLabel(label)) << label.toStdString();
        EXPECT_EQ(profiles.save(hostile, true), SaveResult::InvalidLabel) << label.toStdString();
    }
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"programme"_s});
    EXPECT_TRUE(QDir(programFolder).isEmpty());

    temp.createFile(u"outside.ftp"_s, "[PROFIL]\r\nsname=dehors\r\n");
    EXPECT_EQ(profiles.load(u"../outside.ftp"_s), SiteProfile{});
    EXPECT_FALSE(profiles.remove(u"../outside.ftp"_s));
    EXPECT_TRUE(temp.exists(u"outside.ftp"_s));
}

TEST_F(SiteProfileTest, WriteFailureIsReported)
{
    temp.createDir(u"programme/Mon site.ftp"_s);

    EXPECT_EQ(profiles.save(monSite, true), SaveResult::WriteFailed);
}

TEST_F(SiteProfileTest, ListsTheProfileFilesSortedByName)
{
    temp.createFile(u"programme/zeta.ftp"_s);
    temp.createFile(u"programme/Alpha.ftp"_s);
    temp.createFile(u"programme/beta.FTP"_s);
    temp.createFile(u"programme/notes.txt"_s);
    temp.createDir(u"programme/dossier.ftp"_s);

    EXPECT_EQ(profiles.profileFileNames(), (QStringList{u"Alpha.ftp"_s, u"beta.FTP"_s, u"zeta.ftp"_s}));
}

} // namespace
} // namespace vendrel
