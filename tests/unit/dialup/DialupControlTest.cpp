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

TEST_F(DialupControlTest, OnlyTheFirstListedConnectionCounts)
{
    EXPECT_FALSE(control.DialupConnected()); // none

    service.add(u"Orange"_s, false); // still dialling
    service.add(u"Free"_s, true);
    EXPECT_FALSE(control.DialupConnected());

    service.connections.first().connected = true;
    EXPECT_TRUE(control.DialupConnected());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DialupControlTest, AServiceThatCannotAnswerIsReportedAndCountsAsNoConnection)
{
    service.add(u"Orange"_s, true);
    service.listingFails = true;
    EXPECT_FALSE(control.DialupConnected());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, u"Erreur dans la connexion"_s);
    EXPECT_EQ(dialogs.messages[0].title, u"Erreur"_s);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
}

TEST_F(DialupControlTest, OpeningTheFileMenuOffersTheHangUpOnlyWhileConnected)
{
    QAction Mnu_DeconnectInternet(u"Se déconnecter d'Internet"_s);
    control.zSoubor_Click(Mnu_DeconnectInternet);
    EXPECT_FALSE(Mnu_DeconnectInternet.isEnabled());

    service.add(u"Orange"_s, true);
    control.zSoubor_Click(Mnu_DeconnectInternet);
    EXPECT_TRUE(Mnu_DeconnectInternet.isEnabled());

    service.listingFails = true;
    control.zSoubor_Click(Mnu_DeconnectInternet);
    EXPECT_FALSE(Mnu_DeconnectInternet.isEnabled());
    EXPECT_EQ(dialogs.messageTexts(), QList<QString>{u"Erreur dans la connexion"_s});
}

TEST_F(DialupControlTest, DisconnectingFromTheInternetHangsUpTheFirstConnectionSilently)
{
    service.add(u"Orange"_s, true);
    service.add(u"Free"_s, true);
    control.Mnu_DeconnectInternet_Click();
    EXPECT_EQ(service.hangUpsAsked, QList<QString>{u"Orange"_s});

    service.refusingHangUp.insert(u"Free"_s);
    control.Mnu_DeconnectInternet_Click();
    service.listingFails = true;
    control.Mnu_DeconnectInternet_Click();
    EXPECT_EQ(service.hangUpsAsked, (QList<QString>{u"Orange"_s, u"Free"_s}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DialupControlTest, EndingTheConnectionsNamesEachOneClosedInListingOrder)
{
    const QString longName(256, u'é');
    service.add(u"Orange"_s, true);
    service.add(u"Bouygues"_s, false);
    service.add(longName, true);
    service.refusingHangUp.insert(u"Bouygues"_s);

    control.zOdpojit_Click();
    EXPECT_EQ(service.hangUpsAsked, (QList<QString>{u"Orange"_s, u"Bouygues"_s, longName}));
    EXPECT_EQ(dialogs.messageTexts(),
              (QList<QString>{u"Fin de connexion: Orange"_s, u"Fin de connexion: "_s + longName}));
    for (const test::ShownMessage &shown : dialogs.messages) {
        EXPECT_EQ(shown.icon, MessageIcon::Information);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        EXPECT_EQ(shown.title, u"Vendrel"_s);
    }
}

TEST_F(DialupControlTest, EndingTheConnectionsIsSilentWhenNothingCanBeListed)
{
    control.zOdpojit_Click();
    service.add(u"Orange"_s, true);
    service.listingFails = true;
    control.zOdpojit_Click();
    EXPECT_TRUE(service.hangUpsAsked.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(DialupControlTest, QuittingWithoutADialupConnectionAsksNothingMore)
{
    service.add(u"Orange"_s, false);
    control.OfferHangUpBeforeQuit();
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(service.hangUpsAsked.isEmpty());
}

TEST_F(DialupControlTest, QuittingWhileConnectedOffersTheHangUp)
{
    service.add(u"Orange"_s, true);
    dialogs.answerNext(MessageAnswer::No);
    control.OfferHangUpBeforeQuit();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, u"Voulez vous vous déconnecter"_s);
    EXPECT_EQ(dialogs.messages[0].title, u"Connexion en cours"_s);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Question);
    EXPECT_TRUE(service.hangUpsAsked.isEmpty());

    dialogs.answerNext(MessageAnswer::Yes);
    control.OfferHangUpBeforeQuit();
    EXPECT_EQ(service.hangUpsAsked, QList<QString>{u"Orange"_s});
}

TEST_F(DialupControlTest, QuittingWhenTheServiceCannotAnswerReportsItAndAsksNothingMore)
{
    service.listingFails = true;
    control.OfferHangUpBeforeQuit();
    EXPECT_EQ(dialogs.messageTexts(), QList<QString>{u"Erreur dans la connexion"_s});
}

} // namespace
} // namespace vendrel
