#pragma once

#include <QByteArray>
#include <QString>

namespace vendrel {

// The certificates the user chose to trust always, one per host and port,
// by the SHA-256 of their DER form. The file is readable by its owner only
// and replaced at once when it changes.
class TrustedCertificates {
public:
    explicit TrustedCertificates(QString filePath);

    // The file beside the profiles of a folder.
    static QString fileIn(const QString &folder);

    // Empty when none is trusted for this host and port.
    QByteArray fingerprint(const QString &host, quint16 port) const;
    bool remember(const QString &host, quint16 port, const QByteArray &sha256);

private:
    QString filePath_;
};

} // namespace vendrel
