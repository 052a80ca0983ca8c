#pragma once

#include "session/ftp/FtpService.h"
#include "transfer/TransferBatch.h"

#include <QList>
#include <QString>

namespace vendrel {

// Why a folder's tree was not collected whole. Nothing of such a tree is
// transferred: half a tree would look complete on the other side.
enum class CollectionFailure {
    None,
    ListingFailed, // a folder could not be listed
    TooDeep,       // more than MaxFolderDepth levels: a server listing a folder inside itself has no end
    Cancelled,     // the user cancelled a listing that kept the server waiting
};

// Levels of sub-folders below the chosen folder that a collection accepts.
constexpr int MaxFolderDepth = 100;

// A local entry left out of a tree; the collection goes on without it.
struct SkippedEntry {
    enum class Reason {
        Unreadable,   // no permission, or a link that leads nowhere
        LinkToFolder, // not followed: a link to a folder above it would never end
        Special,      // a device, pipe or socket: nothing to send
    };
    QString path;
    Reason reason;
};

// A folder with everything below it, as one batch whose folders begin with
// the chosen folder's own name ("photos/") and whose files are named from
// there ("photos/2020/a.jpg"). Each folder's files come before its
// sub-folders, both in the order a person reads names (case ignored,
// numbers by value).
struct FolderCollection {
    TransferBatch batch;
    CollectionFailure failure = CollectionFailure::None;
    QString failedFolder; // where the collection stopped, as the user knows it
    QList<SkippedEntry> skipped;
};

// The local folder (absolute) and everything below it, as an upload that
// recreates it, by its name, inside remoteFolder.
FolderCollection collectLocalFolder(const QString &folder, const QString &remoteFolder);

// The server folder (absolute, ending in '/') and everything below it,
// listed one folder at a time, as a download that recreates it inside
// localFolder.
FolderCollection collectRemoteFolder(FtpService &ftp, FtpHandle connection, const QString &folder,
                                     const QString &localFolder);

} // namespace vendrel
