#include "ClockGridModel.h"

#include "GridErrors.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QPointer>
#include <set>

namespace plax::editor {

using db::Value;

namespace {

const char* const kCaptions[kColumnCount] = {"",     "Date In",     "Clock In",      "Date Out", "Clock Out",
                                             "Week", "Total Hours", "Total Minutes", ""};
// Widths in twips (15 to a pixel); 0 keeps the default.
const int kWidths[kColumnCount] = {0, 1100, 1100, 1100, 1100, 700, 1100, 0, 0};

bool isDateColumn(int c) { return c == colTDate || c == colDateOut; }
bool isTimeColumn(int c) { return c == colClockIn || c == colClockOut; }
bool isGrey(int c) { return c == colWeek || c == colTotalHrs || c == colTotalMin; }
bool isLocked(int c) { return c == colTotalHrs || c == colTotalMin; }

QString shown(int column, const Value& v) {
    if (v.isNull())
        return {};
    if (isDateColumn(column))
        if (const auto d = v.toDate())
            return d->toShortDate();
    if (isTimeColumn(column))
        if (const auto t = v.toTime())
            return t->toHm();
    return v.toString();
}

// The typed text as the column's value; nullopt when it does not read.
std::optional<Value> typed(int column, const QString& raw) {
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return Value();
    if (isDateColumn(column)) {
        const auto d = parseDate(text);
        return d ? std::optional<Value>(Value(*d)) : std::nullopt;
    }
    if (isTimeColumn(column)) {
        // The forms a time box reads ("7a", "1000p", "10:00 PM", "2200"),
        // hours without a or p on the 24-hour clock the cells show; seconds
        // (a pasted "22:00:00") are dropped.
        auto t = TimeOfDay::parseTyped(text);
        if (!t)
            t = TimeOfDay::parse(text);
        return t ? std::optional<Value>(Value(*t)) : std::nullopt;
    }
    if (column == colEmpID)
        return Value(text);
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? std::optional<Value>(Value(n)) : std::nullopt;
}

} // namespace

ClockGridModel::ClockGridModel(std::unique_ptr<ClockGrid> grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(std::move(grid)) {}

int ClockGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_->rowCount() + 1;
}

int ClockGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ClockGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::BackgroundRole && isGrey(index.column()))
        return QColor(192, 192, 192);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return shown(index.column(), grid_->value(index.row(), index.column()));
    return {};
}

QVariant ClockGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return QString::fromLatin1(kCaptions[section]);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section == grid_->rowCount() ? QStringLiteral("*")
               : section == grid_->editingRow() ? QStringLiteral("✎")
                                                : QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ClockGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.isValid() && !isLocked(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ClockGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || isLocked(index.column()))
        return false;
    const int row = index.row(), column = index.column();
    if (!grid_->beforeColEdit())
        return false;
    const auto v = typed(column, value.toString());
    if (!v) {
        showGridError(db::DbError(db::err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression.")));
        return false;
    }
    const bool adding = row == grid_->rowCount();
    // Nothing changed (an editor opened and left as it was, on the new-row
    // line too): the grid fires no update, adds no row and leaves another
    // row in edit alone (its refusal has been told).
    if (adding ? v->isNull() : grid_->value(row, column) == *v)
        return true;
    if (grid_->editingRow() >= 0 && grid_->editingRow() != row && !submitRow())
        return false;
    if (adding)
        beginInsertRows(QModelIndex(), row + 1, row + 1);
    grid_->setValue(row, column, *v);
    if (adding)
        endInsertRows();
    emit dataChanged(this->index(row, 0), this->index(row, kColumnCount - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
    return true;
}

bool ClockGridModel::submitRow() {
    const int row = grid_->editingRow();
    if (row < 0)
        return true;
    try {
        grid_->saveRow();
    } catch (const std::exception& e) {
        showGridError(e);
        return false;
    }
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
    return true;
}

void ClockGridModel::cancelRow() {
    const int row = grid_->editingRow();
    if (row < 0)
        return;
    if (grid_->isNew(row)) {
        dropping_ = true;
        beginRemoveRows(QModelIndex(), row, row);
        grid_->cancelRow();
        endRemoveRows();
        dropping_ = false;
        return;
    }
    grid_->cancelRow();
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

void ClockGridModel::rowsReloaded() {
    beginResetModel();
    endResetModel();
}

ClockGridView::ClockGridView(QWidget* parent) : EntryGrid(parent) {
    setObjectName(QStringLiteral("TDBGrid1"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Rows as high as a line of text and a cell editor, so a week fits.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
    rowInEdit = [this] { return model_ ? model_->rowInEdit() : -1; };
    storeRow = [this] { return !model_ || model_->submitRow(); };
    dropRow = [this] {
        if (model_)
            model_->cancelRow();
    };
    // Leaving the grid saves the row in edit (its LostFocus).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const auto inside = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
        if (model_ && inside(old) && !inside(now) && !QApplication::activeModalWidget())
            model_->submitRow();
    });
}

void ClockGridView::setGridModel(ClockGridModel* model) {
    model_ = model;
    setModel(model);
}

void ClockGridView::setupColumns() {
    setColumnHidden(colEmpID, true);
    setColumnHidden(colRecalculate, true);
    for (int c = 0; c < kColumnCount; ++c)
        if (kWidths[c] > 0)
            fitColumn(c, kWidths[c], isDateColumn(c));
}

void ClockGridView::commitEditor() {
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

std::vector<int> ClockGridView::selectedGridRows() const {
    std::set<int> rows;
    if (model_)
        for (const QModelIndex& i : selectionModel()->selectedIndexes())
            if (i.row() < model_->grid().rowCount())
                rows.insert(i.row());
    return {rows.begin(), rows.end()};
}

bool ClockGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opens = index.isValid() && (index.flags() & Qt::ItemIsEditable) &&
                       (trigger == AllEditTriggers || (editTriggers() & trigger)) && state() != EditingState;
    if (opens && model_ && !model_->grid().beforeColEdit())
        return false;
    return EntryGrid::edit(index, trigger, event);
}

} // namespace plax::editor
