#pragma once

#include "listing/RowFormat.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QIcon>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace vendrel {

// One file of a listing. Texts are made from these values when a view asks,
// so a folder of 100,000 files costs the formatting of the rows on screen only.
struct FileRow {
    QString name;
    qint64 size = 0;
    QDateTime modified;
    qint16 icon = 10;                           // IconForExtension
    ShownTime shownTime = ShownTime::AsWritten; // server rows; local times follow the desktop's rules
};

enum class FileListKind { Remote, Local };

// The rows of a file list, with the columns "Fichiers", "Taille en Ko",
// "Date/Heure" and the size in bytes.
class FileListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, SizeKo, DateTime, SizeBytes, ColumnCount };

    explicit FileListModel(FileListKind kind, QObject *parent = nullptr);

    // Images 1..10 of the file categories.
    void setIcons(const std::function<QIcon(int)> &iconForIndex);

    void clear();
    // Rows added while the list is sorted take their places in that order.
    void appendRows(std::vector<FileRow> rows);
    void renameRow(int row, const QString &name);

    // Sizes sort by bytes, dates by time, names by text; the list stays
    // sorted until it is cleared by the program's end.
    void sortBy(Column column, Qt::SortOrder order);
    bool isSorted() const { return sorted_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

    // Number and total bytes of the given rows.
    qint64 totalBytes(const QList<int> &rows) const;
    const FileRow &fileRow(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    QString cellText(int row, Column column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void resort();
    // Sorts the rows and gives, for each former row, its new row.
    std::vector<int> sortRows();

    FileListKind kind_;
    std::vector<FileRow> rows_;
    bool sorted_ = false;
    Column sortColumn_ = Name;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::array<QIcon, 11> icons_;
};

} // namespace vendrel
