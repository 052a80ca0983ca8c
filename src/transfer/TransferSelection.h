#pragma once

#include "session/SessionContext.h"
#include "transfer/FolderBatch.h"
#include "transfer/TransferBatch.h"

#include <functional>
#include <optional>

class QWidget;

namespace vendrel {

class FileListModel;
class FileListView;
class FrmProg;

// The two file lists a transfer is chosen from, and where a folder is.
struct TransferLists {
    FileListView &ListView1; // local files
    FileListModel &localFiles;
    FileListView &ListView2; // server files
    FileListModel &remoteFiles;
    // The folder chosen in the local folder list ("/home/u/photos") and in
    // the server tree ("/pub/photos/"); empty when none is.
    std::function<QString()> chosenLocalFolder;
    std::function<QString()> chosenRemoteFolder;
};

// Turns the selected rows of a file list, or a chosen folder with
// everything below it, into a batch, logs it, shows the transfer window with
// it and, once the window is closed, refreshes the pane that received the
// files.
class TransferSelection {
public:
    using Refresh = std::function<void()>;
    // Shows the filled window and returns when it is closed.
    using ShowWindow = std::function<void(FrmProg &)>;

    TransferSelection(SessionContext context, TransferLists lists, Refresh refreshLocal, Refresh refreshRemote,
                      QWidget *owner);

    // Tests look at the window instead of running it modally.
    void setShowWindow(ShowWindow show) { showWindow_ = std::move(show); }

    void zLokUp_Click();
    void zRemDown_Click();
    // The chosen local folder, sent into the current server folder.
    void zLokED_Click();
    // The chosen server folder, received into the current local folder.
    void zRemRD_Click();

private:
    using CollectFolder = std::function<FolderCollection(const QString &folder)>;

    bool connectedFor(TransferDirection direction);
    // The selected rows as a batch, each logged with its number; nothing
    // when no row is selected.
    std::optional<TransferBatch> collect(TransferDirection direction);
    void transferFolder(TransferDirection direction, const QString &folder, const CollectFolder &collectTree);
    // The entries left out, the summary or why nothing can be transferred.
    bool reportCollection(const FolderCollection &collected);
    // Shows the window with the batch, then refreshes the receiving pane.
    void showBatch(TransferBatch batch);

    SessionContext context_;
    TransferLists lists_;
    Refresh refreshLocal_;
    Refresh refreshRemote_;
    QWidget *owner_;
    ShowWindow showWindow_;
};

} // namespace vendrel
