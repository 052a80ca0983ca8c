#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace vendrel {

// "AB:CD:...", as openssl x509 -fingerprint -sha256 prints a SHA-256.
inline QString fingerprintText(const QByteArray &sha256)
{
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

// The certificate a server showed, as a person judges it.
struct ServerCertificate {
    QString host;
    quint16 port = 0;
    QString subject;
    QString issuer;
    QDateTime validFrom;  // UTC
    QDateTime validUntil; // UTC
    QByteArray sha256;    // of the DER form: what trust is kept by
};

// Decides on a certificate that the system's authorities do not vouch for
// (self-signed, unknown issuer, another host's name). Asked on the caller's
// thread, before anything of the login is sent.
class CertificateTrust {
public:
    virtual ~CertificateTrust() = default;
    virtual bool trusts(const ServerCertificate &certificate) = 0;
};

} // namespace vendrel
