#pragma once

#include "session/profiles/PasswordVault.h"

#include <QMap>

namespace vendrel::test {

// A keyring in memory, one password per profile, that a test can take away
// or make refuse every request.
class FakePasswordVault final : public PasswordVault {
public:
    using Status = VaultAnswer::Status;

    VaultAnswer store(const QString &profile, const QString &password) override
    {
        if (!reachable())
            return refusal();
        passwords.insert(profile, password);
        return {Status::Done};
    }
    VaultAnswer read(const QString &profile) override
    {
        if (!reachable())
            return refusal();
        return passwords.contains(profile) ? VaultAnswer{Status::Done, passwords.value(profile)}
                                           : VaultAnswer{Status::NotFound};
    }
    VaultAnswer erase(const QString &profile) override
    {
        if (!reachable())
            return refusal();
        passwords.remove(profile);
        return {Status::Done};
    }

    QMap<QString, QString> passwords;
    bool present = true;
    QString failure; // the keyring's words for refusing, when it refuses

private:
    bool reachable() const { return present && failure.isEmpty(); }
    VaultAnswer refusal() const
    {
        return present ? VaultAnswer{Status::Failed, {}, failure} : VaultAnswer{Status::NoKeyring};
    }
};

} // namespace vendrel::test
