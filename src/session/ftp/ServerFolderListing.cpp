#include "session/ftp/ServerFolderListing.h"

#include "session/ftp/FtpErrorCodes.h"

namespace vendrel {

ServerFolderListing listServerFolder(FtpService &ftp, FtpHandle connection, const QString &folder)
{
    ServerFolderListing listing;
    FindData record;
    const FtpHandle find = ftp.FtpFindFirstFile(connection, folder + u'*', record,
                                                ftp::INTERNET_FLAG_RELOAD | ftp::INTERNET_FLAG_NO_CACHE_WRITE, 0);
    const int error = ftp.lastError().code;
    for (bool more = find != 0; more; more = ftp.InternetFindNextFile(find, record)) {
        if (!record.name.isEmpty())
            listing.entries.push_back(record);
    }
    ftp.InternetCloseHandle(find);
    // An empty folder is no failure.
    if (find == 0 && error != ftp::ERROR_NO_MORE_FILES)
        listing.error = error;
    return listing;
}

} // namespace vendrel
