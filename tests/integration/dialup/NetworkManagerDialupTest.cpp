#include "dialup/NetworkManagerDialup.h"
#include "support/Prerequisite.h"
#include "support/PrivateBus.h"

#include <QDBusObjectPath>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace vendrel {
namespace {

// One of NetworkManager's active connections, as it shows on the bus.
class ActiveConnection : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager.Connection.Active")
    Q_PROPERTY(QString Id MEMBER id)
    Q_PROPERTY(QString Type MEMBER type)
    Q_PROPERTY(uint State MEMBER state)
public:
    QString id, type;
    uint state = 0;
};

// Just enough of NetworkManager: its active connections, and deactivation.
class StandInManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager")
    Q_PROPERTY(QList<QDBusObjectPath> ActiveConnections MEMBER active)
public:
    QList<QDBusObjectPath> active;
    QStringList deactivated;
public Q_SLOTS:
    void DeactivateConnection(const QDBusObjectPath &path)
    {
        deactivated.append(path.path());
        active.removeAll(path);
    }
};

// A bus of the test's own, its stand-in daemon answering from another thread
// as the real one does from another process (the client blocks on its calls).
struct NetworkManagerDialupTest : ::testing::Test {
    void SetUp() override
    {
        VENDREL_REQUIRE_PREREQUISITE(bus.start())
        server.start();
    }

    void TearDown() override
    {
        server.quit();
        server.wait();
        QDBusConnection::disconnectFromBus(u"service"_s);
        QDBusConnection::disconnectFromBus(u"client"_s);
    }

    void startManager(const QList<std::tuple<QString, QString, uint>> &connections, bool oneVanished = false)
    {
        QDBusConnection service = QDBusConnection::connectToBus(bus.address(), u"service"_s);
        for (const auto &[id, type, state] : connections) {
            // The manager owns it and takes it along to the daemon's thread.
            auto *connection = new ActiveConnection;
            connection->setParent(&manager);
            connection->id = id;
            connection->type = type;
            connection->state = state;
            const QString path = u"/org/freedesktop/NetworkManager/ActiveConnection/%1"_s.arg(manager.active.size());
            manager.active.append(QDBusObjectPath(path));
            service.registerObject(path, connection, QDBusConnection::ExportAllProperties);
        }
        if (oneVanished)
            manager.active.prepend(QDBusObjectPath(u"/org/freedesktop/NetworkManager/ActiveConnection/99"_s));
        manager.moveToThread(&server);
        service.registerObject(u"/org/freedesktop/NetworkManager"_s, &manager,
                               QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSlots);
        ASSERT_TRUE(service.registerService(u"org.freedesktop.NetworkManager"_s));
    }

    static QStringList names(const std::optional<QList<DialupConnection>> &connections)
    {
        QStringList result;
        for (const DialupConnection &connection : connections.value_or(QList<DialupConnection>{}))
            result.append(connection.name + (connection.connected ? u" (connecté)"_s : QString()));
        return result;
    }

    test::PrivateBus bus;
    QThread server;
    StandInManager manager;
};

TEST_F(NetworkManagerDialupTest, WithoutNetworkManagerThereIsNoConnectionAndNoError)
{
    NetworkManagerDialup client(QDBusConnection::connectToBus(bus.address(), u"client"_s));
    const auto connections = client.listConnections();
    ASSERT_TRUE(connections.has_value());
    EXPECT_TRUE(connections->isEmpty());
    EXPECT_FALSE(client.hangUp({u"/org/freedesktop/NetworkManager/ActiveConnection/1"_s, u"x"_s, true}));
}

TEST_F(NetworkManagerDialupTest, ListsTheDialupKindsWithTheirStateAndHangsUpTheOneAsked)
{
    startManager({{u"Maison"_s, u"802-11-wireless"_s, 2},
                  {u"Orange 4G"_s, u"gsm"_s, 1},
                  {u"Box ADSL"_s, u"pppoe"_s, 2},
                  {u"Tunnel"_s, u"vpn"_s, 2},
                  {u"Modem"_s, u"cdma"_s, 2}},
                 true);
    NetworkManagerDialup client(QDBusConnection::connectToBus(bus.address(), u"client"_s));
    const auto connections = client.listConnections();
    EXPECT_EQ(names(connections), (QStringList{u"Orange 4G"_s, u"Box ADSL (connecté)"_s, u"Modem (connecté)"_s}));

    ASSERT_TRUE(client.hangUp(connections->at(1)));
    EXPECT_EQ(manager.deactivated, QStringList{connections->at(1).handle});
    EXPECT_EQ(names(client.listConnections()), (QStringList{u"Orange 4G"_s, u"Modem (connecté)"_s}));
}

} // namespace
} // namespace vendrel

#include "NetworkManagerDialupTest.moc"
