#pragma once

#include "session/ftp/FtpService.h"

#include <QString>

namespace vendrel {

// What the connection dialog hands to the connect procedure.
struct ConnectParameters {
    QString siteName;                          // txtSiteName
    QString server;                            // txtServer
    QString user;                              // txtUser
    QString password;                          // txtPass
    QString port;                              // txtPort, as typed
    QString initialLocalFolder;                // TextDosInit
    bool binary = true;                        // Option1 "Binaire" (else Option2 "ASCII")
    bool passive = true;                       // Option3 "Passif" (else Option4 "Actif")
    bool anonymous = false;                    // log in as the server's anonymous user, not as user
    FtpSecurity security = FtpSecurity::Plain; // the "Mode de transfert " frame
};

// What the dialog does after a connect attempt.
enum class ConnectOutcome {
    StayOpen, // refused before anything opened; the dialog stays as it is
    Hidden,   // the attempt failed; the dialog is hidden and keeps its fields
    Unload,   // connected; the dialog closes and starts afresh next time
};

} // namespace vendrel
