#pragma once

#include "session/ConnectParameters.h"
#include "session/SessionContext.h"

#include <QString>
#include <functional>
#include <optional>

namespace vendrel {

class TransferOptions;

// What a connect changes in the panes, which live above the session.
struct ConnectTargets {
    // Empties the server pane: tree, rows and path.
    std::function<void()> clearRemotePane;
    // Shows the server's folder at login: its node and its parents' nodes,
    // selected, then its listing. The folder begins and ends with '/'.
    std::function<void(const QString &remoteFolder)> openInitialRemoteFolder;
    // Moves the local pane to an existing folder.
    std::function<void(const QString &localFolder)> openLocalFolder;
};

// Opens and closes the one FTP session, logging every step.
class Connection {
public:
    Connection(SessionContext context, TransferOptions &options, ConnectTargets targets);

    ConnectOutcome ConnectProfile(const ConnectParameters &parameters, const std::function<void()> &hideDialog);
    void zDisconnect_Click();
    // The main window is closing: the session ends without a word.
    void closeSession();

    // 1..65535, or nothing for anything else.
    static std::optional<quint16> parsePort(const QString &text);
    // The server's folder at login as an absolute folder path ending in '/'.
    static QString remoteFolderFromLogin(const QString &directory);

private:
    void closeHandles();
    void showDisconnected();

    SessionContext context_;
    TransferOptions &options_;
    ConnectTargets targets_;
};

} // namespace vendrel
