#include "dialup/NetworkManagerDialup.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

const QString service = u"org.freedesktop.NetworkManager"_s;
const QString managerPath = u"/org/freedesktop/NetworkManager"_s;
const QString managerInterface = u"org.freedesktop.NetworkManager"_s;
const QString activeConnectionInterface = u"org.freedesktop.NetworkManager.Connection.Active"_s;
const QString propertiesInterface = u"org.freedesktop.DBus.Properties"_s;

// NetworkManager's connection types that dial.
const QStringList dialupTypes{u"gsm"_s, u"cdma"_s, u"pppoe"_s, u"bluetooth"_s};
// NM_ACTIVE_CONNECTION_STATE_ACTIVATED
constexpr uint activatedState = 2;

// NetworkManager answers in milliseconds; a hung daemon must not hold the
// window for long.
constexpr int callTimeoutMs = 5'000;

QDBusMessage call(const QDBusConnection &bus, const QString &path, const QString &interface, const QString &method,
                  const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    // Asking must not start a NetworkManager that is installed but stopped.
    message.setAutoStartService(false);
    return bus.call(message, QDBus::Block, callTimeoutMs);
}

bool isError(const QDBusMessage &reply)
{
    return reply.type() != QDBusMessage::ReplyMessage;
}

bool nobodyOwnsTheName(const QDBusMessage &reply)
{
    return reply.errorName() == u"org.freedesktop.DBus.Error.ServiceUnknown"
           || reply.errorName() == u"org.freedesktop.DBus.Error.NameHasNoOwner";
}

// An active connection that ended between the listing and the question.
bool objectIsGone(const QDBusMessage &reply)
{
    return reply.errorName() == u"org.freedesktop.DBus.Error.UnknownObject"
           || reply.errorName() == u"org.freedesktop.DBus.Error.UnknownMethod";
}

template <typename T>
std::optional<T> firstArgument(const QDBusMessage &reply)
{
    if (reply.arguments().isEmpty())
        return std::nullopt;
    QVariant value = reply.arguments().constFirst();
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return qdbus_cast<T>(value.value<QDBusArgument>());
    if (value.metaType() == QMetaType::fromType<T>())
        return value.value<T>();
    return std::nullopt;
}

} // namespace

NetworkManagerDialup::NetworkManagerDialup(QDBusConnection bus) : bus_(std::move(bus)) {}

std::optional<QList<DialupConnection>> NetworkManagerDialup::listConnections()
{
    QList<DialupConnection> connections;
    if (!bus_.isConnected())
        return connections;

    const QDBusMessage listing =
        call(bus_, managerPath, propertiesInterface, u"Get"_s, {managerInterface, u"ActiveConnections"_s});
    if (isError(listing)) {
        if (nobodyOwnsTheName(listing))
            return connections;
        return std::nullopt;
    }
    const auto paths = firstArgument<QList<QDBusObjectPath>>(listing);
    if (!paths)
        return std::nullopt;

    for (const QDBusObjectPath &path : *paths) {
        const QDBusMessage reply =
            call(bus_, path.path(), propertiesInterface, u"GetAll"_s, {activeConnectionInterface});
        if (isError(reply)) {
            if (objectIsGone(reply))
                continue;
            return std::nullopt;
        }
        const auto properties = firstArgument<QVariantMap>(reply);
        if (!properties)
            return std::nullopt;
        if (!dialupTypes.contains(properties->value(u"Type"_s).toString()))
            continue;
        connections.append({path.path(), properties->value(u"Id"_s).toString(),
                            properties->value(u"State"_s).toUInt() == activatedState});
    }
    return connections;
}

bool NetworkManagerDialup::hangUp(const DialupConnection &connection)
{
    if (!bus_.isConnected())
        return false;
    const QDBusMessage reply = call(bus_, managerPath, managerInterface, u"DeactivateConnection"_s,
                                    {QVariant::fromValue(QDBusObjectPath(connection.handle))});
    return !isError(reply);
}

} // namespace vendrel
