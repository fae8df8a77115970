#include "frmAbsenceSTP.h"

#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/TypedBoxes.h"
#include "core/common/WeekNavigator.h"
#include "core/types/Clock.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"
#include "reports/screens/ScreenParts.h"

#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace plax::setup {
namespace {

// TDBDropDown1: the employee ID column picks from the active employees in
// a list of two columns, the ID and the name; the cell receives the ID.
class EmployeeDropDown : public EntryDelegate {
public:
    EmployeeDropDown(const std::vector<std::pair<QString, QString>>& employees, EntryGrid* grid)
        : EntryDelegate(grid), employees_(employees) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("TDBDropDown1"));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        auto* rows = new QStandardItemModel(0, 2, box);
        rows->setHorizontalHeaderLabels({QStringLiteral("Employee ID"), QStringLiteral("Name")});
        for (const auto& [id, name] : employees_) {
            auto* nameItem = new QStandardItem(name);
            nameItem->setBackground(QColor(0xFF, 0xFF, 0x80));
            rows->appendRow({new QStandardItem(id), nameItem});
        }
        auto* list = new QTableView;
        list->setObjectName(QStringLiteral("TDBDropDown1List"));
        box->setView(list); // before the model, so the list takes it as well
        box->setModel(rows);
        box->setModelColumn(0);
        list->verticalHeader()->hide();
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setWordWrap(false);
        // The laid-out widths, wider where a heading or a name needs it; the
        // list is as wide as its two columns beside its scroll bar.
        list->resizeColumnsToContents();
        list->setColumnWidth(0, std::max(1200 / 15, list->columnWidth(0)));
        list->setColumnWidth(1, std::max(1500 / 15, list->columnWidth(1)));
        list->setMinimumWidth(list->columnWidth(0) + list->columnWidth(1) + 2 * list->frameWidth() +
                              list->verticalScrollBar()->sizeHint().width());
        QPalette grey = list->palette();
        grey.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
        list->setPalette(grey);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        const QString id = index.data(Qt::EditRole).toString();
        const int i = box->findText(id, Qt::MatchFixedString);
        if (i >= 0)
            box->setCurrentIndex(i);
        else
            box->setEditText(id);
    }

private:
    const std::vector<std::pair<QString, QString>>& employees_;
};

} // namespace

frmAbsenceSTP::frmAbsenceSTP(QWidget* parent)
    : frmGridScreen(QStringLiteral("frmAbsenceSTP"), QStringLiteral("Setup: Employee Absence"),
                    {{"Select", "Select", "Absence report"},
                     {"Refresh", "Refresh", "Refresh absences"},
                     {"Delete", "Delete", "Delete selected absences"},
                     {"Close", "Close", "Close this window"}},
                    {QStringLiteral("- The employee ID# does not exist. "),
                     QStringLiteral("- The data you have entered is too long for the field."),
                     QStringLiteral("- The data you have entered does not match the type of the field."),
                     QStringLiteral("- The employee ID#/absence date are left blank."),
                     QStringLiteral("- A record exists with the same employee ID# and absence date.")},
                    false, parent) {
    const CalDate today = Clock::today();
    auto* dates = new QGroupBox(QStringLiteral("Dates"), this);
    optPayPeriod = new QRadioButton(QStringLiteral("Start Date:"), dates);
    optPayPeriod->setObjectName(QStringLiteral("optPayPeriod"));
    txtPayPeriod = new QLineEdit(dates);
    txtPayPeriod->setObjectName(QStringLiteral("txtPayPeriod"));
    UpDown1 = new WeekNavigator(txtPayPeriod, dates);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    optDateRange = new QRadioButton(QStringLiteral("Date Range:"), dates);
    optDateRange->setObjectName(QStringLiteral("optDateRange"));
    DTPFromDate = new DateBox(dates, QStringLiteral("DTPFromDate"), today.addDays(-15));
    DTPToDate = new DateBox(dates, QStringLiteral("DTPToDate"), today);
    auto* cmdLoad = new QPushButton(QStringLiteral("&Load"), dates);
    cmdLoad->setObjectName(QStringLiteral("cmdLoad"));
    auto* g = new QGridLayout(dates);
    g->addWidget(optPayPeriod, 0, 0);
    g->addWidget(txtPayPeriod, 0, 1);
    g->addWidget(UpDown1, 0, 2, Qt::AlignLeft);
    g->addWidget(optDateRange, 1, 0);
    g->addWidget(DTPFromDate, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("->"), dates), 1, 2);
    g->addWidget(DTPToDate, 1, 3);
    g->addWidget(cmdLoad, 0, 4, 2, 1);
    layout_->insertWidget(1, dates);
    resize(640, 460);

    connect(optPayPeriod, &QRadioButton::clicked, this, &frmAbsenceSTP::optPayPeriod_Click);
    connect(optDateRange, &QRadioButton::clicked, this, &frmAbsenceSTP::optDateRange_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &frmAbsenceSTP::cmdLoad_Click);
    connect(TDBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmAbsenceSTP::TDBGrid1_HeadClick);

    // Form_Load
    load([this, today] {
        optPayPeriod->setChecked(true);
        optPayPeriod_Click();
        txtPayPeriod->setText(WeekStart(today, Company).toShortDate());
        makeModel(QStringLiteral("Absence"),
                  {{QStringLiteral("EmpID"), QStringLiteral("Employee ID"), GridColumn::Kind::Text, 1500},
                   {QStringLiteral("TDate"), QStringLiteral("Date"), GridColumn::Kind::Date, 1200},
                   {QStringLiteral("Week"), QStringLiteral("Week"), GridColumn::Kind::Number, 700, true},
                   {QStringLiteral("Reason"), QStringLiteral("Reason"), GridColumn::Kind::Text, 1200},
                   {QStringLiteral("Hours Paid"), QStringLiteral("Total Hours"), GridColumn::Kind::Number, 1000}});
        // TDBGrid1_AfterColUpdate: the week follows the date.
        model_->afterColUpdate = [this](int row, int column) {
            if (column != 1)
                return;
            if (const auto d = model_->value(row, 1).toDate())
                model_->setPending(row, 2, WeekNumber(*d, Company));
        };
        // An absence belongs to an employee: an unknown ID is refused.
        model_->beforeStore = [](const std::map<int, db::Value>& row) {
            const db::Value id = row.at(0);
            if (!id.isNull() &&
                companyDb().openRecordset(QStringLiteral("SELECT 1 FROM Employee WHERE ID = ?"), {id}).eof())
                throw db::DbError(db::err::General, QStringLiteral("The employee ID does not exist."));
        };
        LoadAbsenceGrid();
        SetGridColumns();
        db::Recordset rs = companyDb().openRecordset(
            QStringLiteral("SELECT ID, LastName, FirstName FROM Employee WHERE Status = ?"), {true});
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            employees_.emplace_back(rs.field(0).toString(),
                                    rs.field(1).toString() + QStringLiteral(", ") + rs.field(2).toString());
        TDBGrid1->setItemDelegateForColumn(0, new EmployeeDropDown(employees_, TDBGrid1));
    });
}

