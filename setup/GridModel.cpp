#include "GridModel.h"

#include "core/types/Amounts.h"

#include <QColor>
#include <algorithm>

namespace plax::setup {

GridModel::GridModel(db::Database& db, QString table, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), db_(db), table_(std::move(table)), columns_(std::move(columns)) {}

void GridModel::open(const QString& where, const db::Params& params, const QString& orderBy) {
    db::Recordset rs = db_.openDynaset(table_, where, params, orderBy);
    beginResetModel();
    rs_ = std::move(rs);
    shownRows_ = rs_.recordCount() + 1;
    pendingRow_ = -1;
    pending_.clear();
    endResetModel();
}

void GridModel::requery() {
    beginResetModel();
    pendingRow_ = -1;
    pending_.clear();
    try {
        rs_.requery();
    } catch (...) {
        shownRows_ = rs_.recordCount() + 1;
        endResetModel();
        throw;
    }
    shownRows_ = rs_.recordCount() + 1;
    endResetModel();
}

// Changes of the row count are told to the views before they are counted.
int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

db::Value GridModel::value(int row, int column) const {
    if (row == pendingRow_) {
        const auto it = pending_.find(column);
        if (it != pending_.end())
            return it->second;
    }
    return storedValue(row, column);
}

db::Value GridModel::storedValue(int row, int column) const {
    if (row < 0 || row >= rs_.recordCount() || column < 0 || column >= int(columns_.size()))
        return {};
    db::Recordset& rs = const_cast<db::Recordset&>(rs_);
    const int keep = rs.absolutePosition();
    rs.move(row);
    const db::Value v = rs.field(columns_[size_t(column)].field);
    rs.move(keep);
    return v;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const GridColumn& c = columns_[size_t(index.column())];
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const db::Value v = value(index.row(), index.column());
        if (v.isNull())
            return QString();
        if (c.kind == GridColumn::Kind::Date)
            if (const auto d = v.toDate())
                return d->toShortDate();
        if (c.kind == GridColumn::Kind::Number && v.type() == db::Value::Type::Real)
            return amountText(v.toDouble());
        return v.toString();
    }
    if (role == Qt::BackgroundRole && c.locked)
        return QColor(0xC0, 0xC0, 0xC0);
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < int(columns_.size()))
        return columns_[size_t(section)].caption;
    if (o == Qt::Vertical && role == Qt::DisplayRole)
        return isNewRowLine(section) ? QStringLiteral("*") : QString();
    return QAbstractTableModel::headerData(section, o, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !columns_[size_t(index.column())].locked)
        f |= Qt::ItemIsEditable;
    return f;
}

db::Value GridModel::fromText(const GridColumn& c, const QString& text) const {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    switch (c.kind) {
    case GridColumn::Kind::Date:
        if (const auto d = parseDate(t))
            return *d;
        return text; // the engine refuses it as a wrong type
    case GridColumn::Kind::Number:
        if (const auto v = parseAmount(t))
            return *v;
        return text;
    case GridColumn::Kind::Text:
        break;
    }
    return text;
}

void GridModel::setPending(int row, int column, const db::Value& v) {
    if (pendingRow_ != row) {
        if (pendingRow_ >= 0)
            storePending();
        pendingRow_ = row;
        pending_.clear();
    }
    pending_[column] = v;
    refusedAsItIs_ = false;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || columns_[size_t(index.column())].locked)
        return false;
    const int row = index.row(), column = index.column();
    const QString text = value.toString();
    const db::Value typed = fromText(columns_[size_t(column)], text);
    if (row != pendingRow_ && typed == this->value(row, column))
        return true;
    if (pendingRow_ >= 0 && pendingRow_ != row && !storePending())
        return false;
    // A value the hook turned down: the cell keeps its old one and the
    // grid goes on with it, as if that had been typed.
    if (beforeColUpdate && !beforeColUpdate(row, column, text))
        return true;
    setPending(row, column, typed);
    if (afterColUpdate)
        afterColUpdate(row, column);
    return true;
}

bool GridModel::storePending() {
    if (pendingRow_ < 0)
        return true;
    const int row = pendingRow_;
    const bool adding = isNewRowLine(row);
    try {
        if (beforeStore) {
            std::map<int, db::Value> whole;
            for (int c = 0; c < columnCount(); ++c)
                whole[c] = value(row, c);
            beforeStore(whole);
        }
        if (adding) {
            rs_.addNew();
        } else {
            rs_.move(row);
            rs_.edit();
        }
        for (const auto& [column, v] : pending_)
            rs_.setField(columns_[size_t(column)].field, v);
        rs_.update();
        if (adding) {
            // The new-row line became a row; a new one follows it.
            beginInsertRows(QModelIndex(), shownRows_, shownRows_);
            ++shownRows_;
            endInsertRows();
        }
    } catch (const db::DbError& e) {
        rs_.cancelUpdate();
        refusedAsItIs_ = true;
        emit refused(e.number(), e.description());
        return false;
    } catch (const std::exception& e) {
        rs_.cancelUpdate();
        refusedAsItIs_ = true;
        emit refused(0, QString::fromUtf8(e.what()));
        return false;
    }
    pendingRow_ = -1;
    pending_.clear();
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    return true;
}

void GridModel::cancelPending() {
    const int row = pendingRow_;
    pendingRow_ = -1;
    pending_.clear();
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void GridModel::deleteRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row < 0 || row >= rs_.recordCount())
            continue;
        if (row == pendingRow_)
            cancelPending();
        if (beforeDelete)
            beforeDelete(row);
        rs_.move(row);
        // Deleted in the file first, so a refusal leaves the views untouched.
        db_.executeStrict(QStringLiteral("DELETE FROM [%1] WHERE rowid = ?").arg(table_), {rs_.rowId()});
        beginRemoveRows(QModelIndex(), row, row);
        rs_.deleteCurrent(); // drops the row from the record set
        --shownRows_;
        endRemoveRows();
        if (pendingRow_ > row)
            --pendingRow_;
    }
}

} // namespace plax::setup
