#pragma once

#include <QString>

namespace vendrel {

class ProgressModel;

// What an engine tells the transfer window while a batch runs.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;

    virtual void runStarted(const ProgressModel &progress) = 0;
    // index is 0-based; label names the file and its listed size.
    virtual void fileStarted(int index, const QString &label) = 0;
    // Called after every block. The display repaints at screen rate and lets
    // the user's events through then, so a cancel can arrive here.
    virtual void blockDone(const ProgressModel &progress) = 0;
    virtual void runEnded(const ProgressModel &progress) = 0;
    // Whether the user cancelled since the run started.
    virtual bool cancelRequested() const = 0;
};

} // namespace vendrel
