#include "session/ftp/ListingParser.h"

#include "platform/Windows1252.h"
#include "session/ftp/ListingFamilies.h"

#include <QStringDecoder>
#include <array>
#include <utility>

namespace vendrel {

namespace {

// Unix first, as nearly every server writes it. Where two families could
// claim one line the stricter look goes first: a z/OS volume may be all
// digits like an OS/2 size, and an OS/2 name may begin with "*" like an IBM i
// object type.
const std::array<const ftplisting::ListingFamily *, 8> listFamilies = {
    &ftplisting::unixFamily, &ftplisting::dosFamily, &ftplisting::eplfFamily, &ftplisting::netwareFamily,
    &ftplisting::vmsFamily,  &ftplisting::mvsFamily, &ftplisting::os2Family,  &ftplisting::as400Family,
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

std::optional<ListingEntry> parseListingLine(QByteArrayView line, ListingFormat format, const QDateTime &now)
{
    if (line.isEmpty() || line.size() > MaxListingLineBytes)
        return std::nullopt;
    if (format == ListingFormat::Mlsd)
        return ftplisting::parseMlsdLine(line);
    for (const ftplisting::ListingFamily *family : listFamilies) {
        if (family->claims(line))
            return family->parse(line, now);
    }
    return std::nullopt;
}

ListingParser::ListingParser(ListingFormat format, const QDateTime &now) : format_(format), now_(now) {}

std::optional<ListingEntry> ListingParser::parse(QByteArrayView line)
{
    const QByteArray heldName = std::exchange(heldVmsName_, {});
    if (line.size() > MaxListingLineBytes)
        return std::nullopt;
    if (!heldName.isEmpty()) {
        if (auto entry = ftplisting::parseVmsRecord(heldName, line))
            return entry;
    }
    if (format_ == ListingFormat::List && ftplisting::isLoneVmsName(line)) {
        heldVmsName_ = line.trimmed().toByteArray();
        return std::nullopt;
    }
    return parseListingLine(line, format_, now_);
}

} // namespace vendrel
