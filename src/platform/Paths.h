#pragma once

#include <QString>

namespace vendrel {

// The folder followed by one separator, whether or not it had one.
inline QString AddBackslash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// "/pub/a/b.txt": its folder "/pub/a/" and its name "b.txt".
inline QString folderPartOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}
inline QString namePartOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The text after a name's last point; a name without a point is its own extension.
inline QString extensionOf(const QString &name)
{
    const qsizetype point = name.lastIndexOf(u'.');
    return point < 0 ? name : name.mid(point + 1);
}

// A name that stays in its folder and can be shown and sent to a server: not
// empty, not "." or "..", without '/', '\' or control characters.
inline bool isSafeFileName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar ch : name) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F || ch == u'/' || ch == u'\\')
            return false;
    }
    return true;
}

// A name as messages and log lines show it: between double quotes.
inline QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

} // namespace vendrel
