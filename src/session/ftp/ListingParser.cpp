#include "session/ftp/ListingParser.h"

#include "platform/Windows1252.h"
#include "session/ftp/ListingFamilies.h"

#include <QStringDecoder>
#include <array>

namespace vendrel {

namespace {

// Unix first, as nearly every server writes it; the families that claim a
// line by its first character come before those that claim it by a column.
const std::array<const listing::ListingFamily *, 8> listFamilies = {
    &listing::unixFamily, &listing::dosFamily, &listing::eplfFamily, &listing::netwareFamily,
    &listing::vmsFamily,  &listing::mvsFamily, &listing::os2Family,  &listing::as400Family,
};

} // namespace

ServerName decodeServerName(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return {std::move(text), {}};
    const QByteArray raw = bytes.toByteArray();
    return {fromWindows1252(raw), raw};
}

std::optional<ListingEntry> parseListingLine(QByteArrayView line, ListingFormat format,
                                             const QDateTime &now)
{
    if (line.isEmpty() || line.size() > MaxListingLineBytes)
        return std::nullopt;
    if (format == ListingFormat::Mlsd)
        return listing::parseMlsdLine(line);
    for (const listing::ListingFamily *family : listFamilies) {
        if (family->claims(line))
            return family->parse(line, now);
    }
    return std::nullopt;
}

ListingParser::ListingParser(ListingFormat format, const QDateTime &now) : format_(format), now_(now)
{
}

std::optional<ListingEntry> ListingParser::parse(QByteArrayView line)
{
    if (!heldVmsName_.isEmpty()) {
        const QByteArray name = std::exchange(heldVmsName_, {});
        if (auto entry = listing::parseVmsRecord(name, line))
            return entry;
    }
    if (format_ == ListingFormat::List && line.size() <= MaxListingLineBytes && listing::isLoneVmsName(line)) {
        heldVmsName_ = line.trimmed().toByteArray();
        return std::nullopt;
    }
    return parseListingLine(line, format_, now_);
}

} // namespace vendrel
