#include "session/tls/TrustOnFirstUse.h"

#include "platform/Clock.h"
#include "platform/Dialogs.h"

using namespace Qt::StringLiterals;

namespace vendrel {

namespace {

QString dateText(const QDateTime &utc)
{
    const QDateTime local = utc.toLocalTime();
    return shortDateText(local.date()) + u' ' + timeOfDayText(local.time());
}

QString describe(const ServerCertificate &certificate)
{
    return u"Hôte : "_s + certificate.host + u':' + QString::number(certificate.port) + u"\nSujet : "_s
           + certificate.subject + u"\nÉmetteur : "_s + certificate.issuer + u"\nValide du "_s
           + dateText(certificate.validFrom) + u" au "_s + dateText(certificate.validUntil);
}

GuardedQuestion questionFor(const ServerCertificate &certificate, const QByteArray &trustedBefore)
{
    GuardedQuestion question;
    question.acceptButton = u"Faire confiance"_s;
    question.option = u"Toujours faire confiance à ce certificat pour cet hôte"_s;
    if (trustedBefore.isEmpty()) {
        question.title = u"Certificat inconnu"_s;
        question.text =
            u"Aucune autorité reconnue par le système ne garantit le certificat de ce serveur.\n\n"_s
            + describe(certificate) + u"\nEmpreinte SHA-256 : "_s + fingerprintText(certificate.sha256)
            + u"\n\nNe faites confiance à ce certificat que si son empreinte est celle que l'administrateur "
              "du serveur vous a donnée."_s;
    } else {
        question.title = u"Certificat changé !"_s;
        question.text = u"Le certificat de ce serveur n'est plus celui auquel vous avez fait confiance : "
                        "quelqu'un peut s'être placé entre vous et le serveur.\n\n"_s
                        + describe(certificate) + u"\nAncienne empreinte SHA-256 : "_s + fingerprintText(trustedBefore)
                        + u"\nNouvelle empreinte SHA-256 : "_s + fingerprintText(certificate.sha256);
    }
    return question;
}

} // namespace

TrustOnFirstUse::TrustOnFirstUse(TrustedCertificates store, Dialogs &dialogs)
    : store_(std::move(store)), dialogs_(dialogs)
{
}

bool TrustOnFirstUse::trusts(const ServerCertificate &certificate)
{
    const QByteArray trustedBefore = store_.fingerprint(certificate.host, certificate.port);
    if (!trustedBefore.isEmpty() && trustedBefore == certificate.sha256)
        return true;
    const GuardedAnswer answer = dialogs_.askGuarded(questionFor(certificate, trustedBefore));
    if (!answer.accepted)
        return false;
    if (answer.optionChecked && !store_.remember(certificate.host, certificate.port, certificate.sha256)) {
        dialogs_.message(u"Impossible d'enregistrer le certificat approuvé : la question sera posée à nouveau."_s,
                         MessageButtons::Ok, MessageIcon::Exclamation);
    }
    return true;
}

} // namespace vendrel
