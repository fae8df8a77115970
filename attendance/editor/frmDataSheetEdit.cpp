#include "frmDataSheetEdit.h"

#include "ClockGrid.h"
#include "ClockGridModel.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Lists.h"
#include "core/common/Screens.h"
#include "core/common/TypedBoxes.h"
#include "core/common/WeekNavigator.h"
#include "core/types/Clock.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace plax::editor {

namespace {

QToolBar* makeToolbar(QWidget* parent, const std::function<void(const QString&)>& clicked) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* key;
        const char* tip;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {
        {"Select", "Open report data selection window", QStyle::SP_FileDialogDetailedView},
        {"Refresh", "Reload data in table", QStyle::SP_BrowserReload},
        {"Delete", "Delete selected row(s)", QStyle::SP_TrashIcon},
        {"Close", "Close this window", QStyle::SP_DialogCloseButton},
    };
    for (const Button& b : buttons) {
        const QString key = QString::fromLatin1(b.key);
        QAction* a = bar->addAction(parent->style()->standardIcon(b.icon), key);
        a->setObjectName(key);
        a->setData(key);
        a->setToolTip(QString::fromLatin1(b.tip));
        QObject::connect(a, &QAction::triggered, parent,
                         [parent, clicked, key] { runToolbarKey(parent, key, clicked); });
    }
    return bar;
}

} // namespace

frmDataSheetEdit::frmDataSheetEdit(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("frmDataSheetEdit"));
    setWindowTitle(QStringLiteral("Data Sheet"));
    setAttribute(Qt::WA_DeleteOnClose);
    const CalDate today = Clock::today();

    Toolbar1_ = makeToolbar(this, [this](const QString& key) { Toolbar1_ButtonClick(key); });
    cboEmployee_ = new QComboBox(this);
    cboEmployee_->setObjectName(QStringLiteral("cboEmployee"));
    cboEmployee_->setMinimumWidth(240);
    optPayPeriod_ = new QRadioButton(QStringLiteral("Pay Period Start Date:"), this);
    optPayPeriod_->setObjectName(QStringLiteral("optPayPeriod"));
    txtPayPeriod_ = new QLineEdit(this);
    txtPayPeriod_->setObjectName(QStringLiteral("txtPayPeriod"));
    UpDown1_ = new WeekNavigator(txtPayPeriod_, this);
    optDateRange_ = new QRadioButton(QStringLiteral("Date Range:"), this);
    optDateRange_->setObjectName(QStringLiteral("optDateRange"));
    DTPFromDate_ = new DateBox(this, QStringLiteral("DTPFromDate"), today.addDays(-15));
    DTPToDate_ = new DateBox(this, QStringLiteral("DTPToDate"), today);
    cmdLoad_ = new QPushButton(QStringLiteral("&Load"), this);
    cmdLoad_->setObjectName(QStringLiteral("cmdLoad"));
    model_ = new ClockGridModel(std::make_unique<ClockGrid>(companyDb(), Company), this);
    TDBGrid1_ = new ClockGridView(this);
    TDBGrid1_->setGridModel(model_);

    auto* choice = new QGridLayout;
    choice->addWidget(new QLabel(QStringLiteral("Employee:"), this), 0, 0);
    choice->addWidget(cboEmployee_, 0, 1, 1, 5);
    choice->addWidget(optPayPeriod_, 1, 0);
    choice->addWidget(txtPayPeriod_, 1, 1);
    choice->addWidget(UpDown1_, 1, 2, Qt::AlignLeft);
    choice->addWidget(optDateRange_, 2, 0);
    choice->addWidget(DTPFromDate_, 2, 1);
    choice->addWidget(new QLabel(QStringLiteral("To"), this), 2, 2);
    choice->addWidget(DTPToDate_, 2, 3);
    choice->addWidget(cmdLoad_, 2, 4);
    // Extra width goes to the space after the Load button, not to the boxes.
    choice->setColumnStretch(5, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Toolbar1_);
    layout->addLayout(choice);
    layout->addWidget(TDBGrid1_, 1);
    resize(640, 420);

    connect(cboEmployee_, &QComboBox::activated, this, &frmDataSheetEdit::cboEmployee_Click);
    connect(optDateRange_, &QRadioButton::clicked, this, &frmDataSheetEdit::optDateRange_Click);
    connect(optPayPeriod_, &QRadioButton::clicked, this, &frmDataSheetEdit::optPayPeriod_Click);
    connect(UpDown1_, &WeekNavigator::stepped, this, &frmDataSheetEdit::UpDown1_Stepped);
    connect(cmdLoad_, &QPushButton::clicked, this, &frmDataSheetEdit::cmdLoad_Click);
    connect(TDBGrid1_, &ClockGridView::deleteRequested, this, &frmDataSheetEdit::DeleteSelectedRows);
    cboEmployee_->installEventFilter(this);
    txtPayPeriod_->installEventFilter(this);

    // Form_Load
    optPayPeriod_->setChecked(true);
    optPayPeriod_Click();
    LoadEmployeeListByStatus(cboEmployee_, true);
    cboEmployee_->setCurrentIndex(-1);
    txtPayPeriod_->setText(WeekStart(today, Company).toShortDate());
    LoadClockGrid();
    SetupClockGridColumns();
}

