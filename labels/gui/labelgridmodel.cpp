#include "labels/gui/labelgridmodel.h"

#include <QColor>

#include <algorithm>

namespace oboro {

LabelGridModel::LabelGridModel(const std::vector<LabelRow>& rows, int columns, std::vector<LabelColumn> editable,
                               Edit edit, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), columns_(columns), editable_(std::move(editable)), edit_(std::move(edit))
{
}

int LabelGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LabelGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant LabelGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
        return {};
    const LabelRow& r = rows_[static_cast<size_t>(index.row())];
    const auto column = static_cast<LabelColumn>(index.column());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(labelCell(r, column));
    if (role == Qt::ForegroundRole && column == LabelColumn::Text)
        return QColor(r.color & 0xFF, (r.color >> 8) & 0xFF, (r.color >> 16) & 0xFF);
    return {};
}

QVariant LabelGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < headings_.size() ? headings_[section] : QVariant();
    return section + 1;
}

Qt::ItemFlags LabelGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() &&
        std::find(editable_.begin(), editable_.end(), static_cast<LabelColumn>(index.column())) != editable_.end())
        f |= Qt::ItemIsEditable;
    return f;
}

bool LabelGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !edit_)
        return false;
    const bool ok = edit_(index.row(), static_cast<LabelColumn>(index.column()), value.toString().toStdString());
    emit dataChanged(index, index);
    return ok;
}

void LabelGridModel::reset()
{
    beginResetModel();
    endResetModel();
}

} // namespace oboro
