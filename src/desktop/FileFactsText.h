#pragma once

#include <QDateTime>
#include <QString>

namespace vendrel {

// A size as our windows show it: "1 536 octets", and above 1000 bytes
// "1,54 Ko (1 536 octets)".
QString fileSizeText(qint64 bytes);
// "5 décembre 2026 à 09:07:33"; "inconnue" for a time that is not known.
QString fileTimeText(const QDateTime &time);

} // namespace vendrel
