#include "dialup/DialupControl.h"

#include "support/FakeDialogs.h"
#include "support/FakeDialupService.h"

#include <QAction>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

struct DialupControlTest : ::testing::Test {
    test::FakeDialupService service;
    test::FakeDialogs dialogs;
    DialupControl control{service, dialogs};
};

TEST_F(DialupControlTest, OnlyTheFirstListedConnectionCountsAndAFailedListingIsNone)
{
    QAction Mnu_DeconnectInternet;
    control.zSoubor_Click(Mnu_DeconnectInternet);
    EXPECT_FALSE(Mnu_DeconnectInternet.isEnabled());
    service.add(u"Orange"_s, false); // still dialling
    service.add(u"Free"_s, true);
    EXPECT_FALSE(control.DialupConnected());
    service.connections.first().connected = true;
    control.zSoubor_Click(Mnu_DeconnectInternet);
    EXPECT_TRUE(Mnu_DeconnectInternet.isEnabled());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    service.listingFails = true;
    control.zSoubor_Click(Mnu_DeconnectInternet);
    EXPECT_FALSE(Mnu_DeconnectInternet.isEnabled());
    EXPECT_EQ(dialogs.messageTexts(), QList<QString>{u"Erreur dans la connexion"_s});
}

TEST_F(DialupControlTest, HangingUpTakesTheFirstConnectionSilentlyAndEndingThemNamesEachOneClosed)
{
    service.add(u"Orange"_s, true);
    service.add(u"Bouygues"_s, false);
    service.add(u"Free"_s, true);
    control.Mnu_DeconnectInternet_Click();
    EXPECT_EQ(service.hangUpsAsked, QList<QString>{u"Orange"_s});
    EXPECT_TRUE(dialogs.messages.isEmpty());

    service.refusingHangUp.insert(u"Bouygues"_s);
    control.zOdpojit_Click();
    EXPECT_EQ(service.hangUpsAsked, (QList<QString>{u"Orange"_s, u"Bouygues"_s, u"Free"_s}));
    EXPECT_EQ(dialogs.messageTexts(), QList<QString>{u"Fin de connexion: Free"_s});

    service.listingFails = true;
    control.zOdpojit_Click();
    control.Mnu_DeconnectInternet_Click();
    EXPECT_EQ(service.hangUpsAsked.size(), 3);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(DialupControlTest, QuittingOffersTheHangUpOnlyWhileConnected)
{
    service.add(u"Orange"_s, false);
    control.OfferHangUpBeforeQuit();
    EXPECT_TRUE(dialogs.messages.isEmpty());

    service.connections.first().connected = true;
    dialogs.answerNext(MessageAnswer::No);
    control.OfferHangUpBeforeQuit();
    EXPECT_TRUE(service.hangUpsAsked.isEmpty()); // "Yes" is the main window's quit test
    EXPECT_EQ(dialogs.messageTexts(), QList<QString>{u"Voulez vous vous déconnecter"_s});

    service.listingFails = true;
    control.OfferHangUpBeforeQuit();
    EXPECT_EQ(dialogs.messageTexts().last(), u"Erreur dans la connexion"_s);
}

} // namespace
} // namespace vendrel
