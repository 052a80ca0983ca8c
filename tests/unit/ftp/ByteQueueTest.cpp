#include "session/ftp/ByteQueue.h"
#include "session/ftp/FtpHandleTable.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace vendrel {
namespace {

QByteArray pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed) % 251);
    return bytes;
}

// Bytes come out in the order they went in, whichever way they were put and taken.
TEST(ByteQueue, KeepsTheOrderAcrossAppendsPushesAndTakes)
{
    ByteQueue queue;
    QByteArray in;
    QByteArray out;
    int seed = 0;
    for (int round = 0; round < 50; ++round) {
        const QByteArray small = pattern(1000 + round, ++seed);
        queue.append(small.constData(), small.size());
        in += small;
        const QByteArray large = pattern(100'000 + round * 7, ++seed);
        if (queue.fitsLastChunk(large.size())) {
            queue.append(large.constData(), large.size());
        } else {
            ByteQueue::Chunk chunk = queue.emptyChunk(large.size());
            chunk.insert(chunk.end(), large.begin(), large.end());
            queue.push(std::move(chunk));
        }
        in += large;
        EXPECT_EQ(queue.size(), in.size() - out.size());

        QByteArray block(1024 + round, Qt::Uninitialized);
        block.resize(queue.take(block.data(), block.size()));
        out += block;
        if (round % 3 == 0) {
            const ByteQueue::Chunk chunk = queue.takeChunk();
            out.append(chunk.data(), qsizetype(chunk.size()));
            queue.recycle(chunk);
        }
    }
    QByteArray rest(queue.size(), Qt::Uninitialized);
    EXPECT_EQ(queue.take(rest.data(), rest.size() + 10), rest.size());
    out += rest;
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_EQ(out, in);
}

TEST(FtpHandleTable, ClosingAHandleClosesWhatWasOpenedThroughIt)
{
    FtpHandleTable table;
    const FtpHandle session = table.add(InternetSession{});
    const FtpHandle connection = table.add(ConnectionHandleObject{}, session);
    const FtpHandle find = table.add(FindHandleObject{}, connection);
    const FtpHandle other = table.add(InternetSession{});
    EXPECT_NE(session, 0u);
    EXPECT_EQ(std::set<FtpHandle>({session, connection, find, other}).size(), 4u);
    EXPECT_EQ(table.add(FindHandleObject{}, 0xdead), 0u); // no such parent

    const std::vector<HandleObject> closed = table.take(session);
    ASSERT_EQ(closed.size(), 3u);
    EXPECT_TRUE(std::holds_alternative<InternetSession>(closed[0]));
    EXPECT_FALSE(table.find<FindHandleObject>(find));
    EXPECT_FALSE(table.find<ConnectionHandleObject>(connection));
    EXPECT_TRUE(table.find<InternetSession>(other));
    EXPECT_FALSE(table.find<ConnectionHandleObject>(other)); // a handle is of one kind
    EXPECT_TRUE(table.take(session).empty());
    EXPECT_TRUE(table.take(0).empty());
}

} // namespace
} // namespace vendrel
