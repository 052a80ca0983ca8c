#include "listing/FileListModel.h"

#include "listing/RowFormat.h"
#include "platform/ByteCount.h"
#include "platform/Clock.h"

#include <QLocale>
#include <algorithm>
#include <numeric>

namespace vendrel {

namespace {

QString localDateTimeText(const QDateTime &modified)
{
    const QLocale locale;
    const QString date = locale.toString(modified.date(), QLocale::ShortFormat);
    if (modified.time() == QTime(0, 0))
        return date;
    return date + u' ' + timeOfDayText(modified.time(), locale);
}

} // namespace

FileListModel::FileListModel(FileListKind kind, QObject *parent) : QAbstractTableModel(parent), kind_(kind) {}

void FileListModel::setIcons(const std::function<QIcon(int)> &iconForIndex)
{
    for (int index = 1; index < static_cast<int>(icons_.size()); ++index)
        icons_[static_cast<std::size_t>(index)] = iconForIndex(index);
    if (!rows_.empty())
        Q_EMIT dataChanged(index(0, Name), index(rowCount() - 1, Name), {Qt::DecorationRole});
}

void FileListModel::clear()
{
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

void FileListModel::appendRows(std::vector<FileRow> rows)
{
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    if (rows_.empty())
        rows_ = std::move(rows);
    else
        rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
    if (sorted_)
        resort();
}

void FileListModel::renameRow(int row, const QString &name)
{
    rows_.at(static_cast<std::size_t>(row)).name = name;
    Q_EMIT dataChanged(index(row, Name), index(row, Name));
}

void FileListModel::sortBy(Column column, Qt::SortOrder order)
{
    sorted_ = true;
    sortColumn_ = column;
    sortOrder_ = order;
    resort();
}

void FileListModel::resort()
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<int> newRowOf = sortRows();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::vector<int> FileListModel::sortRows()
{
    const auto less = [this](const FileRow &a, const FileRow &b) {
        switch (sortColumn_) {
        case SizeKo:
        case SizeBytes: return a.size < b.size;
        case DateTime: return a.modified < b.modified;
        case Name:
        case ColumnCount: break;
        }
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    };
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    const bool ascending = sortOrder_ == Qt::AscendingOrder;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const FileRow &left = rows_[static_cast<std::size_t>(a)];
        const FileRow &right = rows_[static_cast<std::size_t>(b)];
        return ascending ? less(left, right) : less(right, left);
    });
    std::vector<FileRow> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newRowOf(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(std::move(rows_[static_cast<std::size_t>(order[i])]));
        newRowOf[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    rows_ = std::move(sorted);
    return newRowOf;
}

qint64 FileListModel::totalBytes(const QList<int> &rows) const
{
    qint64 total = 0;
    for (int row : rows)
        total = addBytes(total, fileRow(row).size);
    return total;
}

QString FileListModel::cellText(int row, Column column) const
{
    const FileRow &file = fileRow(row);
    const bool remote = kind_ == FileListKind::Remote;
    switch (column) {
    case Name: return file.name;
    case SizeKo:
        // The server side counts Ko of 1024 bytes, the local side of 1000.
        return remote ? formatSizePattern(static_cast<double>(file.size) / 1024.0) + QStringLiteral("Ko")
                      : formatSizePattern(static_cast<double>(file.size) / 1000.0) + QStringLiteral(" Ko");
    case DateTime:
        return remote ? FormatListingDateTime(file.modified, file.shownTime) : localDateTimeText(file.modified);
    case SizeBytes: return remote ? QString::number(file.size) : u' ' + QString::number(file.size);
    case ColumnCount: break;
    }
    return {};
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto column = static_cast<Column>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return cellText(index.row(), column);
    case Qt::DecorationRole:
        if (column == Name)
            return icons_[static_cast<std::size_t>(std::clamp<int>(fileRow(index.row()).icon, 1, 10))];
        return {};
    case Qt::TextAlignmentRole:
        if (column == SizeKo || column == SizeBytes)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default: return {};
    }
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    // Names are edited in place to rename; the owner of the list decides what a new name does.
    if (index.isValid() && index.column() == Name)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Name: return QStringLiteral("Fichiers");
    case SizeKo: return QStringLiteral("Taille en Ko");
    case DateTime: return QStringLiteral("Date/Heure");
    case SizeBytes:
        return kind_ == FileListKind::Remote ? QStringLiteral("Taille en octets") : QStringLiteral("Taille en Octets");
    default: return {};
    }
}

} // namespace vendrel
