#pragma once

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
    qint16 icon = 10; // IconForExtension
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
    void appendRows(std::vector<FileRow> rows);
    const FileRow &fileRow(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    QString cellText(int row, Column column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    FileListKind kind_;
    std::vector<FileRow> rows_;
    std::array<QIcon, 11> icons_;
};

} // namespace vendrel
