#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>
#include <memory>

namespace vendrel::test {

// Just enough of NetworkManager's D-Bus interface for dial-up: the
// ActiveConnections property, each active connection's Id, Type and State,
// and DeactivateConnection. It owns the name org.freedesktop.NetworkManager
// on the given bus and answers from a thread of its own, so a caller on the
// test's thread can block on it the way the application blocks on the real
// daemon.
class StandInNetworkManager {
public:
    // NM_ACTIVE_CONNECTION_STATE_*
    enum State : uint { Activating = 1, Activated = 2, Deactivating = 3 };

    explicit StandInNetworkManager(const QString &busAddress);
    ~StandInNetworkManager();
    StandInNetworkManager(const StandInNetworkManager &) = delete;
    StandInNetworkManager &operator=(const StandInNetworkManager &) = delete;

    // Whether it got onto the bus and owns the name.
    bool isServing() const { return serving_; }

    // Adds an active connection and returns its object path.
    QString activate(const QString &id, const QString &type, State state);
    // Lists a path that has no object behind it any more, as when a
    // connection ends between two questions.
    QString listVanished();
    void failListing(bool fail);
    void refuseDeactivation(const QString &path);
    // Paths deactivated so far, in order.
    QStringList deactivated() const;

private:
    struct ActiveConnection {
        QString path;
        QString id;
        QString type;
        uint state;
    };

    // What the D-Bus side reads and changes; shared with the serving thread.
    struct Table {
        mutable QMutex mutex;
        QList<ActiveConnection> active;
        QStringList vanished;
        bool listingFails = false;
        QSet<QString> refusing;
        QStringList deactivated;
        int nextNumber = 1;
    };

    class Service;
    QString nextPath();

    QString connectionName_;
    QDBusConnection bus_;
    Table table_;
    QThread thread_;
    std::unique_ptr<Service> service_;
    bool serving_ = false;
};

} // namespace vendrel::test
