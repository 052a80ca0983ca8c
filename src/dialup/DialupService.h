#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vendrel {

// One dial-up connection (mobile broadband, PPPoE, Bluetooth dial-up) as the
// desktop's network service lists it.
struct DialupConnection {
    QString handle;         // what hangUp() needs to find it again
    QString name;           // the connection's name as the user gave it
    bool connected = false; // up, as opposed to still dialling or closing
};

// The desktop's dial-up networking: which connections exist and hanging them up.
class DialupService {
public:
    virtual ~DialupService() = default;

    // In the service's own order; empty when there is no connection or no
    // such service on this system; nullopt when the service could not answer.
    virtual std::optional<QList<DialupConnection>> listConnections() = 0;
    // True once the service has accepted to close the connection.
    virtual bool hangUp(const DialupConnection &connection) = 0;
};

} // namespace vendrel
