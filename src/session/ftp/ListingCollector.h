#pragma once

#include "platform/WildcardPattern.h"
#include "session/ftp/LineSplitter.h"
#include "session/ftp/ListingParser.h"

#include <vector>

namespace vendrel {

// How much of one listing is taken before it is given up, so that a server
// that lists without end can neither exhaust memory nor hold the caller with
// lines that give no entry. Both are far beyond real folders (the largest
// ones met hold a few hundred thousand entries): 2 million entries cost about
// 300 MB, 256 MiB of text is 2 to 4 million lines of the usual lengths.
struct ListingLimits {
    qsizetype entries = 2'000'000;
    qint64 bytes = qint64(256) * 1024 * 1024;
};

// Turns a listing into the entries that match a file pattern while its data
// streams in, so that nothing is left to do once the server has finished.
class ListingCollector {
public:
    ListingCollector(ListingFormat format, const QString &pattern, const QDateTime &now, ListingLimits limits = {});

    // False once the listing has passed a limit: the rest is not wanted.
    bool feed(QByteArrayView chunk);
    // Why the listing was given up; empty while it keeps within its limits.
    QString overflow() const { return overflow_; }
    // The entries, in the server's order, once the listing has ended.
    std::vector<ListingEntry> finish();

private:
    void take(QByteArrayView line);
    void giveUp(const QString &reason);

    ListingParser parser_;
    WildcardPattern pattern_;
    ListingLimits limits_;
    qint64 received_ = 0;
    QString overflow_;
    LineSplitter lines_{MaxListingLineBytes};
    std::vector<ListingEntry> entries_;
};

} // namespace vendrel
