#pragma once

#include "platform/Paths.h"
#include "session/SessionContext.h"
#include "session/ftp/FtpService.h"

#include <QHash>
#include <QString>
#include <optional>

namespace vendrel {

// What the server holds in the folders an upload writes to, to know which
// targets exist. Each folder is listed once a run, the first time a file
// goes there; what the run itself stores or creates is noted without asking
// again.
class RemoteFolderIndex {
public:
    explicit RemoteFolderIndex(SessionContext context) : context_(context) {}

    // The entry at path (absolute); nothing when there is none, or when its
    // folder could not be listed (its files are then written as if new).
    std::optional<FindData> entry(const QString &path);
    // A folder the run has just created: empty.
    void madeEmpty(const QString &folder) { folders_.insert(AddBackslash(folder), {}); }
    void stored(const QString &path, qint64 size);

private:
    using Entries = QHash<QString, FindData>;
    Entries &folderOf(const QString &path);
    Entries list(const QString &folder);

    SessionContext context_;
    QHash<QString, Entries> folders_;
};

} // namespace vendrel
