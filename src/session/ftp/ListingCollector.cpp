#include "session/ftp/ListingCollector.h"

namespace vendrel {

ListingCollector::ListingCollector(ListingFormat format, const QString &pattern, const QDateTime &now,
                                   ListingLimits limits)
    : parser_(format, now), pattern_(pattern), limits_(limits)
{
}

bool ListingCollector::feed(QByteArrayView chunk)
{
    if (!overflow_.isEmpty())
        return false;
    received_ += chunk.size();
    if (received_ > limits_.bytes) {
        giveUp(QStringLiteral("the listing was stopped past %1 bytes").arg(limits_.bytes));
        return false;
    }
    lines_.feed(chunk, [this](QByteArrayView line) { take(line); });
    return overflow_.isEmpty();
}

std::vector<ListingEntry> ListingCollector::finish()
{
    lines_.finish([this](QByteArrayView line) { take(line); });
    return std::move(entries_);
}

void ListingCollector::take(QByteArrayView line)
{
    if (!overflow_.isEmpty())
        return;
    std::optional<ListingEntry> entry = parser_.parse(line);
    // The pattern picks files; folders always come, so a filtered folder can still be left.
    if (!entry || !(entry->record.isFolder() || pattern_.matches(entry->record.name)))
        return;
    if (qsizetype(entries_.size()) == limits_.entries) {
        giveUp(QStringLiteral("the listing was stopped past %1 entries").arg(limits_.entries));
        return;
    }
    entries_.push_back(std::move(*entry));
}

// What was gathered is of no use any more: its memory goes at once.
void ListingCollector::giveUp(const QString &reason)
{
    overflow_ = reason;
    std::vector<ListingEntry>().swap(entries_);
}

} // namespace vendrel
