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

TEST_F(NetworkManagerDialupTest, ListsTheDialupKindsOnlyInTheDaemonsOrderLeavingOutVanishedOnes)
{
    StandInNetworkManager &nm = startNetworkManager();
    nm.activate(u"Maison"_s, u"802-11-wireless"_s, StandInNetworkManager::Activated);
    const QString gsm = nm.activate(u"Orange 4G"_s, u"gsm"_s, StandInNetworkManager::Activating);
    nm.listVanished();
    nm.activate(u"Box ADSL"_s, u"pppoe"_s, StandInNetworkManager::Activated);
    nm.activate(u"Casque"_s, u"bluetooth"_s, StandInNetworkManager::Deactivating);
    nm.activate(u"Tunnel"_s, u"vpn"_s, StandInNetworkManager::Activated);
    nm.activate(u"Modem CDMA"_s, u"cdma"_s, StandInNetworkManager::Activated);

    const auto connections = client->listConnections();
    ASSERT_TRUE(connections.has_value());
    EXPECT_EQ(names(*connections), (QStringList{u"Orange 4G"_s, u"Box ADSL"_s, u"Casque"_s, u"Modem CDMA"_s}));
    EXPECT_EQ(connections->at(0).handle, gsm);
    EXPECT_EQ((QList<bool>{connections->at(0).connected, connections->at(1).connected, connections->at(2).connected}),
              (QList<bool>{false, true, false}));
    nm.failListing(true);
    EXPECT_FALSE(client->listConnections().has_value());
}

TEST_F(NetworkManagerDialupTest, HangingUpDeactivatesThatConnectionUnlessTheDaemonRefuses)
{
    StandInNetworkManager &nm = startNetworkManager();
    const QString gsm = nm.activate(u"Orange 4G"_s, u"gsm"_s, StandInNetworkManager::Activated);
    nm.refuseDeactivation(nm.activate(u"Box ADSL"_s, u"pppoe"_s, StandInNetworkManager::Activated));
    const QList<DialupConnection> before = client->listConnections().value_or(QList<DialupConnection>{});
    ASSERT_EQ(before.size(), 2);
    EXPECT_TRUE(client->hangUp(before.at(0)));
    EXPECT_FALSE(client->hangUp(before.at(1)));
    EXPECT_FALSE(client->hangUp(before.at(0))) << "no longer active";
    EXPECT_EQ(nm.deactivated(), QStringList{gsm});

    test::FakeDialogs dialogs;
    DialupControl control(*client, dialogs);
    EXPECT_TRUE(control.DialupConnected());
    control.zOdpojit_Click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "a refused hang-up closed nothing";
}

} // namespace
} // namespace vendrel
