#include "EntryGrid.h"

#include "core/types/Dates.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace plax {

EntryDelegate::EntryDelegate(EntryGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void EntryDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    const QByteArray property = editor->metaObject()->userProperty().name();
    if (property.isEmpty()) {
        grid_->cellRefused_ = false;
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    grid_->cellRefused_ = !model->setData(index, editor->property(property.constData()), Qt::EditRole);
}

EntryGrid::EntryGrid(QWidget* parent) : QTableView(parent) {
    setEditTriggers(DoubleClicked | EditKeyPressed | AnyKeyPressed);
    setItemDelegate(new EntryDelegate(this));
    verticalHeader()->viewport()->installEventFilter(this);
}

void EntryGrid::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    if (selectionModel())
        connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &EntryGrid::currentRowChanged,
                Qt::UniqueConnection);
}

void EntryGrid::fitColumn(int column, int twips, bool dates) {
    int w = std::max(twips / 15, horizontalHeader()->sectionSizeHint(column));
    if (dates) {
        const QFontMetrics cells(font());
        w = std::max(w, cells.horizontalAdvance(CalDate::ymd(2026, 12, 28).toShortDate()) +
                            3 * cells.averageCharWidth());
    }
    setColumnWidth(column, w);
}

// The first column from `from` on (in steps of `step`) that a person can
// type into on `row`; -1 when there is none.
int EntryGrid::editableColumn(int row, int from, int step) const {
    for (int c = from; c >= 0 && c < model()->columnCount(); c += step)
        if (!isColumnHidden(c) && (model()->index(row, c).flags() & Qt::ItemIsEditable))
            return c;
    return -1;
}

QModelIndex EntryGrid::tabTarget(bool next) {
    const QModelIndex at = currentIndex();
    const QAbstractItemModel* m = model();
    if (!at.isValid() || !m)
        return {};
    if (!next) {
        if (const int c = editableColumn(at.row(), at.column() - 1, -1); c >= 0)
            return m->index(at.row(), c);
        const int c = at.row() > 0 ? editableColumn(at.row() - 1, m->columnCount() - 1, -1) : -1;
        return c >= 0 ? m->index(at.row() - 1, c) : QModelIndex();
    }
    if (const int c = editableColumn(at.row(), at.column() + 1, 1); c >= 0)
        return m->index(at.row(), c);
    int row = at.row() + 1;
    if (row == m->rowCount()) {
        // The end of the new-row line: a row typed there is stored first,
        // and the cursor goes on to the new-row line that follows it.
        if (!rowInEdit || !storeRow || rowInEdit() != at.row())
            return {};
        if (!storeRow())
            return at;
        row = m->rowCount() - 1;
    }
    const int c = editableColumn(row, 0, 1);
    return c >= 0 ? m->index(row, c) : QModelIndex();
}

bool EntryGrid::focusNextPrevChild(bool next) {
    if (tabKeyNavigation() && state() != EditingState) {
        const QModelIndex to = tabTarget(next);
        if (to.isValid()) {
            setCurrentIndex(to);
            return true;
        }
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void EntryGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool refused = std::exchange(cellRefused_, false);
    if (hint != QAbstractItemDelegate::EditNextItem && hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    // The editor's text has been handed over already.
    const QModelIndex at = currentIndex();
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (refused && at.isValid()) {
        // The refusal has been told: the cell is typed again, not the next one.
        QTableView::edit(at);
        return;
    }
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    const QModelIndex to = tabTarget(next);
    if (!to.isValid()) {
        QAbstractScrollArea::focusNextPrevChild(next);
        return;
    }
    setCurrentIndex(to);
    QTableView::edit(to);
}

void EntryGrid::dropEdit() {
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex()))
        QTableView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool EntryGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (trigger == CurrentChanged || !QTableView::edit(index, trigger, event))
        return false;
    if (QWidget* editor = indexWidget(index))
        editor->installEventFilter(this); // after the delegate's, so it sees Enter first
    return true;
}

void EntryGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && state() != EditingState) {
        emit deleteRequested();
        return;
    }
    if (event->key() == Qt::Key_Escape && state() != EditingState && dropRow && rowInEdit && rowInEdit() >= 0) {
        // A new row dropped (typed on the new-row line, or gone from above
        // it): the next row starts in the first column of the new-row line,
        // not where the last one ended.
        const int rows = model()->rowCount();
        const bool newRow = currentIndex().row() == rows - 1;
        dropRow();
        const int last = model()->rowCount() - 1;
        const int column = editableColumn(last, 0, 1);
        if ((newRow || last < rows - 1) && column >= 0)
            setCurrentIndex(model()->index(last, column));
        return;
    }
    QTableView::keyPressEvent(event);
}

bool EntryGrid::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == verticalHeader()->viewport() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        // What a cell editor holds is kept; the editor closes, so the
        // Delete key that follows reaches the grid, not the cell.
        if (QWidget* editor = state() == EditingState ? indexWidget(currentIndex()) : nullptr) {
            commitData(editor);
            QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
        QWidget* focus = QApplication::focusWidget();
        if (focus != this && !isAncestorOf(focus))
            setFocus(Qt::MouseFocusReason);
        return QTableView::eventFilter(watched, event);
    }
    if (type == QEvent::KeyPress && state() == EditingState) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* editor = qobject_cast<QWidget*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && editor && editor == indexWidget(currentIndex())) {
            // Enter takes the cell and moves on, as Tab does.
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::EditNextItem);
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void EntryGrid::currentRowChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!previous.isValid() || current.row() == previous.row() || !rowInEdit || !storeRow ||
        rowInEdit() != previous.row())
        return;
    if (!storeRow())
        // The row stays in edit: the user is taken back to it.
        QTimer::singleShot(0, this, [this, back = QPersistentModelIndex(previous)] {
            if (back.isValid())
                setCurrentIndex(back);
        });
}

} // namespace plax
