#pragma once

#include "platform/WildcardPattern.h"

#include <QFileInfo>
#include <QList>
#include <QObject>
#include <QTimer>
#include <memory>

class QDirIterator;

namespace vendrel {

// Looks for files by name pattern below a folder, a slice at a time from the
// event loop, so the window that shows the results stays responsive and can
// stop the search. Hidden files and folders are left out; symbolic links to
// folders are not followed, so a loop of links cannot trap it.
class FileSearch final : public QObject {
    Q_OBJECT
public:
    explicit FileSearch(QObject *parent = nullptr);
    ~FileSearch() override;

    void start(const QString &folder, const QString &pattern, bool intoSubfolders);
    void stop();
    bool isRunning() const { return iterator_ != nullptr; }

Q_SIGNALS:
    void found(const QList<QFileInfo> &files);
    // count: files found; stopped: the search was stopped before its end.
    void finished(int count, bool stopped);

private:
    void searchSlice();
    void end(bool stopped);

    std::unique_ptr<QDirIterator> iterator_;
    WildcardPattern pattern_{QString()};
    QTimer nextSlice_;
    int count_ = 0;
};

} // namespace vendrel
