#pragma once

#include "session/ftp/FtpService.h"

#include <memory>
#include <unordered_map>
#include <variant>
#include <vector>

namespace vendrel {

class FtpConnection;

struct InternetSession {};
struct ConnectionHandleObject {
    std::shared_ptr<FtpConnection> connection;
};
struct FindHandleObject {
    std::vector<FindData> entries; // what is left to hand out
    std::size_t next = 0;
};
struct FileHandleObject {
    std::shared_ptr<FtpConnection> connection; // the file's transfer runs on it
};
using HandleObject = std::variant<InternetSession, ConnectionHandleObject, FindHandleObject, FileHandleObject>;

// The service's handles: non-zero 32-bit numbers for the objects they stand
// for, each opened through a parent (none for a session). Closing a handle
// closes everything opened through it.
class FtpHandleTable {
public:
    // 0 when the parent is no longer open (it was closed while the child was being opened).
    FtpHandle add(HandleObject object, FtpHandle parent = 0);

    template <typename T>
    T *find(FtpHandle handle)
    {
        const auto entry = entries_.find(handle);
        return entry == entries_.end() ? nullptr : std::get_if<T>(&entry->second.object);
    }

    // Takes the handle and its descendants out of the table, the handle first.
    // Empty when the handle is not open.
    std::vector<HandleObject> take(FtpHandle handle);
    std::vector<HandleObject> takeAll();

private:
    struct Entry {
        HandleObject object;
        FtpHandle parent;
    };

    std::unordered_map<FtpHandle, Entry> entries_;
    FtpHandle lastIssued_ = 0;
};

} // namespace vendrel
