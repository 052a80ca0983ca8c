#pragma once

#include "dialup/DialupService.h"

#include <QSet>

namespace vendrel::test {

// A table of dial-up connections. Hanging one up takes it out of the table,
// unless the test made it refuse; every hang-up asked is recorded by name.
class FakeDialupService final : public DialupService {
public:
    void add(const QString &name, bool connected)
    {
        connections.append({QStringLiteral("handle:") + name, name, connected});
    }

    std::optional<QList<DialupConnection>> listConnections() override
    {
        return listingFails ? std::nullopt : std::optional(connections);
    }

    bool hangUp(const DialupConnection &connection) override
    {
        hangUpsAsked.append(connection.name);
        if (refusingHangUp.contains(connection.name))
            return false;
        connections.removeIf([&](const DialupConnection &c) { return c.handle == connection.handle; });
        return true;
    }

    QList<DialupConnection> connections;
    bool listingFails = false;
    QSet<QString> refusingHangUp;
    QList<QString> hangUpsAsked;
};

} // namespace vendrel::test
