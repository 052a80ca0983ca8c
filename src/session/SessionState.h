#pragma once

#include "session/ftp/FtpService.h"

#include <QString>

namespace vendrel {

// The one record of the open FTP session, the last connect's parameters and
// the current folders on both sides. Owned by the main window, read and
// written by the panes.
struct SessionState {
    FtpHandle InternetHandle = 0;
    FtpHandle ConnectionHandle = 0;
    quint32 TransferType = 0; // FTP_TRANSFER_TYPE_ASCII or _BINARY; 0 before the first connect
    QString ServerAddress;
    QString UserName;
    QString Password;
    quint16 ServerPort = 0;
    QString LocalFolder;      // always ends with '/'
    QString RemoteFolder;     // absolute, begins and ends with '/'
    QString RemoteSearchSpec; // RemoteFolder followed by a file pattern

    bool isConnected() const { return InternetHandle != 0 && ConnectionHandle != 0; }
};

} // namespace vendrel
