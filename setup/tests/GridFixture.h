#pragma once
// The setup fixture with what a person does to a grid screen: typing into a
// cell and clicking another row, through the running event loop.

#include "SetupFixture.h"
#include "setup/frmGridScreen.h"
#include "testing/ScreenEvents.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

namespace plax::setup::test {

class GridFixture : public SetupFixture {
protected:
    // Types over the text of a cell, clicking it and pressing F2 first
    // unless its editor is open already (Tab leads there); the editor stays
    // open.
    void typeCell(frmGridScreen& f, int row, int column, const QString& text) {
        QTableView* g = f.grid();
        const QModelIndex at = g->model()->index(row, column);
        if (!g->indexWidget(at)) {
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(at).center());
            QTest::keyClick(g, Qt::Key_F2);
        }
        plax::test::waitUntil([&] { return g->indexWidget(at) != nullptr; });
        QWidget* editor = g->indexWidget(at);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
    }
    // Clicks another row: the row left is stored.
    void clickRow(frmGridScreen& f, int row) {
        QTableView* g = f.grid();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(row, 0)).center());
    }
    // Clicks a cell: it becomes the current one (typing goes into it).
    void clickCell(frmGridScreen& f, int row, int column) {
        QTableView* g = f.grid();
        const QModelIndex at = g->model()->index(row, column);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(at).center());
        plax::test::waitUntil([&] { return g->currentIndex() == at; });
    }
    QString cell(GridModel* m, int row, int column) { return m->data(m->index(row, column)).toString(); }
    // Clicks a named control of the screen, made the active window first.
    void clickOn(QWidget* screen, const char* name) {
        if (!screen->isActiveWindow())
            plax::test::showActive(screen);
        QTest::mouseClick(child<QWidget>(screen, name), Qt::LeftButton);
    }
    // The dates of the rows of an absence grid (its second column), in order.
    QStringList dates(GridModel* m) {
        QStringList out;
        for (int r = 0; r < m->recordCount(); ++r)
            out << m->value(r, 1).toString();
        out.sort();
        return out;
    }
    int currentRow(frmGridScreen& f) { return f.grid()->currentIndex().row(); }
};

} // namespace plax::setup::test
