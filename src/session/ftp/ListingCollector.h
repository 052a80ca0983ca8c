#pragma once

#include "platform/WildcardPattern.h"
#include "session/ftp/LineSplitter.h"
#include "session/ftp/ListingParser.h"

#include <vector>

namespace vendrel {

// Turns a listing into the entries that match a file pattern while its data
// streams in, so that nothing is left to do once the server has finished.
class ListingCollector {
public:
    ListingCollector(ListingFormat format, const QString &pattern, const QDateTime &now);

    void feed(QByteArrayView chunk);
    // The entries, in the server's order, once the listing has ended.
    std::vector<ListingEntry> finish();

private:
    void take(QByteArrayView line);

    ListingFormat format_;
    WildcardPattern pattern_;
    QDateTime now_;
    LineSplitter lines_{MaxListingLineBytes};
    std::vector<ListingEntry> entries_;
};

} // namespace vendrel
