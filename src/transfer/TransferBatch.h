#pragma once

#include "listing/RowFormat.h"
#include "platform/ByteCount.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <utility>

namespace vendrel {

enum class TransferDirection { Download, Upload };

// One file of a batch, as its source lists it.
struct TransferFile {
    QString name; // relative to the batch's folders; "a/b/c.txt" inside a folder being transferred
    qint64 size = 0;
    QDateTime modified;                              // invalid when the source gave none
    ShownTime modifiedKind = ShownTime::InLocalTime; // InLocalTime: an instant, exact enough to be kept
};

// The files of one transfer, as the selection handed them over. Kept apart
// from the window's captions so every run can start again from its first file.
struct TransferBatch {
    TransferBatch() = default;
    TransferBatch(TransferDirection toward, QString local, QString remote)
        : direction(toward), localFolder(std::move(local)), remoteFolder(std::move(remote))
    {
    }

    TransferDirection direction = TransferDirection::Download;
    QString localFolder;    // ends with '/'
    QString remoteFolder;   // begins and ends with '/'
    QList<QString> folders; // relative, parents before children: made on the target side before any file
    QList<TransferFile> files;

    int count() const { return static_cast<int>(files.size()); }
    qint64 total() const
    {
        qint64 sum = 0;
        for (const TransferFile &file : files)
            sum = addBytes(sum, file.size);
        return sum;
    }
    void append(const QString &name, qint64 size) { files.append({name, size, {}, ShownTime::InLocalTime}); }
};

} // namespace vendrel
