#pragma once

#include "session/SessionContext.h"
#include "transfer/TransferBatch.h"

#include <functional>
#include <optional>

class QWidget;

namespace vendrel {

class FileListModel;
class FileListView;
class FrmProg;

// The two file lists a transfer is chosen from.
struct TransferLists {
    FileListView &ListView1; // local files
    FileListModel &localFiles;
    FileListView &ListView2; // server files
    FileListModel &remoteFiles;
};

// Turns the selected rows of a file list into a batch, logs it, shows the
// transfer window with it and, once the window is closed, refreshes the
// pane that received the files.
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

private:
    // The selected rows as a batch, each logged with its number; nothing
    // when no row is selected.
    std::optional<TransferBatch> collect(TransferDirection direction, const QString &notConnectedText);
    void showBatch(TransferBatch batch);

    SessionContext context_;
    TransferLists lists_;
    Refresh refreshLocal_;
    Refresh refreshRemote_;
    QWidget *owner_;
    ShowWindow showWindow_;
};

} // namespace vendrel
