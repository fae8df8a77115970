#include "frmGridScreen.h"

#include <algorithm>

#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace plax::setup {
namespace {

bool within(const QWidget* outer, const QWidget* w) { return w && (w == outer || outer->isAncestorOf(w)); }

} // namespace

frmGridScreen::frmGridScreen(const QString& objectName, const QString& caption,
                             const std::vector<ToolButton>& buttons, QStringList causes, bool trailingBreak,
                             QWidget* parent)
    : QWidget(parent), causes_(std::move(causes)), trailingBreak_(trailingBreak) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    TDBGrid1 = new EntryGrid(this);
    TDBGrid1->setObjectName(QStringLiteral("TDBGrid1"));
    TDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont bold = TDBGrid1->horizontalHeader()->font();
    bold.setBold(true);
    TDBGrid1->horizontalHeader()->setFont(bold);
    connect(TDBGrid1, &EntryGrid::deleteRequested, this, [this] { deleteGridRows(); });
    layout_ = new QVBoxLayout(this);
    layout_->addWidget(makeToolbar(this, buttons, [this](const QString& key) { Toolbar1_ButtonClick(key); }));
    layout_->addWidget(TDBGrid1, 1);
    resize(560, 420);
    // A cell editor, not the grid, holds the focus while a cell is typed
    // into, so the grid itself is not told when the focus leaves it.
    connect(qApp, &QApplication::focusChanged, this, &frmGridScreen::gridFocusChanged);
}

// The controls go after this part of the screen: a focus change their
// going causes must not reach it.
frmGridScreen::~frmGridScreen() {
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // Destroyed without being closed (the program ending) while a cell is
    // typed in: the text is dropped. Handed over later, when the grid goes,
    // it would reach the hooks of a screen already half destroyed.
    TDBGrid1->dropEdit();
}

void frmGridScreen::makeModel(const QString& table, std::vector<GridColumn> columns) {
    model_ = new GridModel(companyDb(), table, std::move(columns), this);
    TDBGrid1->setModel(model_);
    connect(model_, &GridModel::refused, this, [this] { TDBGrid1_Error(); });
    TDBGrid1->rowInEdit = [this] { return model_->pendingRow(); };
    TDBGrid1->storeRow = [this] { return model_->storePending(); };
    TDBGrid1->dropRow = [this] { model_->cancelPending(); };
}

void frmGridScreen::load(const std::function<void()>& body) {
    try {
        body();
        loaded_ = true;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmGridScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void frmGridScreen::gridFocusChanged(QWidget* old, QWidget* now) {
    // Only a move to another control of this screen counts: not one to a
    // message box (the refusal's own) or to another window.
    if (now && isAncestorOf(now) && within(TDBGrid1, old) && !within(TDBGrid1, now))
        TDBGrid1_LostFocus();
}

void frmGridScreen::commitOpenEditor() {
    const QModelIndex at = TDBGrid1->currentIndex();
    if (QWidget* editor = at.isValid() ? TDBGrid1->indexWidget(at) : nullptr)
        TDBGrid1->commitData(editor);
}

bool frmGridScreen::pendingRowStored() {
    commitOpenEditor();
    if (!model_ || !model_->hasPending())
        return true;
    // Refused a moment ago and not changed since: the user has been told.
    if (model_->refusedAsItIs())
        return false;
    return model_->storePending();
}

void frmGridScreen::closeEvent(QCloseEvent* event) {
    commitOpenEditor();
    if (model_ && model_->hasPending() && !model_->storePending()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmGridScreen::SetGridColumns() {
    if (!model_)
        return;
    const auto& cols = model_->columns();
    for (int i = 0; i < int(cols.size()); ++i) {
        const GridColumn& c = cols[size_t(i)];
        TDBGrid1->setColumnHidden(i, c.hidden);
        if (c.widthTwips > 0 || c.kind == GridColumn::Kind::Date)
            TDBGrid1->fitColumn(i, c.widthTwips, c.kind == GridColumn::Kind::Date);
    }
    TDBGrid1->horizontalHeader()->setStretchLastSection(true);
}

void frmGridScreen::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Refresh"))
        RefreshGrid();
    else if (key == QLatin1String("Preview"))
        PrintList(1);
    else if (key == QLatin1String("Print"))
        PrintList(0);
    else if (key == QLatin1String("Close"))
        CloseForm();
}

void frmGridScreen::TDBGrid1_LostFocus() {
    if (model_ && model_->hasPending())
        model_->storePending(); // a refusal shows the screen's message
}

QString frmGridScreen::errorMessage() const {
    QString text = QStringLiteral("Data was NOT updated successfully. This is due to one or more of the following "
                                  "errors: ");
    for (const QString& c : causes_)
        text += QStringLiteral("\r\n") + c;
    if (trailingBreak_)
        text += QStringLiteral("\r\n");
    return text;
}

void frmGridScreen::TDBGrid1_Error() { ui::MsgBox(errorMessage(), ui::Buttons::OK, ui::Icon::Critical); }

void frmGridScreen::RefreshGrid() {
    try {
        if (model_ && pendingRowStored()) {
            model_->requery();
            SetGridColumns();
        }
    } catch (const std::exception&) {
        // Refreshing passes errors over.
    }
}

std::vector<int> frmGridScreen::selectedRows() const {
    std::vector<int> rows;
    if (!TDBGrid1->selectionModel())
        return rows;
    for (const QModelIndex& i : TDBGrid1->selectionModel()->selectedRows())
        rows.push_back(i.row());
    return rows;
}

bool frmGridScreen::deletionConfirmed() {
    return ui::MsgBox(QStringLiteral("Would you like to delete selected row(s)?"), ui::Buttons::YesNo) ==
           ui::Answer::Yes;
}

void frmGridScreen::deleteGridRows() {
    const std::vector<int> rows = selectedRows();
    if (std::all_of(rows.begin(), rows.end(), [this](int r) { return model_->isNewRowLine(r); }) ||
        !deletionConfirmed())
        return;
    try {
        model_->deleteRows(rows);
    } catch (const std::exception&) {
        TDBGrid1_Error();
    }
}

void frmGridScreen::CloseForm() { closeForm(this); }

} // namespace plax::setup
