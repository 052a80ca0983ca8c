#pragma once

#include <QByteArray>
#include <QString>

namespace vendrel {

// Files shared with the Windows predecessor (profiles, saved logs) hold
// Windows-1252 text. Characters it cannot hold become '?'.
QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);

} // namespace vendrel