frmDataSheetEdit::~frmDataSheetEdit() = default;

ClockGrid& frmDataSheetEdit::grid() { return model_->grid(); }

void frmDataSheetEdit::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void frmDataSheetEdit::closeEvent(QCloseEvent* event) {
    // A row in edit is saved; one that cannot be saved keeps the screen
    // open after its message, to be corrected or dropped with Escape.
    TDBGrid1_->commitEditor();
    if (!model_->submitRow()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool frmDataSheetEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == cboEmployee_)
            cboEmployee_Click();
        else if (watched == txtPayPeriod_)
            txtPayPeriod_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

QString frmDataSheetEdit::chosenEmployee() const {
    if (cboEmployee_->currentIndex() < 0)
        return {};
    return cboEmployee_->currentText().section(QLatin1Char(' '), 0, 0);
}

void frmDataSheetEdit::LoadClockGrid() {
    TDBGrid1_->commitEditor();
    if (!model_->submitRow())
        return; // the row stays in edit
    const QString before = grid().chosenEmployee();
    grid().setChosenEmployee(chosenEmployee());
    ClockPeriod p;
    p.payPeriod = optPayPeriod_->isChecked();
    p.payPeriodText = txtPayPeriod_->text();
    p.from = DTPFromDate_->date();
    p.to = DTPToDate_->date();
    try {
        grid().load(p);
    } catch (const std::exception& e) {
        grid().setChosenEmployee(before);
        ShowError(QStringLiteral("T253-"), e);
        return;
    }
    model_->rowsReloaded();
    if (p.payPeriod) {
        cboTag_ = cboEmployee_->currentText();
        payTag_ = txtPayPeriod_->text();
    }
}

void frmDataSheetEdit::SetupClockGridColumns() { TDBGrid1_->setupColumns(); }

void frmDataSheetEdit::cboEmployee_Click() {
    if (cboEmployee_->currentIndex() < 0 || cboEmployee_->currentText() == cboTag_)
        return;
    if (parseDate(txtPayPeriod_->text())) {
        LoadClockGrid();
        SetupClockGridColumns();
    }
    cboTag_ = cboEmployee_->currentText();
}

void frmDataSheetEdit::txtPayPeriod_LostFocus() {
    if (txtPayPeriod_->text() == payTag_)
        return;
    if (cboEmployee_->currentIndex() >= 0 && parseDate(txtPayPeriod_->text()))
        LoadClockGrid();
    payTag_ = txtPayPeriod_->text();
}

void frmDataSheetEdit::cmdLoad_Click() {
    LoadClockGrid();
    SetupClockGridColumns();
}

void frmDataSheetEdit::optDateRange_Click() {
    DTPFromDate_->setEnabled(true);
    DTPToDate_->setEnabled(true);
    txtPayPeriod_->setEnabled(false);
    UpDown1_->setEnabled(false);
}

void frmDataSheetEdit::optPayPeriod_Click() {
    DTPFromDate_->setEnabled(false);
    DTPToDate_->setEnabled(false);
    txtPayPeriod_->setEnabled(true);
    UpDown1_->setEnabled(true);
}

void frmDataSheetEdit::UpDown1_Stepped() {
    LoadClockGrid();
    SetupClockGridColumns();
    payTag_ = txtPayPeriod_->text();
}

void frmDataSheetEdit::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Select")) {
        // ShowReportSelection: the attendance report screen; errors ignored.
        try {
            runMenuHandler(QStringLiteral("mnuRptTA"));
        } catch (const std::exception&) {
        }
    } else if (key == QLatin1String("Delete")) {
        DeleteSelectedRows();
    } else if (key == QLatin1String("Refresh")) {
        cmdLoad_Click();
    } else if (key == QLatin1String("Close")) {
        closeForm(this);
    }
}

void frmDataSheetEdit::DeleteSelectedRows() {
    if (ui::MsgBox(QStringLiteral("Would you like to delete selected row(s)?"), ui::Buttons::YesNo,
                   ui::Icon::Question) != ui::Answer::Yes)
        return;
    const std::vector<int> rows = TDBGrid1_->selectedGridRows();
    const int editing = grid().editingRow();
    if (editing >= 0) {
        const bool selected = std::find(rows.begin(), rows.end(), editing) != rows.end();
        if (selected && grid().isNew(editing))
            grid().cancelRow();
        else if (!selected && !model_->submitRow())
            return; // the row in edit cannot be saved: nothing is deleted
    }
    try {
        grid().deleteRows(rows);
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("T251-"), QStringLiteral("Row(s) were not deleted successfully!"), errorNumberOf(e));
    }
    model_->rowsReloaded();
}

} // namespace plax::editor
