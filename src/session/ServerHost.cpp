#include "session/ServerHost.h"

#include <QUrl>
#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>

namespace vendrel {

namespace {

bool isAddress(int family, const QString &text)
{
    const QByteArray latin1 = text.toLatin1();
    in6_addr parsed{}; // large enough for both families
    return !latin1.contains('\0') && inet_pton(family, latin1.constData(), &parsed) == 1;
}

bool isLabelCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

bool isLabel(const QByteArray &label)
{
    return !label.isEmpty() && label.size() <= 63 && !label.startsWith('-') && !label.endsWith('-')
           && std::all_of(label.begin(), label.end(), isLabelCharacter);
}

bool isHostName(const QString &text)
{
    QByteArray ace = QUrl::toAce(text); // lower case, international names in their ASCII form
    if (ace.endsWith('.'))
        ace.chop(1);
    if (ace.isEmpty() || ace.size() > 253)
        return false;
    const QList<QByteArray> labels = ace.split('.');
    // An all-digit last label is a mistyped IPv4 address, never a domain.
    const QByteArray &last = labels.last();
    return std::all_of(labels.begin(), labels.end(), isLabel)
           && !std::all_of(last.begin(), last.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<QString> hostToConnect(const QString &typed)
{
    const QString host = typed.trimmed();
    if (host.startsWith(u'[') && host.endsWith(u']')) {
        const QString inside = host.sliced(1, host.size() - 2);
        return isAddress(AF_INET6, inside) ? std::optional(inside) : std::nullopt;
    }
    if (isAddress(AF_INET6, host) || isAddress(AF_INET, host) || isHostName(host))
        return host;
    return std::nullopt;
}

} // namespace vendrel
