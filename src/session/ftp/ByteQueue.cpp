#include "session/ftp/ByteQueue.h"

#include <algorithm>
#include <cstring>

namespace vendrel {

namespace {
constexpr qsizetype smallestChunkBytes = 64 * 1024;
constexpr std::size_t keptSpareChunks = 8;
} // namespace

void ByteQueue::append(const char *data, qsizetype length)
{
    if (length <= 0)
        return;
    if (!fitsLastChunk(length))
        chunks_.push_back(emptyChunk(length));
    chunks_.back().insert(chunks_.back().end(), data, data + length);
    size_ += length;
}

bool ByteQueue::fitsLastChunk(qsizetype length) const
{
    return !chunks_.empty() && qsizetype(chunks_.back().capacity() - chunks_.back().size()) >= length;
}

void ByteQueue::push(Chunk chunk)
{
    if (chunk.empty())
        return;
    size_ += qsizetype(chunk.size());
    chunks_.push_back(std::move(chunk));
}

qsizetype ByteQueue::take(char *out, qsizetype maxLength)
{
    qsizetype taken = 0;
    while (taken < maxLength && !chunks_.empty()) {
        const Chunk &head = chunks_.front();
        const qsizetype count = std::min(maxLength - taken, qsizetype(head.size()) - headOffset_);
        std::memcpy(out + taken, head.data() + headOffset_, size_t(count));
        taken += count;
        headOffset_ += count;
        if (headOffset_ == qsizetype(head.size()))
            retireHead();
    }
    size_ -= taken;
    return taken;
}

ByteQueue::Chunk ByteQueue::takeChunk()
{
    if (chunks_.empty())
        return {};
    Chunk chunk = std::move(chunks_.front());
    chunks_.pop_front();
    chunk.erase(chunk.begin(), chunk.begin() + headOffset_);
    headOffset_ = 0;
    size_ -= qsizetype(chunk.size());
    return chunk;
}

void ByteQueue::recycle(Chunk chunk)
{
    if (chunk.capacity() == 0 || spare_.size() >= keptSpareChunks)
        return;
    chunk.clear(); // keeps its memory
    spare_.push_back(std::move(chunk));
}

void ByteQueue::clear()
{
    while (!chunks_.empty())
        retireHead();
    size_ = 0;
}

ByteQueue::Chunk ByteQueue::emptyChunk(qsizetype length)
{
    const auto fits = std::find_if(spare_.begin(), spare_.end(),
                                   [length](const Chunk &chunk) { return qsizetype(chunk.capacity()) >= length; });
    if (fits != spare_.end()) {
        Chunk chunk = std::move(*fits);
        spare_.erase(fits);
        return chunk;
    }
    Chunk chunk;
    chunk.reserve(size_t(std::max(length, smallestChunkBytes)));
    return chunk;
}

void ByteQueue::retireHead()
{
    Chunk chunk = std::move(chunks_.front());
    chunks_.pop_front();
    headOffset_ = 0;
    recycle(std::move(chunk));
}

} // namespace vendrel
