#include "session/ftp/ListingFamilies.h"

namespace vendrel::ftplisting {

namespace {

// "YYYYMMDDHHMMSS" with optional fraction ".sss", in UTC.
QDateTime parseMlsdTime(QByteArrayView value)
{
    if (value.size() < 14)
        return {};
    const auto field = [&](qsizetype at, qsizetype width) { return parseSmallNumber(value.sliced(at, width), width); };
    int millisecond = 0;
    if (value.size() > 15 && value[14] == '.') {
        const QByteArrayView fraction = value.sliced(15).first(std::min<qsizetype>(3, value.size() - 15));
        millisecond = parseSmallNumber(fraction, 3);
        for (qsizetype i = fraction.size(); i < 3; ++i)
            millisecond *= 10;
    } else if (value.size() != 14) {
        return {};
    }
    return serverTime(QDate(field(0, 4), field(4, 2), field(6, 2)),
                      QTime(field(8, 2), field(10, 2), field(12, 2), millisecond));
}

} // namespace

std::optional<ListingEntry> parseMlsdLine(QByteArrayView line)
{
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return std::nullopt;
    bool typed = false; // a line without a type fact is not an MLSD line
    bool folder = false;
    qint64 size = 0;
    QDateTime modified;
    QByteArrayView facts = line.first(space);
    while (!facts.isEmpty()) {
        const QByteArrayView fact = takeField(facts, ';');
        const qsizetype equals = fact.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArrayView factName = fact.first(equals);
        const QByteArrayView value = fact.sliced(equals + 1);
        if (equalsIgnoringCase(factName, "type")) {
            // A link is taken for a file: a download follows it.
            const bool file = equalsIgnoringCase(value, "file") || startsWithIgnoringCase(value, "os.unix=slink")
                              || startsWithIgnoringCase(value, "os.unix=symlink");
            folder = equalsIgnoringCase(value, "dir");
            if (!file && !folder)
                return std::nullopt; // cdir, pdir, devices
            typed = true;
        } else if (equalsIgnoringCase(factName, "size")) {
            size = parseSize(value).value_or(0);
        } else if (equalsIgnoringCase(factName, "modify")) {
            modified = parseMlsdTime(value);
        }
    }
    if (!typed)
        return std::nullopt;
    return makeEntry(line.sliced(space + 1), folder, size, {modified, ServerTime::Utc});
}

} // namespace vendrel::ftplisting
