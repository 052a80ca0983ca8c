#include "listing/FileListModel.h"

#include "listing/RowFormat.h"

#include <QLocale>

namespace vendrel {

namespace {

QString localDateTimeText(const QDateTime &modified)
{
    const QLocale locale;
    const QString date = locale.toString(modified.date(), QLocale::ShortFormat);
    if (modified.time() == QTime(0, 0))
        return date;
    return date + u' ' + locale.toString(modified.time(), QLocale::LongFormat);
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
}

QString FileListModel::cellText(int row, Column column) const
{
    const FileRow &file = fileRow(row);
    const bool remote = kind_ == FileListKind::Remote;
    switch (column) {
    case Name:
        return file.name;
    case SizeKo:
        // The server side counts Ko of 1024 bytes, the local side of 1000.
        return remote ? formatSizePattern(static_cast<double>(file.size) / 1024.0) + QStringLiteral("Ko")
                      : formatSizePattern(static_cast<double>(file.size) / 1000.0) + QStringLiteral(" Ko");
    case DateTime:
        return remote ? FormatListingDateTime(file.modified) : localDateTimeText(file.modified);
    case SizeBytes:
        return remote ? QString::number(file.size) : u' ' + QString::number(file.size);
    case ColumnCount:
        break;
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
    case Qt::EditRole:
        return cellText(index.row(), column);
    case Qt::DecorationRole:
        if (column == Name)
            return icons_[static_cast<std::size_t>(std::clamp<int>(fileRow(index.row()).icon, 1, 10))];
        return {};
    case Qt::TextAlignmentRole:
        if (column == SizeKo || column == SizeBytes)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
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
        return kind_ == FileListKind::Remote ? QStringLiteral("Taille en octets")
                                             : QStringLiteral("Taille en Octets");
    default: return {};
    }
}

} // namespace vendrel
