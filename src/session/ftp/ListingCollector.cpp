#include "session/ftp/ListingCollector.h"

namespace vendrel {

ListingCollector::ListingCollector(ListingFormat format, const QString &pattern, const QDateTime &now)
    : format_(format), pattern_(pattern), now_(now)
{
}

void ListingCollector::feed(QByteArrayView chunk)
{
    lines_.feed(chunk, [this](QByteArrayView line) { take(line); });
}

std::vector<ListingEntry> ListingCollector::finish()
{
    lines_.finish([this](QByteArrayView line) { take(line); });
    return std::move(entries_);
}

void ListingCollector::take(QByteArrayView line)
{
    std::optional<ListingEntry> entry = parseListingLine(line, format_, now_);
    // The pattern picks files; folders always come, so a filtered folder can still be left.
    if (entry && (entry->record.isFolder() || pattern_.matches(entry->record.name)))
        entries_.push_back(std::move(*entry));
}

} // namespace vendrel
