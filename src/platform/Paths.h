#pragma once

#include <QString>

namespace vendrel {

// The folder followed by one separator, whether or not it had one.
inline QString AddBackslash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace vendrel
