#include "session/tls/TrustedCertificates.h"

#include "platform/IniFile.h"
#include "session/ftp/ServerCertificate.h"

#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

const QString section = u"CERTIFICATS"_s;

// "ftp.example.com:990", international names in their ASCII form so the
// file's 8-bit text keeps them apart; addresses as typed ("::1:990": the
// last colon ends the host).
QString keyFor(const QString &host, quint16 port)
{
    const QByteArray ace = QUrl::toAce(host.trimmed());
    const QString name = ace.isEmpty() ? host.trimmed().toLower() : QString::fromLatin1(ace);
    return name + u':' + QString::number(port);
}

} // namespace

TrustedCertificates::TrustedCertificates(QString filePath) : filePath_(std::move(filePath)) {}

QString TrustedCertificates::fileIn(const QString &folder)
{
    return QDir(folder).filePath(u"certificats.ini"_s);
}

QByteArray TrustedCertificates::fingerprint(const QString &host, quint16 port) const
{
    const QString stored = IniFile::readString(filePath_, section, keyFor(host, port), {});
    return QByteArray::fromHex(stored.toLatin1());
}

bool TrustedCertificates::remember(const QString &host, quint16 port, const QByteArray &sha256)
{
    return IniFile::writeStrings(filePath_, section, {{keyFor(host, port), fingerprintText(sha256)}});
}

} // namespace vendrel
