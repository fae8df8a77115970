#include "frmExcptRpt.h"

#include "ExceptionData.h"
#include "ScreenParts.h"
#include "SelectionText.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/Lists.h"
#include "core/common/TypedBoxes.h"
#include "core/common/WeekNavigator.h"
#include "core/types/Clock.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace plax::reports {

frmExcptRpt::frmExcptRpt(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmExcptRpt"));
    setWindowTitle(QStringLiteral("Report: Exception"));
    const CalDate today = Clock::today();

    auto* frame2 = new QGroupBox(this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    optPayPeriod_ = new QRadioButton(QStringLiteral("Pay Period Start Date:"), frame2);
    optPayPeriod_->setObjectName(QStringLiteral("optPayPeriod"));
    txtPayPeriod_ = new QLineEdit(frame2);
    txtPayPeriod_->setObjectName(QStringLiteral("txtPayPeriod"));
    UpDown1_ = new WeekNavigator(txtPayPeriod_, frame2);
    optDateRange_ = new QRadioButton(QStringLiteral("Date Range"), frame2);
    optDateRange_->setObjectName(QStringLiteral("optDateRange"));
    DTPFromDate_ = new DateBox(frame2, QStringLiteral("DTPFromDate"), today.addDays(-15));
    DTPToDate_ = new DateBox(frame2, QStringLiteral("DTPToDate"), today);
    auto* l2 = new QGridLayout(frame2);
    l2->addWidget(optPayPeriod_, 0, 0);
    auto* payRow = new QHBoxLayout;
    payRow->addWidget(txtPayPeriod_);
    payRow->addWidget(UpDown1_);
    l2->addLayout(payRow, 0, 1, 1, 3);
    l2->addWidget(optDateRange_, 1, 0);
    l2->addWidget(DTPFromDate_, 1, 1);
    l2->addWidget(new QLabel(QStringLiteral("To"), frame2), 1, 2);
    l2->addWidget(DTPToDate_, 1, 3);
    l2->setColumnStretch(4, 1); // the date boxes keep their size in a wider window

    auto* frame1 = new QGroupBox(QStringLiteral("Select By"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    optEmp_ = new QRadioButton(QStringLiteral("Employee"), frame1);
    optEmp_->setObjectName(QStringLiteral("optEmp"));
    optDep_ = new QRadioButton(QStringLiteral("Department"), frame1);
    optDep_->setObjectName(QStringLiteral("optDep"));
    cboEmp_ = new QComboBox(frame1);
    cboEmp_->setObjectName(QStringLiteral("cboEmp"));
    cboDep_ = new QComboBox(frame1);
    cboDep_->setObjectName(QStringLiteral("cboDep"));
    cboEmp_->setMinimumWidth(220);
    cboDep_->setMinimumWidth(220);
    auto* l1 = new QGridLayout(frame1);
    l1->addWidget(optEmp_, 0, 0);
    l1->addWidget(cboEmp_, 0, 1);
    l1->addWidget(optDep_, 1, 0);
    l1->addWidget(cboDep_, 1, 1);

    auto* main = new QVBoxLayout(this);
    main->addWidget(makeReportToolbar(this, [this](const QString& key) { Toolbar1_ButtonClick(key); }));
    main->addWidget(frame2);
    main->addWidget(frame1);
    main->addStretch(1); // a taller window leaves the choices at the top
    // In the order of the rows: each option, then its own boxes.
    setTabOrder(optEmp_, cboEmp_);
    setTabOrder(optDep_, cboDep_);

    connect(optPayPeriod_, &QRadioButton::clicked, this, &frmExcptRpt::optPayPeriod_Click);
    connect(optDateRange_, &QRadioButton::clicked, this, &frmExcptRpt::optDateRange_Click);
    connect(optEmp_, &QRadioButton::clicked, this, &frmExcptRpt::optEmp_Click);
    connect(optDep_, &QRadioButton::clicked, this, &frmExcptRpt::optDep_Click);

    // Form_Load
    optPayPeriod_->setChecked(true);
    optPayPeriod_Click();
    txtPayPeriod_->setText(WeekStart(today, Company).toShortDate());
    cboEmp_->addItem(QStringLiteral("<All Employees>"));
    LoadEmployeeListByStatus(cboEmp_, true);
    cboEmp_->setCurrentIndex(0);
    LoadDepartmentList(cboDep_);
    cboDep_->setCurrentIndex(-1);
    // The employee choice is the one enabled at the start, so it is chosen:
    // every scan has an employee condition.
    optEmp_->setChecked(true);
    optEmp_Click();
    try {
        CreateExceptionsTable(companyDb());
        tableReady_ = true;
    } catch (const std::exception&) {
        ui::MsgBox(QStringLiteral("Unable to create exceptions data!"));
        QTimer::singleShot(0, this, [this] { closeForm(this); });
    }
}

frmExcptRpt::~frmExcptRpt() {
    // Form_Unload
    if (CompanyDb && CompanyDb->isOpen()) {
        DropExceptionsTable(*CompanyDb);
        CompanyDb->idle();
    }
}

void frmExcptRpt::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 300);
    }
}

