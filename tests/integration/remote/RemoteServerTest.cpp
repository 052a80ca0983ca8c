#include "session/ftp/CurlFtpService.h"
#include "support/LocalServerTest.h"
#include "support/PaneHarness.h"

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

CurlFtpOptions smallListingLimits()
{
    CurlFtpOptions options = test::LocalServerTest::shortTimeouts();
    options.listingLimits = {20'000, 4 * 1024 * 1024}; // a runaway listing ends in a moment
    return options;
}

// The server pane through libcurl against a hostile pyftpdlib on loopback,
// in MLSD and in LIST.
struct RemoteServerTest : test::LocalServerTest {
    CurlFtpService curl{smallListingLimits()};
};

// libcurl turns a bare CR of a listing it receives in ASCII mode into a line
// end: "a\rb" would come out as a file "a" that the server does not have.
// A listing without end fails past its limit and the session goes on.
TEST_F(RemoteServerTest, NamesHoldingABareCarriageReturnAreLeftOutAndAListingWithoutEndFails)
{
    for (const bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        test::LocalFtpServer hostile;
        ASSERT_TRUE(hostile.start({.mlsd = mlsd, .endlessListing = u"fast"_s}));
        hostile.files().createDir(u"endless"_s);
        for (const QString &name : {u"a\rb"_s, u"good.txt"_s, u"c.txt\r"_s})
            hostile.files().createFile(name);
        test::RemotePaneHarness side{&curl};
        ASSERT_TRUE(side.connectTo(hostile.port(), u"vendrel"_s, u"secret"_s));
        side.browser.openInitialFolder(u"/"_s);
        EXPECT_EQ(side.rowNames(), QStringList{u"good.txt"_s});
        EXPECT_TRUE(side.dialogs.messages.isEmpty());

        side.browser.openInitialFolder(u"/endless/"_s);
        EXPECT_EQ(side.dialogs.messageTexts(), QStringList{u"Erreur rencontrée lors de la lecture du dossier !"_s});
        EXPECT_EQ(side.files.rowCount(), 0);
        side.browser.openInitialFolder(u"/"_s);
        EXPECT_EQ(side.rowNames(), QStringList{u"good.txt"_s});
    }
}

} // namespace
} // namespace vendrel
