#include "local/LocalFolderReader.h"

#include "listing/RowFormat.h"
#include "platform/WildcardPattern.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace vendrel {

namespace {

// Local times of many files at once. Turning a time into local time asks the
// C library, which checks the zone file each time: 2.5 us, most of a large
// listing. The offset from UTC is looked up once per quarter of an hour (the
// finest step of any zone's changes), and for each file only when its quarter
// holds a change.
class LocalTimes {
public:
    QDateTime at(qint64 seconds)
    {
        constexpr qint64 quarter = 15 * 60;
        const qint64 start = seconds - ((seconds % quarter) + quarter) % quarter;
        auto offset = offsets_.constFind(start);
        if (offset == offsets_.cend()) {
            const int atStart = QDateTime::fromSecsSinceEpoch(start).offsetFromUtc();
            const int atEnd = QDateTime::fromSecsSinceEpoch(start + quarter - 1).offsetFromUtc();
            offset = offsets_.insert(start, atStart == atEnd ? std::optional<int>(atStart) : std::nullopt);
        }
        if (!offset->has_value())
            return QDateTime::fromSecsSinceEpoch(seconds);
        return QDateTime::fromSecsSinceEpoch(seconds, Qt::OffsetFromUTC, **offset);
    }

private:
    QHash<qint64, std::optional<int>> offsets_;
};

// Name order as a file list box gives it: case ignored, then case as a
// tie-break. Each name is folded once, not at every comparison.
template <typename T, typename NameOf>
void sortByName(std::vector<T> &items, NameOf nameOf)
{
    std::vector<std::pair<QString, std::size_t>> order;
    order.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        order.emplace_back(nameOf(items[i]).toCaseFolded(), i);
    std::sort(order.begin(), order.end(), [&](const auto &a, const auto &b) {
        if (a.first != b.first)
            return a.first < b.first;
        return nameOf(items[a.second]) < nameOf(items[b.second]);
    });
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (const auto &each : order)
        sorted.push_back(std::move(items[each.second]));
    items = std::move(sorted);
}

// One pass over the folder's entries. Only links and entries of unknown type
// are asked for their kind; files are asked for size and time only when they
// match, so a filter makes a large folder cheaper to list. Without a pattern,
// only the folders are read.
LocalFolderContents readEntries(const QString &folder, const WildcardPattern *filesMatching)
{
    LocalFolderContents contents;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr)
        return contents;
    const int dirFd = ::dirfd(dir);
    std::vector<QString> subfolders;
    LocalTimes localTimes;
    while (const dirent *entry = ::readdir(dir)) {
        // A leading point: ".", ".." and the hidden entries.
        if (entry->d_name[0] == '.')
            continue;
        const unsigned char type = entry->d_type;
        if (type != DT_DIR && type != DT_REG && type != DT_LNK && type != DT_UNKNOWN)
            continue; // devices, pipes, sockets
        if (type == DT_DIR) {
            subfolders.push_back(QFile::decodeName(entry->d_name));
            continue;
        }
        if (filesMatching == nullptr && type == DT_REG)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (type == DT_REG && !filesMatching->matches(name))
            continue;
        struct stat status {};
        // Follows links; a broken link or a file removed meanwhile is left out.
        if (::fstatat(dirFd, entry->d_name, &status, 0) != 0)
            continue;
        if (S_ISDIR(status.st_mode)) {
            subfolders.push_back(name);
        } else if (filesMatching != nullptr && S_ISREG(status.st_mode) && filesMatching->matches(name)) {
            contents.files.push_back({name, static_cast<qint64>(status.st_size), localTimes.at(status.st_mtim.tv_sec),
                                      IconForExtension(name)});
        }
    }
    ::closedir(dir);
    sortByName(subfolders, [](const QString &name) -> const QString & { return name; });
    contents.subfolders = QStringList(subfolders.begin(), subfolders.end());
    sortByName(contents.files, [](const FileRow &row) -> const QString & { return row.name; });
    return contents;
}

} // namespace

LocalFolderContents readLocalFolder(const QString &folder, const WildcardPattern &pattern)
{
    return readEntries(folder, &pattern);
}

QStringList readSubfolders(const QString &folder)
{
    return readEntries(folder, nullptr).subfolders;
}

bool isReadableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

QString nearestReadableFolder(const QString &folder)
{
    QString candidate = cleanFolderPath(folder);
    while (candidate != u"/" && !isReadableFolder(candidate))
        candidate = parentFolder(candidate);
    return candidate;
}

QString parentFolder(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

QString cleanFolderPath(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

} // namespace vendrel