void frmExcptRpt::optPayPeriod_Click() {
    txtPayPeriod_->setEnabled(true);
    UpDown1_->setEnabled(true);
    DTPFromDate_->setEnabled(false);
    DTPToDate_->setEnabled(false);
}

void frmExcptRpt::optDateRange_Click() {
    DTPFromDate_->setEnabled(true);
    DTPToDate_->setEnabled(true);
    txtPayPeriod_->setEnabled(false);
    UpDown1_->setEnabled(false);
}

void frmExcptRpt::optEmp_Click() {
    cboEmp_->setEnabled(true);
    cboDep_->setEnabled(false);
}

void frmExcptRpt::optDep_Click() {
    cboDep_->setEnabled(true);
    cboEmp_->setEnabled(false);
}

void frmExcptRpt::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Print"))
        PrintExceptionReport(0);
    else if (key == QLatin1String("Preview"))
        PrintExceptionReport(1);
    else if (key == QLatin1String("Close"))
        closeForm(this);
}

bool frmExcptRpt::ValidateExceptionSelection() {
    if (optEmp_->isChecked() && cboEmp_->currentIndex() < 0) {
        ui::MsgBox(QStringLiteral("No employee selected!"), ui::Buttons::OK, ui::Icon::Information);
        return false;
    }
    if (!optEmp_->isChecked() && optDep_->isChecked() && cboDep_->currentText().isEmpty()) {
        ui::MsgBox(QStringLiteral("No department selected!"), ui::Buttons::OK, ui::Icon::Information);
        return false;
    }
    return true;
}

ExceptionChoice frmExcptRpt::choice() const {
    if (optEmp_->isChecked()) {
        if (cboEmp_->currentIndex() == 0)
            return {ExceptionChoice::AllEmployees, {}};
        return {ExceptionChoice::Employee, entryKey(cboEmp_->currentText())};
    }
    if (optDep_->isChecked())
        return {ExceptionChoice::Department, entryKey(cboDep_->currentText())};
    return {};
}

bool frmExcptRpt::BuildExceptions() {
    ui::WaitCursor wait;
    ExceptionPeriod period;
    if (optDateRange_->isChecked()) {
        period = dateRangeOf(DTPFromDate_->date(), DTPToDate_->date(), Company);
    } else {
        const auto week = payPeriodOf(txtPayPeriod_->text(), Company);
        if (!week) {
            ui::MsgBox(QStringLiteral("Invalid date!"));
            return false;
        }
        period = *week;
    }
    try {
        reports::BuildExceptions(companyDb(), period, choice(), Company);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        return false;
    }
    return true;
}

void frmExcptRpt::PrintExceptionReport(int destination) {
    if (!ValidateExceptionSelection())
        return;
    if (!BuildExceptions())
        return;
    // The report prints the period it covers under its title.
    printReport(destination, QStringLiteral("Excpt.rpt"), QString(), std::nullopt,
                {periodFormula(optDateRange_->isChecked(), DTPFromDate_, DTPToDate_, txtPayPeriod_->text(), Company)});
}

} // namespace plax::reports
