#include "local/LocalVolumes.h"

#include <QStorageInfo>
#include <algorithm>

namespace vendrel {

QList<LocalVolume> mountedVolumes()
{
    QList<LocalVolume> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady() || storage.bytesTotal() <= 0)
            continue;
        volumes.append({storage.rootPath(), storage.name()});
    }
    std::sort(volumes.begin(), volumes.end(), [](const LocalVolume &a, const LocalVolume &b) {
        const bool aIsRoot = a.root == u"/";
        const bool bIsRoot = b.root == u"/";
        if (aIsRoot != bIsRoot)
            return aIsRoot;
        return a.root < b.root;
    });
    return volumes;
}

QString volumeRootOf(const QString &path)
{
    const QString root = QStorageInfo(path).rootPath();
    return root.isEmpty() ? QStringLiteral("/") : root;
}

} // namespace vendrel
