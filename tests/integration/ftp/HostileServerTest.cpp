#include "session/ftp/CurlFtpService.h"
#include "support/Prerequisite.h"
#include "support/RemotePaneHarness.h"
#include "support/ScriptedFtpServer.h"

#include <gtest/gtest.h>
#include <iostream>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

const QString failedListing = u" > Erreur rencontrée lors de la lecture du dossier !\r\n"_s;
const QString doneListing = u" > Transfert des données terminé avec succès.\r\n"_s;

// The server pane over libcurl, logged in to our scripted server, which
// spoils /bad/ as the scenario says. Listings stop at a few MB here, so a
// runaway one ends in a moment.
struct PaneOnScriptedServer {
    static CurlFtpOptions options()
    {
        CurlFtpOptions options;
        options.connectTimeout = std::chrono::milliseconds(2'000);
        options.serverResponseTimeout = std::chrono::seconds(2);
        options.stalledTransferTimeout = std::chrono::seconds(2);
        options.listingLimits = {20'000, 4 * 1024 * 1024};
        return options;
    }

    ~PaneOnScriptedServer()
    {
        if (::testing::Test::HasFailure())
            std::cerr << "The server's log:\n" << server.commandLog().toStdString();
    }

    bool open(const QString &scenario, bool mlsd)
    {
        if (!server.start(scenario, {mlsd})) {
            ADD_FAILURE() << server.failureReason().toStdString();
            return false;
        }
        return pane.connectTo(server.port(), u"vendrel"_s, u"secret"_s);
    }

    test::ScriptedFtpServer server;
    CurlFtpService curl{options()};
    test::RemotePaneHarness pane{&curl};
};

struct HostileServerTest : ::testing::Test {
    void SetUp() override
    {
        VENDREL_REQUIRE_PREREQUISITE(test::ScriptedFtpServer::missingPrerequisite())
    }
};

TEST_F(HostileServerTest, AListingWithoutEndFailsPastItsLimitAndTheSessionGoesOn)
{
    for (const bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        PaneOnScriptedServer side;
        ASSERT_TRUE(side.open(u"endless-fast-listing"_s, mlsd));
        test::RemotePaneHarness &pane = side.pane;

        pane.browser.openInitialFolder(u"/bad/"_s);
        EXPECT_TRUE(pane.log.text().endsWith(failedListing)) << pane.log.text().toStdString();
        EXPECT_EQ(pane.dialogs.messageTexts(), QStringList{u"Erreur rencontrée lors de la lecture du dossier !"_s});
        EXPECT_EQ(pane.files.rowCount(), 0);

        FindData record;
        EXPECT_EQ(side.curl.FtpFindFirstFile(pane.session.ConnectionHandle, u"/bad/*.*"_s, record, 0, 0), 0u);
        EXPECT_EQ(side.curl.lastError().description, u"the listing was stopped past 20000 entries"_s);

        pane.browser.openInitialFolder(u"/"_s);
        EXPECT_TRUE(pane.log.text().endsWith(doneListing));
        EXPECT_EQ(pane.rowNames(), QStringList{u"readme.txt"_s});
    }
}

// libcurl turns a bare CR of a listing it receives in ASCII mode into a line
// end: "a\rb" would come out as a file "a" that the server does not have.
TEST_F(HostileServerTest, NamesHoldingABareCarriageReturnAreLeftOutWhole)
{
    for (const bool mlsd : {true, false}) {
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        PaneOnScriptedServer side;
        ASSERT_TRUE(side.open(u"bare-cr-names"_s, mlsd));
        side.pane.browser.openInitialFolder(u"/bad/"_s);
        EXPECT_EQ(side.pane.rowNames(), QStringList{u"good.txt"_s});
        EXPECT_TRUE(side.pane.log.text().endsWith(doneListing));
    }
}

} // namespace
} // namespace vendrel
