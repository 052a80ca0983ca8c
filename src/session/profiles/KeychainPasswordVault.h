#pragma once

#include "session/profiles/PasswordVault.h"

#include <chrono>

namespace vendrel {

// The passwords in the desktop's keyring through QtKeychain: the Secret
// Service (GNOME Keyring, KeePassXC...) or KWallet, found on the session bus.
// QtKeychain's clear-text fallback is never used: without a keyring the
// answer is NoKeyring and the caller decides where the password goes.
class KeychainPasswordVault final : public PasswordVault {
public:
    // A keyring may show its unlock prompt and wait for the user: the limit
    // is generous, and only there so a keyring that never answers cannot
    // freeze the program for good.
    static constexpr std::chrono::milliseconds answerLimit = std::chrono::minutes(2);

    VaultAnswer store(const QString &profileFileName, const QString &password) override;
    VaultAnswer read(const QString &profileFileName) override;
    VaultAnswer erase(const QString &profileFileName) override;
};

} // namespace vendrel
