#include "app/DemoServer.h"
#include "session/profiles/SiteProfile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

const QString demoProfileFile = u"Démo locale.ftp"_s;

// The demo serves a copy of the shipped folder in the data folder, and its
// profile lives exactly as long as the demo.
TEST(DemoServer, ItsProfileEndsWithItAndAUsersProfileOfThatNameIsLeftAlone)
{
    test::TempFolder data;
    const ProgramFolders folders{u"/usr/bin"_s, QStringLiteral(VENDREL_PROGRAM_DIR), data.path(), {}};
    const SiteProfileFolder profiles(data.path());
    {
        DemoServer demo;
        ASSERT_EQ(demo.start(folders), QString());
        const SiteProfile profile = profiles.load(demoProfileFile);
        EXPECT_EQ(profile.server, u"127.0.0.1"_s);
        EXPECT_GT(profile.port.toUInt(), 0u);
        EXPECT_TRUE(data.exists(u"demo-server/documents/2026/décembre/compte-rendu.txt"_s));
    }
    EXPECT_FALSE(data.exists(demoProfileFile));

    SiteProfile own;
    own.siteName = u"Démo locale"_s;
    own.server = u"ftp.exemple.fr"_s;
    ASSERT_EQ(profiles.save(own, false), SiteProfileFolder::SaveResult::Saved);
    {
        DemoServer demo;
        EXPECT_FALSE(demo.start(folders).isEmpty());
    }
    EXPECT_EQ(profiles.load(demoProfileFile).server, u"ftp.exemple.fr"_s);
}

} // namespace
} // namespace vendrel
