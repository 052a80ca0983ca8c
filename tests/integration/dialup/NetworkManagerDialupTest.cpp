#include "dialup/DialupControl.h"
#include "support/Prerequisite.h"
#include "dialup/NetworkManagerDialup.h"
#include "integration/dialup/PrivateBus.h"
#include "integration/dialup/StandInNetworkManager.h"
#include "support/FakeDialogs.h"

#include <QUuid>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

using test::StandInNetworkManager;

// The application's side of the bus: its own connection, as the system bus
// would be, so every question really travels through the daemon.
struct NetworkManagerDialupTest : ::testing::Test {
    void SetUp() override
    {
        VENDREL_REQUIRE_PREREQUISITE(test::PrivateBus::missingPrerequisite())
        ASSERT_TRUE(bus.start()) << bus.failureReason().toStdString();
        client = std::make_unique<NetworkManagerDialup>(QDBusConnection::connectToBus(bus.address(), clientName));
    }

    void TearDown() override
    {
        client.reset();
        QDBusConnection::disconnectFromBus(clientName);
    }

    StandInNetworkManager &startNetworkManager()
    {
        networkManager = std::make_unique<StandInNetworkManager>(bus.address());
        EXPECT_TRUE(networkManager->isServing());
        return *networkManager;
    }

    static QStringList names(const QList<DialupConnection> &connections)
    {
        QStringList result;
        for (const DialupConnection &connection : connections)
            result.append(connection.name);
        return result;
    }

    test::PrivateBus bus;
    const QString clientName = u"vendrel-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<NetworkManagerDialup> client;
    std::unique_ptr<StandInNetworkManager> networkManager;
};

TEST_F(NetworkManagerDialupTest, WithoutNetworkManagerThereIsNoConnectionAndNoError)
{
    const auto connections = client->listConnections();
    ASSERT_TRUE(connections.has_value());
    EXPECT_TRUE(connections->isEmpty());

    NetworkManagerDialup noBus{QDBusConnection(u"never-connected"_s)};
    const auto none = noBus.listConnections();
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->isEmpty());
    EXPECT_FALSE(noBus.hangUp({u"/org/freedesktop/NetworkManager/ActiveConnection/1"_s, u"x"_s, true}));
}

TEST_F(NetworkManagerDialupTest, ListsTheDialupKindsOnlyInTheDaemonsOrderWithTheirState)
{
    StandInNetworkManager &nm = startNetworkManager();
    const QString longName(256, u'é');
    nm.activate(u"Maison"_s, u"802-11-wireless"_s, StandInNetworkManager::Activated);
    const QString gsm = nm.activate(u"Orange 4G"_s, u"gsm"_s, StandInNetworkManager::Activating);
    nm.activate(u"Bureau"_s, u"802-3-ethernet"_s, StandInNetworkManager::Activated);
    nm.activate(u"Box ADSL"_s, u"pppoe"_s, StandInNetworkManager::Activated);
    nm.activate(longName, u"bluetooth"_s, StandInNetworkManager::Deactivating);
    nm.activate(u"Tunnel"_s, u"vpn"_s, StandInNetworkManager::Activated);
    nm.activate(u"Modem CDMA"_s, u"cdma"_s, StandInNetworkManager::Activated);

    const auto connections = client->listConnections();
    ASSERT_TRUE(connections.has_value());
    EXPECT_EQ(names(*connections), (QStringList{u"Orange 4G"_s, u"Box ADSL"_s, longName, u"Modem CDMA"_s}));
    ASSERT_EQ(connections->size(), 4);
    EXPECT_EQ(connections->at(0).handle, gsm);
    EXPECT_FALSE(connections->at(0).connected);
    EXPECT_TRUE(connections->at(1).connected);
    EXPECT_FALSE(connections->at(2).connected);
    EXPECT_TRUE(connections->at(3).connected);
}

TEST_F(NetworkManagerDialupTest, AConnectionThatEndedMeanwhileIsLeftOut)
{
    StandInNetworkManager &nm = startNetworkManager();
    nm.listVanished();
    nm.activate(u"Orange 4G"_s, u"gsm"_s, StandInNetworkManager::Activated);
    const auto connections = client->listConnections();
    ASSERT_TRUE(connections.has_value());
    EXPECT_EQ(names(*connections), QStringList{u"Orange 4G"_s});
}

TEST_F(NetworkManagerDialupTest, ADaemonThatCannotListIsAFailure)
{
    StandInNetworkManager &nm = startNetworkManager();
    nm.activate(u"Orange 4G"_s, u"gsm"_s, StandInNetworkManager::Activated);
    nm.failListing(true);
    EXPECT_FALSE(client->listConnections().has_value());
}

TEST_F(NetworkManagerDialupTest, HangingUpDeactivatesThatConnectionUnlessTheDaemonRefuses)
{
    StandInNetworkManager &nm = startNetworkManager();
    const QString gsm = nm.activate(u"Orange 4G"_s, u"gsm"_s, StandInNetworkManager::Activated);
    const QString pppoe = nm.activate(u"Box ADSL"_s, u"pppoe"_s, StandInNetworkManager::Activated);
    nm.refuseDeactivation(pppoe);

    const auto before = client->listConnections();
    ASSERT_TRUE(before.has_value());
    ASSERT_EQ(before->size(), 2);
    EXPECT_TRUE(client->hangUp(before->at(0)));
    EXPECT_FALSE(client->hangUp(before->at(1)));
    EXPECT_FALSE(client->hangUp(before->at(0))); // no longer active
    EXPECT_EQ(nm.deactivated(), QStringList{gsm});
    EXPECT_EQ(names(client->listConnections().value_or(QList<DialupConnection>{})), QStringList{u"Box ADSL"_s});
}

TEST_F(NetworkManagerDialupTest, EndingTheConnectionsThroughTheDaemonNamesEachOneClosed)
{
    StandInNetworkManager &nm = startNetworkManager();
    nm.activate(u"Orange 4G"_s, u"gsm"_s, StandInNetworkManager::Activated);
    nm.activate(u"Maison"_s, u"802-11-wireless"_s, StandInNetworkManager::Activated);
    nm.activate(u"Box ADSL"_s, u"pppoe"_s, StandInNetworkManager::Activating);
    test::FakeDialogs dialogs;
    DialupControl control(*client, dialogs);

    EXPECT_TRUE(control.DialupConnected());
    control.zOdpojit_Click();
    EXPECT_EQ(dialogs.messageTexts(),
              (QList<QString>{u"Fin de connexion: Orange 4G"_s, u"Fin de connexion: Box ADSL"_s}));
    EXPECT_FALSE(control.DialupConnected());
    EXPECT_EQ(dialogs.messages.size(), 2);
}

} // namespace
} // namespace vendrel
