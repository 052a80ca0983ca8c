#pragma once

#include <QString>

namespace vendrel {

// The folder followed by one separator, whether or not it had one.
inline QString AddBackslash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// The text after a name's last point; a name without a point is its own extension.
inline QString extensionOf(const QString &name)
{
    const qsizetype point = name.lastIndexOf(u'.');
    return point < 0 ? name : name.mid(point + 1);
}

// A name as messages and log lines show it: between double quotes.
inline QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

} // namespace vendrel
