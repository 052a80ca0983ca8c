#pragma once

#include "session/ftp/ServerCertificate.h"

#include <QByteArray>
#include <curl/curl.h>
#include <optional>

struct x509_store_ctx_st;

namespace vendrel {

// Judges the server's certificate inside every TLS handshake of one
// connection, control and data alike, so that a certificate refused stops
// the handshake before a byte of the login goes out. Either the system's
// authorities vouch for it for the host name (libcurl's own check, kept), or
// it is exactly the certificate the user trusted (its SHA-256). Session
// resumption, which the data connections use, proves the same server without
// a certificate. Runs on the worker thread; needs libcurl built on OpenSSL.
class TlsPeerCheck {
public:
    // False when libcurl cannot hand over its TLS context (another TLS library).
    bool install(CURL *easy);
    // For the next request: the certificate trusted by its SHA-256, or empty
    // for the system's authorities.
    void expect(CURL *easy, const QByteArray &pinnedSha256);

    // The certificate of the last full handshake (host and port not set).
    const std::optional<ServerCertificate> &lastSeen() const { return lastSeen_; }
    // "TLS 1.3", as agreed in the last full handshake.
    const QString &protocol() const { return protocol_; }
    void forget();

private:
    static CURLcode sslContext(CURL *easy, void *context, void *check);
    static int verify(int preverified, ::x509_store_ctx_st *store);

    QByteArray pinnedSha256_;
    std::optional<ServerCertificate> lastSeen_;
    QString protocol_;
};

} // namespace vendrel
