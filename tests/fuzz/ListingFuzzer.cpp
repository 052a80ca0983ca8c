// Feeds arbitrary listings to the parser and collector. The first byte picks
// the format ('M' MLSD, anything else LIST), the second the size of the
// pieces the stream arrives in; the rest is the listing.
#include "session/ftp/ListingCollector.h"

#include <cstdlib>

using namespace vendrel;

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

// What may never come out of the layer, whatever the server sends.
void checkEntry(const ListingEntry &entry)
{
    const QString &name = entry.record.name;
    check(!name.isEmpty() && name != u"." && name != u"..");
    for (const QChar ch : name)
        check(ch.unicode() >= 0x20 && ch.unicode() != 0x7F && ch != u'/' && ch != u'\\');
    check(entry.record.size >= 0);
    check(entry.rawName.isEmpty() || decodeServerName(entry.rawName).text == name);
}

std::vector<ListingEntry> collect(ListingFormat format, QByteArrayView listing, qsizetype pieceSize)
{
    const QDateTime now(QDate(2026, 3, 10), QTime(12, 0), Qt::UTC);
    ListingCollector collector(format, QStringLiteral("*"), now, {1000, 64 * 1024});
    for (qsizetype at = 0; at < listing.size(); at += pieceSize) {
        if (!collector.feed(listing.sliced(at, std::min(pieceSize, listing.size() - at))))
            return {};
    }
    return collector.finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const ListingFormat format = data[0] == 'M' ? ListingFormat::Mlsd : ListingFormat::List;
    const qsizetype pieceSize = 1 + data[1] % 64;
    const QByteArrayView listing(reinterpret_cast<const char *>(data) + 2, qsizetype(size) - 2);

    const std::vector<ListingEntry> pieces = collect(format, listing, pieceSize);
    for (const ListingEntry &entry : pieces)
        checkEntry(entry);
    // However the stream is cut, the same entries come out.
    const std::vector<ListingEntry> whole = collect(format, listing, listing.size() + 1);
    check(whole.size() == pieces.size());
    for (std::size_t i = 0; i < whole.size(); ++i)
        check(whole[i].record.name == pieces[i].record.name && whole[i].record.size == pieces[i].record.size);
    return 0;
}