void frmAbsenceSTP::optPayPeriod_Click() {
    txtPayPeriod->setEnabled(true);
    UpDown1->setEnabled(true);
    DTPFromDate->setEnabled(false);
    DTPToDate->setEnabled(false);
}

void frmAbsenceSTP::optDateRange_Click() {
    DTPFromDate->setEnabled(true);
    DTPToDate->setEnabled(true);
    txtPayPeriod->setEnabled(false);
    UpDown1->setEnabled(false);
}

void frmAbsenceSTP::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Select"))
        ShowReportSelection();
    else if (key == QLatin1String("Delete"))
        DeleteSelectedRows();
    else if (key == QLatin1String("Refresh"))
        RefreshGrid();
    else if (key == QLatin1String("Close"))
        CloseForm();
}

std::optional<AbsencePeriod> frmAbsenceSTP::shownPeriod(bool forSort) {
    if (optDateRange->isChecked())
        return AbsencePeriod{DTPFromDate->date(), DTPToDate->date()};
    return forSort ? payPeriodForSort(txtPayPeriod->text(), Company) : payPeriodForLoad(txtPayPeriod->text(), Company);
}

bool frmAbsenceSTP::LoadAbsenceGrid() {
    const auto p = shownPeriod(false);
    if (!p) {
        ui::MsgBox(QStringLiteral("Invalid date!"));
        return false;
    }
    model_->open(QStringLiteral("TDate BETWEEN ? AND ?"), {p->from, p->to},
                 optDateRange->isChecked() ? QStringLiteral("EmpID, TDate") : QString());
    return true;
}

void frmAbsenceSTP::cmdLoad_Click() {
    if (!pendingRowStored())
        return;
    try {
        if (LoadAbsenceGrid())
            SetGridColumns();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmAbsenceSTP::TDBGrid1_HeadClick(int column) {
    try {
        const auto p = shownPeriod(true);
        if (!p || column < 0 || column >= int(model_->columns().size()) || !pendingRowStored())
            return;
        model_->open(QStringLiteral("TDate BETWEEN ? AND ?"), {p->from, p->to},
                     QLatin1Char('[') + model_->columns()[size_t(column)].field + QLatin1Char(']'));
        SetGridColumns();
    } catch (const std::exception&) {
        // Sorting passes errors over.
    }
}

void frmAbsenceSTP::DeleteSelectedRows() {
    if (!deletionConfirmed())
        return;
    try {
        model_->deleteRows(selectedRows());
    } catch (const std::exception&) {
        ShowError(QString(), QStringLiteral("Row(s) were NOT deleted successfully!"));
    }
}

void frmAbsenceSTP::ShowReportSelection() {
    try {
        runMenuHandler(QStringLiteral("mnuReportsAbsLst"));
    } catch (...) {
        // Opening the report screen passes errors over.
    }
}

} // namespace plax::setup
