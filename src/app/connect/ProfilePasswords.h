#pragma once

#include "session/profiles/PasswordVault.h"

namespace vendrel {

// The keyring the connection dialog keeps passwords in, and whether the user
// has been told, in this run of the program, that there is none. It outlives
// the dialog, which is built anew at each showing.
struct ProfilePasswords {
    PasswordVault &vault;
    bool toldNoKeyring = false;
};

} // namespace vendrel
