#pragma once

#include "dialup/DialupService.h"

#include <QDBusConnection>

namespace vendrel {

// Dial-up connections as NetworkManager sees them: its active connections of
// the mobile broadband, PPPoE and Bluetooth kinds. A system without
// NetworkManager, or without a system bus, simply has no dial-up connection.
class NetworkManagerDialup final : public DialupService {
public:
    // Tests hand in a private bus; the application uses the system bus.
    explicit NetworkManagerDialup(QDBusConnection bus = QDBusConnection::systemBus());

    std::optional<QList<DialupConnection>> listConnections() override;
    bool hangUp(const DialupConnection &connection) override;

private:
    QDBusConnection bus_;
};

} // namespace vendrel
