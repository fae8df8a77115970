#pragma once
// The editable grid of the screens that take rows typed one after another
// (the reference tables, absences, clock data): a table whose last line is
// the new-row line. What it adds to a plain table view:
// - A cell editor opens when the user types into a cell (over its text),
//   presses F2, double-clicks it, or moves on to it from another editor;
//   not merely because a cell became the current one.
// - Tab and Enter in a cell move on to the next cell that can be typed
//   into, past hidden and locked columns; Shift+Tab goes back. From the end
//   of a row they go to the start of the next one; from the end of the
//   new-row line the row is stored first and the cursor waits on the new
//   new-row line, never on a stored row. Tab from the end of an empty
//   new-row line (and Shift+Tab from the first cell) leaves the grid for
//   the next control. A cell whose text the model refused keeps the
//   cursor, its editor open again on the value it holds, so what the user
//   types next goes into the same cell.
// - Leaving a row stores it (`storeRow`); a refused row takes the user
//   back to it. Escape outside a cell editor drops the row's changes
//   (`dropRow`); a new row dropped so leaves the cursor at the start of
//   the new-row line.
// - A click on a row header selects the whole row and leaves no cell
//   editor open; the Delete key, while no cell editor is open, asks the
//   screen to delete the selected rows (`deleteRequested`).
//
// Belongs to the user-interface thread.

#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace plax {

class EntryGrid;

// The cell delegate of an EntryGrid: hands what an editor holds (its user
// property: a line's text, a combo box's current text) to the model and
// tells the grid when the model refused it. Delegates the screens set for
// a column derive from it.
class EntryDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit EntryDelegate(EntryGrid* grid);
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

  private:
    EntryGrid* grid_;
};

class EntryGrid : public QTableView {
    Q_OBJECT
  public:
    explicit EntryGrid(QWidget* parent = nullptr);

    // The row holding typed values not yet stored (-1: none).
    std::function<int()> rowInEdit;
    // Stores that row; false when it was refused (the user has been told)
    // and stays in edit.
    std::function<bool()> storeRow;
    // Drops the changes of that row (Escape); a new row disappears.
    std::function<void()> dropRow;

    void setModel(QAbstractItemModel* model) override;
    // The width laid out in twips, but never narrower than the column's
    // caption or, for a column of dates, than a date in the short format
    // (a cell must not break a date over two lines).
    void fitColumn(int column, int twips, bool dates);
    // Hands the text of an open cell editor to the model, the editor open.
    using QTableView::commitData;
    // Closes an open cell editor without handing its text to the model.
    void dropEdit();

  signals:
    void deleteRequested();

  protected:
    bool focusNextPrevChild(bool next) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class EntryDelegate;
    // Where Tab (or Shift+Tab) leads from the current cell: another cell;
    // the same cell when the row there was refused; an invalid index when
    // the focus leaves the grid.
    QModelIndex tabTarget(bool next);
    int editableColumn(int row, int from, int step) const;
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);

    // The model refused the text of the editor last handed over.
    bool cellRefused_ = false;
};

} // namespace plax
