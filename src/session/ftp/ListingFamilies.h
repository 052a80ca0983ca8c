#pragma once

// The families of listing lines servers write, one parser each.
#include "session/ftp/ListingFields.h"

namespace vendrel::ftplisting {

// One family of LIST lines. `claims` looks at the first words only; a line
// a family claims is that family's alone, entry or not, so that no other
// family can read it as one of its own.
struct ListingFamily {
    bool (*claims)(QByteArrayView line);
    std::optional<ListingEntry> (*parse)(QByteArrayView line, const QDateTime &now);
};

extern const ListingFamily unixFamily;    // drwxr-xr-x 2 owner group 4096 Dec  5 09:07 pub
extern const ListingFamily dosFamily;     // 12-05-06  09:07PM       <DIR>          pub
extern const ListingFamily eplfFamily;    // +i8388621.48594,m825718503,r,s280,<tab>djb.html
extern const ListingFamily netwareFamily; // d [R----F--] supervisor  512  Jan 16 18:53 login
extern const ListingFamily vmsFamily;     // NAME.EXT;1  213/216  29-JAN-1996 03:33:12  [GROUP,OWNER]  (RWED,RWED,,)
extern const ListingFamily mvsFamily;     // SAP001 3390   2004/06/24  1    1  FB      80  3120  PS  ADMIN.CNTL
extern const ListingFamily as400Family;   // QSYS            77824 02/23/00 15:09:55 *DIR       QSYS/
extern const ListingFamily os2Family;     //    345      A    12-05-06   09:07  readme.os2

// type=file;size=12;modify=20061205210700; name
std::optional<ListingEntry> parseMlsdLine(QByteArrayView line);

// A VMS name too long for its column stands alone on its line; the rest of
// its record follows on the next one.
bool isLoneVmsName(QByteArrayView line);
std::optional<ListingEntry> parseVmsRecord(QByteArrayView nameWord, QByteArrayView details);

// The size column and the date after it in a Unix-like line, found by their
// shape from words[firstSizeWord] on, because the columns before them vary
// (no group, owners with blanks). The name follows the date's last word.
struct SizeAndDate {
    qint64 size;
    WriteTime time;
    qsizetype lastDateWord;
};
std::optional<SizeAndDate> findSizeAndDate(QByteArrayView line, const Words &words, qsizetype firstSizeWord,
                                           const QDateTime &now);

} // namespace vendrel::ftplisting
