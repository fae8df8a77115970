#pragma once
// An editable grid over the rows of one table, as the reference-table
// screens use it: every row of an updatable record set plus a new-row line
// at the end. Edits of one row are held until the row is stored (the user
// leaves it, the grid loses the focus) and then written through the record
// set, so the engine's refusals (duplicate key, wrong type, too long, empty
// key) come back as numbered errors and the screen shows its message.
//
// Belongs to the user-interface thread.

#include "platform/db/Database.h"

#include <QAbstractTableModel>
#include <functional>
#include <map>
#include <vector>

namespace plax::setup {

struct GridColumn {
    // Dates in the short date form, numbers with the locale's decimal
    // separator (core/types/Amounts.h), as shown and as typed.
    enum class Kind { Text, Date, Number };
    QString field;
    QString caption;
    Kind kind = Kind::Text;
    int widthTwips = 0; // 0 = as designed
    bool locked = false;
    bool hidden = false;
};

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(db::Database& db, QString table, std::vector<GridColumn> columns, QObject* parent = nullptr);

    const std::vector<GridColumn>& columns() const { return columns_; }

    // Re-opens the rows (`where`, `orderBy` are program-written fragments,
    // values in `params`); a pending edit is dropped.
    void open(const QString& where, const db::Params& params, const QString& orderBy);
    // Runs the same selection again; a pending edit is dropped.
    void requery();
    int recordCount() const { return rs_.recordCount(); }
    bool isNewRowLine(int row) const { return row == rs_.recordCount(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A typed cell. A value typed into another row than the pending one
    // first stores that row, and is not taken while that row is refused, so
    // the refused row keeps what was typed (false). A cell left as it was
    // (an editor opened and closed) makes no row pending; one that
    // beforeColUpdate turns down keeps its old value (true: the grid moves
    // on).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The stored (or pending) value of a cell.
    db::Value value(int row, int column) const;
    // The value of a cell as stored, whatever is pending (null on the
    // new-row line).
    db::Value storedValue(int row, int column) const;
    // Sets a cell of the pending row without the column hooks (the screens'
    // after-update rules use it).
    void setPending(int row, int column, const db::Value& v);

    bool hasPending() const { return pendingRow_ >= 0; }
    int pendingRow() const { return pendingRow_; }
    // Writes the pending row. False when the engine refused it: `refused`
    // has been emitted and the edit stays pending for the user to mend.
    bool storePending();
    // The pending row was refused and has not been changed since.
    bool refusedAsItIs() const { return hasPending() && refusedAsItIs_; }
    void cancelPending();
    // Deletes the rows (stored rows only), last first. Raises on the first
    // failure; the rows deleted before it stay deleted.
    void deleteRows(std::vector<int> rows);

    // Hooks of the screens.
    // Before a typed value goes into a cell: return false to keep the old one.
    std::function<bool(int row, int column, const QString& text)> beforeColUpdate;
    // After a cell took a typed value.
    std::function<void(int row, int column)> afterColUpdate;
    // Before a row is written (may raise to refuse it).
    std::function<void(const std::map<int, db::Value>& row)> beforeStore;
    // Before a stored row is deleted (may raise to refuse it).
    std::function<void(int row)> beforeDelete;

signals:
    void refused(int errorNumber, const QString& text);

private:
    db::Value fromText(const GridColumn& c, const QString& text) const;

    db::Database& db_;
    QString table_;
    std::vector<GridColumn> columns_;
    db::Recordset rs_;
    int shownRows_ = 1;
    int pendingRow_ = -1;
    bool refusedAsItIs_ = false;
    std::map<int, db::Value> pending_;
};

} // namespace plax::setup
