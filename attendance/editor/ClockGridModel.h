#pragma once
// The item model of the clock-data grid over ClockGrid, with one empty
// line at the end for a new row, and the view that asks before a cell is
// edited. Typed text is read as a date, a time or a number by column; text
// that does not read gets the grid's "does not match the type" message.

#include "ClockGrid.h"
#include "core/common/EntryGrid.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <memory>

namespace plax::editor {

// The model owns its rows, so a view that still asks for them while its
// screen is torn down never reaches freed rows.
class ClockGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ClockGridModel(std::unique_ptr<ClockGrid> grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A cell left as it was does nothing. Otherwise saves another row in
    // edit first (refused when that fails), then runs the grid's update
    // handlers for the cell.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Writes the row in edit; on a failure shows the grid's message and
    // keeps the row in edit.
    bool submitRow();
    // Drops the changes of the row in edit; a new row disappears.
    void cancelRow();
    // The row in edit; none while a dropped new row is being taken away
    // (the cursor leaving it then is no move of the user's).
    int rowInEdit() const { return dropping_ ? -1 : grid_->editingRow(); }
    // Tells the views that the rows were loaded anew.
    void rowsReloaded();
    ClockGrid& grid() { return *grid_; }
    const ClockGrid& grid() const { return *grid_; }

private:
    std::unique_ptr<ClockGrid> grid_;
    bool dropping_ = false;
};

// TDBGrid1: the row-entry grid (EntryGrid: Tab and Enter move on, leaving
// a row saves it, Delete asks the screen to delete the selected rows) that
// refuses to open an editor when no employee is chosen, saves the row in
// edit when the focus leaves the grid, and drops the changes of the row in
// edit on Escape.
class ClockGridView : public EntryGrid {
    Q_OBJECT
public:
    explicit ClockGridView(QWidget* parent = nullptr);
    using QTableView::edit;
    void setGridModel(ClockGridModel* model);
    // SetupClockGridColumns: captions, widths, hidden and locked columns.
    void setupColumns();
    // Hands what is typed in an open cell editor to the row and closes it.
    void commitEditor();
    // The rows with a selected cell, in order.
    std::vector<int> selectedGridRows() const;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    QPointer<ClockGridModel> model_;
};

} // namespace plax::editor
