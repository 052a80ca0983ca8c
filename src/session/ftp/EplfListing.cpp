#include "session/ftp/ListingFamilies.h"

namespace vendrel::ftplisting {

namespace {

// Seconds since 1970 up to the end of year 9999; later ones are no time.
QDateTime utcFromSeconds(QByteArrayView digits)
{
    constexpr qint64 LastSecond = 253402300799;
    const std::optional<qint64> seconds = parseSize(digits);
    if (!seconds || *seconds > LastSecond)
        return {};
    return QDateTime::fromSecsSinceEpoch(*seconds, Qt::UTC);
}

bool claimsEplf(QByteArrayView line)
{
    return line.startsWith('+');
}

// "+" facts separated by commas, a tab, the name: "/" a folder, "s" the size,
// "m" the time in seconds since 1970 UTC.
std::optional<ListingEntry> parseEplfLine(QByteArrayView line, const QDateTime &)
{
    const qsizetype tab = line.indexOf('\t');
    if (tab < 0)
        return std::nullopt;
    bool folder = false;
    qint64 size = 0;
    QDateTime modified;
    QByteArrayView facts = line.sliced(1, tab - 1);
    while (!facts.isEmpty()) {
        const QByteArrayView fact = takeField(facts, ',');
        if (fact == "/")
            folder = true;
        else if (fact.startsWith('s'))
            size = parseSize(fact.sliced(1)).value_or(0);
        else if (fact.startsWith('m'))
            modified = utcFromSeconds(fact.sliced(1));
    }
    return makeEntry(line.sliced(tab + 1), folder, size, {modified, ServerTime::Utc});
}

} // namespace

const ListingFamily eplfFamily{claimsEplf, parseEplfLine};

} // namespace vendrel::ftplisting
