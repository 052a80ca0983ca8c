#pragma once

#include "listing/FileListModel.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vendrel {

class WildcardPattern;

// What one reading of a local folder finds. Hidden entries (names that begin
// with a point) and special files (devices, sockets, pipes, broken links) are
// left out, as the hidden and system files always were.
struct LocalFolderContents {
    QStringList subfolders;     // names, in name order
    std::vector<FileRow> files; // the files whose names match the pattern, in name order
};

// Reads the folder once: names, sizes and times in one pass.
LocalFolderContents readLocalFolder(const QString &folder, const WildcardPattern &pattern);
// The visible sub-folders only, in name order.
QStringList readSubfolders(const QString &folder);

// A folder that exists and whose entries can be listed and entered.
bool isReadableFolder(const QString &folder);
// The folder itself when it can be read, else its nearest ancestor that can, else "/".
QString nearestReadableFolder(const QString &folder);
// The folder that holds the path; "/" for "/".
QString parentFolder(const QString &path);
// An absolute path without "." or "..", without a trailing '/' but for "/".
QString cleanFolderPath(const QString &folder);

} // namespace vendrel
