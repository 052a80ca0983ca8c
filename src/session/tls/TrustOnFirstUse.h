#pragma once

#include "session/ftp/ServerCertificate.h"
#include "session/tls/TrustedCertificates.h"

namespace vendrel {

class Dialogs;

// Trust on first use: a certificate trusted always for its host and port is
// taken without a word; any other is shown to the user, who may trust it
// for this connection or always. A certificate that replaced the one trusted
// is shown as changed, with both fingerprints.
class TrustOnFirstUse final : public CertificateTrust {
public:
    TrustOnFirstUse(TrustedCertificates store, Dialogs &dialogs);

    bool trusts(const ServerCertificate &certificate) override;

private:
    TrustedCertificates store_;
    Dialogs &dialogs_;
};

} // namespace vendrel
