#pragma once
// The pattern the reference-table screens share: a toolbar, an editable
// grid over one table (GridModel), the row stored when the grid loses the
// focus or the user leaves the row, one fixed message for every row the
// database refuses, refresh, print and close. frmHolidaySTP, frmDepStp,
// frmSetupMessages and frmAbsenceSTP fill in what differs.

#include "GridModel.h"
#include "SetupParts.h"
#include "core/common/EntryGrid.h"

#include <QWidget>

class QVBoxLayout;

namespace plax::setup {

class frmGridScreen : public QWidget {
    Q_OBJECT
public:
    ~frmGridScreen() override;
    bool loaded() const { return loaded_; }
    GridModel* model() const { return model_; }
    EntryGrid* grid() const { return TDBGrid1; }

    virtual void Toolbar1_ButtonClick(const QString& key);
    // The focus went from the grid (or one of its cell editors) to another
    // control of the screen: a pending row is stored.
    void TDBGrid1_LostFocus();
    // The database refused a row: the screen's fixed message.
    void TDBGrid1_Error();
    void RefreshGrid();
    // The grid's own row deletion (Delete key): after the question, the
    // selected rows go.
    virtual void deleteGridRows();
    std::vector<int> selectedRows() const;
    // The fixed message with this screen's causes.
    QString errorMessage() const;

protected:
    frmGridScreen(const QString& objectName, const QString& caption, const std::vector<ToolButton>& buttons,
                  QStringList causes, bool trailingBreak, QWidget* parent);
    // Builds the model over `table`; the screen then opens its rows.
    void makeModel(const QString& table, std::vector<GridColumn> columns);
    virtual void SetGridColumns();
    virtual void PrintList(int dest) = 0;
    void CloseForm();
    // Runs the screen's loading; a failure shows the error box.
    void load(const std::function<void()>& body);
    // Before the rows are read again: a pending row is stored. False when
    // it stays pending (refused, the message shown); the rows must then stay.
    bool pendingRowStored();

    void showEvent(QShowEvent* event) override;
    // However the screen is closed, a pending row is stored first; a
    // refused one keeps the screen open with the message.
    void closeEvent(QCloseEvent* event) override;

    QVBoxLayout* layout_;
    // Asks before selected rows are deleted.
    static bool deletionConfirmed();

    EntryGrid* TDBGrid1;
    GridModel* model_ = nullptr;

private:
    // Hands the text of an open cell editor to the model.
    void commitOpenEditor();
    void gridFocusChanged(QWidget* old, QWidget* now);

    QStringList causes_;
    bool trailingBreak_;
    bool loaded_ = false;
    bool placed_ = false;
};

} // namespace plax::setup
