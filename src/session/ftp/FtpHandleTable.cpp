#include "session/ftp/FtpHandleTable.h"

namespace vendrel {

FtpHandle FtpHandleTable::add(HandleObject object, FtpHandle parent)
{
    if (parent != 0 && !entries_.contains(parent))
        return 0;
    do {
        ++lastIssued_; // wraps; 0 and numbers still open are skipped
    } while (lastIssued_ == 0 || entries_.contains(lastIssued_));
    entries_.emplace(lastIssued_, Entry{std::move(object), parent});
    return lastIssued_;
}

std::vector<HandleObject> FtpHandleTable::take(FtpHandle handle)
{
    std::vector<HandleObject> taken;
    std::vector<FtpHandle> pending{handle};
    while (!pending.empty()) {
        const FtpHandle current = pending.back();
        pending.pop_back();
        const auto entry = entries_.find(current);
        if (entry == entries_.end())
            continue;
        taken.push_back(std::move(entry->second.object));
        entries_.erase(entry);
        for (const auto &[child, childEntry] : entries_) {
            if (childEntry.parent == current)
                pending.push_back(child);
        }
    }
    return taken;
}

std::vector<HandleObject> FtpHandleTable::takeAll()
{
    std::vector<HandleObject> taken;
    for (auto &[handle, entry] : entries_)
        taken.push_back(std::move(entry.object));
    entries_.clear();
    return taken;
}

} // namespace vendrel
