#pragma once

#include <QList>
#include <QString>

namespace vendrel {

// A mounted volume as Drive1 lists it.
struct LocalVolume {
    QString root;  // where it is mounted: "/", "/media/usb"
    QString label; // the volume's name, often empty

    bool operator==(const LocalVolume &) const = default;
};

// The mounted volumes a user can browse, "/" first, then by mount point.
// Volumes that are not ready or hold nothing (pseudo file systems) are left out.
QList<LocalVolume> mountedVolumes();

// The mount point of the volume that holds the path.
QString volumeRootOf(const QString &path);

} // namespace vendrel
