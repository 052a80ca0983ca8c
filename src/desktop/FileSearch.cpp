#include "desktop/FileSearch.h"

#include <QDirIterator>
#include <QElapsedTimer>

namespace vendrel {

namespace {

// Long enough to make progress, short enough to keep the window fluid.
constexpr int sliceMilliseconds = 15;

} // namespace

FileSearch::FileSearch(QObject *parent) : QObject(parent)
{
    nextSlice_.setSingleShot(true);
    nextSlice_.setInterval(0);
    connect(&nextSlice_, &QTimer::timeout, this, &FileSearch::searchSlice);
}

FileSearch::~FileSearch() = default;

void FileSearch::start(const QString &folder, const QString &pattern, bool intoSubfolders)
{
    stop();
    pattern_ = WildcardPattern(pattern);
    count_ = 0;
    iterator_ =
        std::make_unique<QDirIterator>(folder, QDir::Files | QDir::NoDotAndDotDot,
                                       intoSubfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    nextSlice_.start();
}

void FileSearch::stop()
{
    if (isRunning())
        end(true);
}

void FileSearch::searchSlice()
{
    if (!isRunning())
        return;
    QElapsedTimer slice;
    slice.start();
    QList<QFileInfo> files;
    while (iterator_->hasNext()) {
        iterator_->next();
        const QFileInfo file = iterator_->fileInfo();
        if (pattern_.matches(file.fileName()))
            files.append(file);
        if (slice.elapsed() >= sliceMilliseconds)
            break;
    }
    count_ += static_cast<int>(files.size());
    if (!files.isEmpty())
        Q_EMIT found(files);
    if (iterator_->hasNext())
        nextSlice_.start();
    else
        end(false);
}

void FileSearch::end(bool stopped)
{
    nextSlice_.stop();
    iterator_.reset();
    Q_EMIT finished(count_, stopped);
}

} // namespace vendrel
