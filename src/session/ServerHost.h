#pragma once

#include <QString>
#include <optional>

namespace vendrel {

// The server the user typed, as the FTP layer takes it: blanks around it
// trimmed and the brackets of "[::1]" removed. Nothing when the text cannot
// name a host: a host name (letters, digits, '-', '_' in dot-separated labels,
// an optional final dot, international letters allowed), an IPv4 address or
// an IPv6 address.
std::optional<QString> hostToConnect(const QString &typed);

} // namespace vendrel
