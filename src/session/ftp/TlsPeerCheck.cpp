#include "session/ftp/TlsPeerCheck.h"

#include <openssl/bio.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace vendrel {

namespace {

// Where the check of a context is found again from inside its handshake.
int checkIndex()
{
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

QString nameText(const X509_NAME *name)
{
    BIO *out = BIO_new(BIO_s_mem());
    X509_NAME_print_ex(out, name, 0, XN_FLAG_ONELINE & ~ASN1_STRFLGS_ESC_MSB);
    char *data = nullptr;
    const long length = BIO_get_mem_data(out, &data);
    const QString text = QString::fromUtf8(data, qsizetype(length));
    BIO_free(out);
    return text;
}

QDateTime timeOf(const ASN1_TIME *time)
{
    tm fields{};
    if (ASN1_TIME_to_tm(time, &fields) != 1)
        return {};
    return QDateTime(QDate(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday),
                     QTime(fields.tm_hour, fields.tm_min, fields.tm_sec), Qt::UTC);
}

ServerCertificate describe(X509 *certificate)
{
    ServerCertificate described;
    described.subject = nameText(X509_get_subject_name(certificate));
    described.issuer = nameText(X509_get_issuer_name(certificate));
    described.validFrom = timeOf(X509_get0_notBefore(certificate));
    described.validUntil = timeOf(X509_get0_notAfter(certificate));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate, EVP_sha256(), digest, &length) == 1)
        described.sha256 = QByteArray(reinterpret_cast<const char *>(digest), int(length));
    return described;
}

// "TLSv1.3" as a person reads it: "TLS 1.3".
QString protocolName(const SSL *ssl)
{
    return QString::fromLatin1(SSL_get_version(ssl)).replace(QStringLiteral("TLSv"), QStringLiteral("TLS "));
}

} // namespace

bool TlsPeerCheck::install(CURL *easy)
{
    return curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &TlsPeerCheck::sslContext) == CURLE_OK
           && curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, this) == CURLE_OK;
}

void TlsPeerCheck::expect(CURL *easy, const QByteArray &pinnedSha256)
{
    pinnedSha256_ = pinnedSha256;
    // A certificate trusted by its fingerprint is often self-signed or made
    // out to another name: only the fingerprint counts then.
    const bool byAuthorities = pinnedSha256.isEmpty();
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, long(byAuthorities));
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, byAuthorities ? 2L : 0L);
}

void TlsPeerCheck::forget()
{
    lastSeen_.reset();
    protocol_.clear();
}

CURLcode TlsPeerCheck::sslContext(CURL *, void *context, void *check)
{
    auto *sslContext = static_cast<SSL_CTX *>(context);
    SSL_CTX_set_ex_data(sslContext, checkIndex(), check);
    // Verified even when libcurl does not verify: the fingerprint is checked here.
    SSL_CTX_set_verify(sslContext, SSL_VERIFY_PEER, &TlsPeerCheck::verify);
    return CURLE_OK;
}

int TlsPeerCheck::verify(int preverified, X509_STORE_CTX *store)
{
    const auto *ssl = static_cast<const SSL *>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto *check = static_cast<TlsPeerCheck *>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), checkIndex()));
    // The server's own certificate, whichever link of its chain is judged now.
    X509 *leaf = X509_STORE_CTX_get0_cert(store);
    if (check == nullptr || leaf == nullptr)
        return 0;
    check->lastSeen_ = describe(leaf);
    check->protocol_ = protocolName(ssl);
    if (check->pinnedSha256_.isEmpty())
        return preverified;
    return check->lastSeen_->sha256 == check->pinnedSha256_ ? 1 : 0;
}

} // namespace vendrel
