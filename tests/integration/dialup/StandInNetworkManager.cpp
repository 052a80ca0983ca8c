#include "integration/dialup/StandInNetworkManager.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QMutexLocker>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace vendrel::test {

namespace {

const QString serviceName = u"org.freedesktop.NetworkManager"_s;
const QString managerPath = u"/org/freedesktop/NetworkManager"_s;
const QString managerInterface = u"org.freedesktop.NetworkManager"_s;
const QString activeInterface = u"org.freedesktop.NetworkManager.Connection.Active"_s;
const QString propertiesInterface = u"org.freedesktop.DBus.Properties"_s;

bool is(const QDBusMessage &message, const QString &interface, const QString &member)
{
    return message.interface() == interface && message.member() == member;
}

} // namespace

class StandInNetworkManager::Service final : public QDBusVirtualObject {
public:
    explicit Service(Table &table) : table_(table) {}

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        connection.send(answer(message));
        return true;
    }

private:
    QDBusMessage answer(const QDBusMessage &message)
    {
        QMutexLocker lock(&table_.mutex);
        const QList<QVariant> arguments = message.arguments();
        if (message.path() == managerPath) {
            if (is(message, propertiesInterface, u"Get"_s) && arguments.value(0).toString() == managerInterface
                && arguments.value(1).toString() == u"ActiveConnections") {
                if (table_.listingFails)
                    return message.createErrorReply(u"org.freedesktop.NetworkManager.Failed"_s, u"stand-in told to fail"_s);
                QList<QDBusObjectPath> paths;
                for (const ActiveConnection &active : table_.active)
                    paths.append(QDBusObjectPath(active.path));
                for (const QString &path : table_.vanished)
                    paths.append(QDBusObjectPath(path));
                return message.createReply(QVariant::fromValue(QDBusVariant(QVariant::fromValue(paths))));
            }
            if (is(message, managerInterface, u"DeactivateConnection"_s))
                return deactivate(message, arguments.value(0).value<QDBusObjectPath>().path());
        }
        for (const ActiveConnection &active : std::as_const(table_.active)) {
            if (active.path == message.path() && is(message, propertiesInterface, u"GetAll"_s)
                && arguments.value(0).toString() == activeInterface) {
                const QVariantMap properties{{u"Id"_s, active.id}, {u"Type"_s, active.type}, {u"State"_s, active.state}};
                return message.createReply(QVariant::fromValue(properties));
            }
        }
        // What GDBus, and so NetworkManager, says about an object it no longer has.
        return message.createErrorReply(u"org.freedesktop.DBus.Error.UnknownMethod"_s,
                                        u"No such interface on object at path "_s + message.path());
    }

    QDBusMessage deactivate(const QDBusMessage &message, const QString &path)
    {
        if (table_.refusing.contains(path))
            return message.createErrorReply(u"org.freedesktop.NetworkManager.PermissionDenied"_s,
                                            u"Not authorized to deactivate connections"_s);
        const auto removed = table_.active.removeIf([&](const ActiveConnection &active) { return active.path == path; });
        if (removed == 0)
            return message.createErrorReply(u"org.freedesktop.NetworkManager.ConnectionNotActive"_s,
                                            u"The connection was not active."_s);
        table_.deactivated.append(path);
        return message.createReply();
    }

    Table &table_;
};

StandInNetworkManager::StandInNetworkManager(const QString &busAddress)
    : connectionName_(u"stand-in-nm-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      bus_(QDBusConnection::connectToBus(busAddress, connectionName_)),
      service_(std::make_unique<Service>(table_))
{
    qDBusRegisterMetaType<QList<QDBusObjectPath>>();
    // Registered before it moves, so what the bus hangs on it moves along.
    const bool registered =
        bus_.isConnected() && bus_.registerVirtualObject(managerPath, service_.get(), QDBusConnection::SubPath);
    service_->moveToThread(&thread_);
    thread_.start();
    serving_ = registered && bus_.registerService(serviceName);
}

StandInNetworkManager::~StandInNetworkManager()
{
    bus_.unregisterService(serviceName);
    bus_.unregisterObject(managerPath, QDBusConnection::UnregisterTree);
    QDBusConnection::disconnectFromBus(connectionName_);
    thread_.quit();
    thread_.wait();
}

QString StandInNetworkManager::nextPath()
{
    return managerPath + u"/ActiveConnection/"_s + QString::number(table_.nextNumber++);
}

QString StandInNetworkManager::activate(const QString &id, const QString &type, State state)
{
    QMutexLocker lock(&table_.mutex);
    const QString path = nextPath();
    table_.active.append({path, id, type, state});
    return path;
}

QString StandInNetworkManager::listVanished()
{
    QMutexLocker lock(&table_.mutex);
    const QString path = nextPath();
    table_.vanished.append(path);
    return path;
}

void StandInNetworkManager::failListing(bool fail)
{
    QMutexLocker lock(&table_.mutex);
    table_.listingFails = fail;
}

void StandInNetworkManager::refuseDeactivation(const QString &path)
{
    QMutexLocker lock(&table_.mutex);
    table_.refusing.insert(path);
}

QStringList StandInNetworkManager::deactivated() const
{
    QMutexLocker lock(&table_.mutex);
    return table_.deactivated;
}

} // namespace vendrel::test
