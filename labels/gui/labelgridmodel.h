#pragma once
// A grid of label rows for the label windows: the cells as labelCell gives them, typed
// changes handed to an edit function (which may refuse them). The rows are not copied:
// the grid shows the vector it was given, and reset() follows its changes.
#include "labels/labeltable.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

namespace oboro {

class LabelGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Edit = std::function<bool(int row, LabelColumn column, const std::string& typed)>;
    // columns: how many of the ten label columns are shown (from the first);
    // editable: the columns that take typed text.
    LabelGridModel(const std::vector<LabelRow>& rows, int columns, std::vector<LabelColumn> editable, Edit edit,
                   QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The rows have changed: the grid shows them again.
    void reset();
    // The headings of the columns.
    void setHeadings(const QStringList& headings) { headings_ = headings; }

private:
    const std::vector<LabelRow>& rows_;
    int columns_;
    std::vector<LabelColumn> editable_;
    Edit edit_;
    QStringList headings_;
};

} // namespace oboro
