#pragma once

#include "platform/ByteCount.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <numeric>

namespace vendrel {

enum class TransferDirection { Download, Upload };

// The files of one transfer, as the selection handed them over: names
// relative to the current folders, sizes as listed. Kept apart from the
// window's captions so every run can start again from its first file.
struct TransferBatch {
    TransferDirection direction = TransferDirection::Download;
    QList<QString> names;
    QList<qint64> sizes; // index for index with names

    int count() const { return static_cast<int>(names.size()); }
    qint64 total() const { return std::accumulate(sizes.begin(), sizes.end(), qint64(0), addBytes); }
    void append(const QString &name, qint64 size)
    {
        names.append(name);
        sizes.append(size);
    }
};

} // namespace vendrel
