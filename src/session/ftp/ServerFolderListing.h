#pragma once

#include "session/ftp/FtpService.h"

#include <vector>

namespace vendrel {

// Every entry of a server folder, read through the find calls in one pass.
struct ServerFolderListing {
    std::vector<FindData> entries;
    int error = 0; // the listing's failure; 0 when it succeeded, an empty folder included
};

// folder ends with '/'; the find handle is closed before returning.
ServerFolderListing listServerFolder(FtpService &ftp, FtpHandle connection, const QString &folder);

} // namespace vendrel
