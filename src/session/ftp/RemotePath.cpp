#include "session/ftp/RemotePath.h"

#include <QUrl>
#include <algorithm>

namespace vendrel {

namespace {

bool holdsLineBreakOrNul(const QString &path)
{
    return path.contains(u'\r') || path.contains(u'\n') || path.contains(QChar(u'\0'));
}

// "/pub/doc/" and "/pub//doc" both give "/pub/doc"; the root gives "".
QString normalizedFolderKey(const QString &folder)
{
    QString key;
    for (const QString &segment : folder.split(u'/', Qt::SkipEmptyParts))
        key += u'/' + segment;
    return key;
}

bool isPlainHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'
           || c == '_';
}

bool isIpv6Character(QChar c)
{
    return c.isDigit() || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F') || c == u':' || c == u'.';
}

} // namespace

SearchSpec splitSearchSpec(const QString &spec)
{
    const qsizetype slash = spec.lastIndexOf(u'/');
    SearchSpec parts{spec.left(slash + 1), spec.mid(slash + 1)};
    if (parts.folder.isEmpty())
        parts.folder = QStringLiteral("/");
    if (parts.pattern.isEmpty())
        parts.pattern = QStringLiteral("*");
    return parts;
}

QString absoluteRemotePath(const QString &path, const QString &from)
{
    if (path.startsWith(u'/'))
        return path;
    return from.endsWith(u'/') ? from + path : from + u'/' + path;
}

std::optional<QByteArray> serverUrl(const QString &host, quint16 port, bool implicitTls)
{
    const QString trimmed = host.trimmed();
    QByteArray hostPart;
    if (trimmed.contains(u':')) {
        if (!std::all_of(trimmed.begin(), trimmed.end(), isIpv6Character))
            return std::nullopt;
        hostPart = '[' + trimmed.toLatin1() + ']';
    } else {
        hostPart = QUrl::toAce(trimmed);
        if (hostPart.isEmpty() || !std::all_of(hostPart.begin(), hostPart.end(), isPlainHostCharacter))
            return std::nullopt;
    }
    const quint16 effectivePort = port == 0 ? 21 : port;
    return QByteArray(implicitTls ? "ftps://" : "ftp://") + hostPart + ':' + QByteArray::number(effectivePort) + '/';
}

void WirePaths::remember(const QString &folder, const std::vector<ListingEntry> &entries)
{
    const QString folderKey = normalizedFolderKey(folder);
    for (const ListingEntry &entry : entries) {
        if (entry.rawName.isEmpty() && rawNames_.isEmpty())
            continue; // the usual case: UTF-8 names, nothing to forget
        const QString key = folderKey + u'/' + entry.record.name;
        if (entry.rawName.isEmpty())
            rawNames_.remove(key);
        else
            rawNames_.insert(key, entry.rawName);
    }
}

QList<QByteArray> WirePaths::wireSegments(const QString &absolutePath) const
{
    QList<QByteArray> segments;
    QString key;
    for (const QString &segment : absolutePath.split(u'/', Qt::SkipEmptyParts)) {
        key += u'/' + segment;
        const auto raw = rawNames_.constFind(key);
        segments.append(raw != rawNames_.cend() ? *raw : segment.toUtf8());
    }
    return segments;
}

std::optional<QByteArray> WirePaths::commandPath(const QString &absolutePath) const
{
    if (holdsLineBreakOrNul(absolutePath))
        return std::nullopt;
    QByteArray path = '/' + wireSegments(absolutePath).join('/');
    if (absolutePath.endsWith(u'/') && path.size() > 1)
        path += '/';
    return path;
}

std::optional<QByteArray> WirePaths::urlPath(const QString &absolutePath) const
{
    if (holdsLineBreakOrNul(absolutePath))
        return std::nullopt;
    QList<QByteArray> segments = wireSegments(absolutePath);
    for (QByteArray &segment : segments)
        segment = segment.toPercentEncoding();
    QByteArray path = "%2F" + segments.join('/');
    if (absolutePath.endsWith(u'/') && !segments.isEmpty())
        path += '/';
    return path;
}

} // namespace vendrel
