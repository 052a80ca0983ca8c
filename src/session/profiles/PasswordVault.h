#pragma once

#include <QString>

namespace vendrel {

// What the desktop keyring answered.
struct VaultAnswer {
    enum class Status {
        Done,      // stored, read or erased
        NotFound,  // read: the keyring has no password for this profile
        NoKeyring, // no keyring service on this desktop
        Failed,    // the keyring is there but refused or failed (see error)
    };
    Status status;
    QString password = {}; // what a read found
    QString error = {};    // the keyring's own words for a failure

    bool is(Status wanted) const { return status == wanted; }
};

// The desktop keyring, holding one password per site profile. The profile
// is named by its file name, so two profiles never share an entry.
class PasswordVault {
public:
    virtual ~PasswordVault() = default;

    virtual VaultAnswer store(const QString &profileFileName, const QString &password) = 0;
    virtual VaultAnswer read(const QString &profileFileName) = 0;
    // Erasing a password the keyring does not hold is done, not a failure.
    virtual VaultAnswer erase(const QString &profileFileName) = 0;
};

} // namespace vendrel
