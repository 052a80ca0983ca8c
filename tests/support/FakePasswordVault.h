#pragma once

#include "session/profiles/PasswordVault.h"

#include <QMap>
#include <functional>

namespace vendrel::test {

// A keyring in memory, one password per profile, that a test can take away
// or make refuse every request.
class FakePasswordVault final : public PasswordVault {
public:
    VaultAnswer store(const QString &profile, const QString &password) override
    {
        return answer([&] { passwords.insert(profile, password); });
    }
    VaultAnswer read(const QString &profile) override
    {
        const VaultAnswer reached = answer([] {});
        if (!reached.is(VaultAnswer::Status::Done))
            return reached;
        return passwords.contains(profile) ? VaultAnswer{VaultAnswer::Status::Done, passwords.value(profile)}
                                           : VaultAnswer{VaultAnswer::Status::NotFound};
    }
    VaultAnswer erase(const QString &profile) override
    {
        return answer([&] { passwords.remove(profile); });
    }

    QMap<QString, QString> passwords;
    bool present = true;
    QString failure; // the keyring's words for refusing, when it refuses

private:
    VaultAnswer answer(const std::function<void()> &change)
    {
        if (!present)
            return {VaultAnswer::Status::NoKeyring};
        if (!failure.isEmpty())
            return {VaultAnswer::Status::Failed, {}, failure};
        change();
        return {VaultAnswer::Status::Done};
    }
};

} // namespace vendrel::test
