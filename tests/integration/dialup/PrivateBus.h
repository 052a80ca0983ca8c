#pragma once

#include "support/TempFolder.h"

#include <QProcess>
#include <QString>
#include <optional>

namespace vendrel::test {

// A D-Bus daemon of our own on a socket in a temporary folder, for the length
// of a test. It stops with this object, and by itself if the test dies.
class PrivateBus {
public:
    // Why no bus can run here (no dbus-daemon); nothing when one can.
    static std::optional<QString> missingPrerequisite();

    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool start();
    QString failureReason() const { return failure_; }
    QString address() const { return address_; }

private:
    TempFolder folder_;
    QProcess process_;
    QString address_;
    QString failure_;
};

} // namespace vendrel::test
