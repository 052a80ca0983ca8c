#pragma once

#include <QtGlobal>
#include <deque>
#include <vector>

namespace vendrel {

// Bytes in transit, first in first out, kept in chunks: each byte is copied
// once in and once out, small appends share a chunk, and emptied chunks are
// kept for reuse, so a long transfer does not allocate (and fault in) fresh
// memory for every chunk. Not thread-safe; its owner locks.
class ByteQueue {
public:
    using Chunk = std::vector<char>;

    qsizetype size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }

    void append(const char *data, qsizetype length);
    // For a producer that copies large pieces outside its lock: whether a
    // piece still fits the last chunk (then append it), else an empty chunk
    // with room for it, to fill and push.
    bool fitsLastChunk(qsizetype length) const;
    Chunk emptyChunk(qsizetype length);
    void push(Chunk chunk);
    // For a consumer that reads outside its lock: the first chunk whole, and
    // the chunk given back once read.
    Chunk takeChunk();
    void recycle(Chunk chunk);
    // Moves up to maxLength bytes into out; returns how many.
    qsizetype take(char *out, qsizetype maxLength);
    void clear();

private:
    void retireHead();

    std::deque<Chunk> chunks_;
    std::vector<Chunk> spare_;
    qsizetype headOffset_ = 0; // bytes of the first chunk already taken
    qsizetype size_ = 0;
};

} // namespace vendrel
