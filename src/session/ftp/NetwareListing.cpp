#include "session/ftp/ListingFamilies.h"

namespace vendrel::ftplisting {

namespace {

// "d [R----F--]" or "- [RWCEAFMS]": the type, then the rights in brackets.
bool claimsNetware(QByteArrayView line)
{
    return line.size() > 2 && (line[0] == 'd' || line[0] == '-') && line[1] == ' ' && line[2] == '[';
}

std::optional<ListingEntry> parseNetwareLine(QByteArrayView line, const QDateTime &now)
{
    const Words words = leadingWords(line, 12);
    if (words.size() < 3 || !wordAt(line, words[1]).endsWith(']'))
        return std::nullopt;
    const std::optional<SizeAndDate> found = findSizeAndDate(line, words, 3, now); // after the owner
    if (!found)
        return std::nullopt;
    // The name is set off by a column of blanks, not one.
    const QByteArrayView name = line.sliced(words[found->lastDateWord + 1].begin);
    return makeEntry(name, line[0] == 'd', found->size, found->time);
}

} // namespace

const ListingFamily netwareFamily{claimsNetware, parseNetwareLine};

} // namespace vendrel::ftplisting
