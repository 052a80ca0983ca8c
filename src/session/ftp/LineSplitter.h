#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstring>

namespace vendrel {

// Cuts a byte stream into lines as its chunks arrive; a line ends with LF or
// CR LF, which are not part of it. Lines longer than the cap are dropped
// whole, so a hostile stream cannot make the pending line grow without end.
class LineSplitter {
public:
    explicit LineSplitter(qsizetype maxLineBytes) : maxLineBytes_(maxLineBytes) {}

    template <typename OnLine>
    void feed(QByteArrayView chunk, OnLine &&onLine)
    {
        const char *at = chunk.data();
        const char *const end = chunk.data() + chunk.size();
        while (at != end) {
            const auto *lineEnd = static_cast<const char *>(std::memchr(at, '\n', end - at));
            if (!lineEnd) {
                keep(QByteArrayView(at, end - at));
                return;
            }
            const QByteArrayView piece(at, lineEnd - at);
            if (pending_.isEmpty() && !overlong_) {
                hand(piece, onLine);
            } else {
                keep(piece);
                if (!overlong_)
                    hand(pending_, onLine);
            }
            pending_.resize(0);
            overlong_ = false;
            at = lineEnd + 1;
        }
    }

    // The last line, when the stream did not end with a line end.
    template <typename OnLine>
    void finish(OnLine &&onLine)
    {
        if (!pending_.isEmpty() && !overlong_)
            hand(pending_, onLine);
        pending_.resize(0);
        overlong_ = false;
    }

private:
    void keep(QByteArrayView piece)
    {
        if (overlong_)
            return;
        if (pending_.size() + piece.size() > maxLineBytes_ + 1) { // + 1: a CR may still follow
            overlong_ = true;
            pending_.resize(0);
            return;
        }
        pending_.append(piece);
    }

    template <typename OnLine>
    void hand(QByteArrayView line, OnLine &onLine)
    {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() <= maxLineBytes_)
            onLine(line);
    }

    qsizetype maxLineBytes_;
    QByteArray pending_;
    bool overlong_ = false; // the pending line passed the cap: skip to its end
};

} // namespace vendrel
