#pragma once

#include "session/ftp/FtpService.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

namespace vendrel {

enum class ListingFormat {
    Mlsd, // RFC 3659 facts: "type=file;size=12;modify=20061205210700; name"
    List, // free text in one of the families servers write (Unix "ls -l", DOS/IIS, VMS...), told apart line by line
};

// A server name as text, and the bytes to send back when they were not UTF-8.
struct ServerName {
    QString text;
    QByteArray rawBytes; // empty when the name is UTF-8 (then text says it all)
};

// Names arrive as bytes: valid UTF-8 is read as UTF-8, anything else as
// Windows-1252, the code page of the servers that do not speak UTF-8.
ServerName decodeServerName(QByteArrayView bytes);

struct ListingEntry {
    FindData record;
    QByteArray rawName; // as ServerName::rawBytes
};

// Lines longer than this are not listing lines; they are dropped whole.
constexpr qsizetype MaxListingLineBytes = 8 * 1024;

// One listing line (without its line end) as an entry, or nothing for lines
// that hold no entry the layer may hand out: totals, blank lines, garbage,
// "." and "..", devices, names that are empty or hold '/', '\' or control
// characters, lines of no family known. `now` holds the server's calendar
// fields (as Qt::UTC); it dates the recent Unix entries, which show a time
// instead of a year.
std::optional<ListingEntry> parseListingLine(QByteArrayView line, ListingFormat format, const QDateTime &now);

// Reads a listing line after line, as parseListingLine does, and joins the
// VMS records that a long name spreads over two lines.
class ListingParser {
public:
    ListingParser(ListingFormat format, const QDateTime &now);

    std::optional<ListingEntry> parse(QByteArrayView line);

private:
    ListingFormat format_;
    QDateTime now_;
    QByteArray heldVmsName_; // a name alone on its line, until the next line gives the rest
};

} // namespace vendrel
