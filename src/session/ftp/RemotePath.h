#pragma once

#include "session/ftp/ListingParser.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace vendrel {

// A search spec cut in two: "/pub/*.txt" lists "/pub/" and keeps the names
// that match "*.txt". The pattern never goes to the server.
struct SearchSpec {
    QString folder;  // ends with '/'
    QString pattern; // "*" when the search spec gives none
};
SearchSpec splitSearchSpec(const QString &spec);

// Paths are absolute; a relative one is taken from the folder given.
QString absoluteRemotePath(const QString &path, const QString &from);

// "ftp://host:port/" for a host name or address ("ftps://" when TLS starts
// with the first byte); nothing for a host that could smuggle anything else
// into the URL.
std::optional<QByteArray> serverUrl(const QString &host, quint16 port, bool implicitTls = false);

// How paths go on the wire. Names go as UTF-8, except names the server listed
// in bytes that are not UTF-8: those go back as the very bytes it sent, so a
// file shown through Windows-1252 can still be fetched, renamed or deleted.
class WirePaths {
public:
    // Remembers how the names of a folder's entries are written.
    void remember(const QString &folder, const std::vector<ListingEntry> &entries);

    // The path as an FTP command argument; nothing when it holds CR, LF or NUL,
    // which would end or cut the command.
    std::optional<QByteArray> commandPath(const QString &absolutePath) const;
    // The path to append to serverUrl(): "%2F" first makes it absolute on the
    // server rather than relative to the login folder; then every segment
    // percent-encoded ('#', '%', '?', blanks, accents). A trailing '/' is kept:
    // it tells a folder. Nothing for CR, LF or NUL.
    std::optional<QByteArray> urlPath(const QString &absolutePath) const;

private:
    QList<QByteArray> wireSegments(const QString &absolutePath) const;

    QHash<QString, QByteArray> rawNames_; // "/pub/caf\u00e9" -> the bytes of its last segment
};

} // namespace vendrel
