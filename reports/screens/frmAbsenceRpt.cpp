#include "frmAbsenceRpt.h"

#include "EmployeeReportData.h"
#include "ScreenParts.h"
#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "core/common/Lists.h"
#include "core/common/TypedBoxes.h"
#include "core/common/WeekNavigator.h"
#include "core/types/Clock.h"
#include "core/types/WorkWeek.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace plax::reports {

frmAbsenceRpt::frmAbsenceRpt(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAbsenceRpt"));
    setWindowTitle(QStringLiteral("Report: Employee Absence"));
    const CalDate today = Clock::today();

    auto* frame1 = new QGroupBox(QStringLiteral("Date"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    optDateRange_ = new QRadioButton(QStringLiteral("Date Range:"), frame1);
    optDateRange_->setObjectName(QStringLiteral("optDateRange"));
    DTPFromDate_ = new DateBox(frame1, QStringLiteral("DTPFromDate"), today.addDays(-15));
    DTPToDate_ = new DateBox(frame1, QStringLiteral("DTPToDate"), today);
    optPayPeriod_ = new QRadioButton(QStringLiteral("Start Date:"), frame1);
    optPayPeriod_->setObjectName(QStringLiteral("optPayPeriod"));
    txtPayPeriod_ = new QLineEdit(frame1);
    txtPayPeriod_->setObjectName(QStringLiteral("txtPayPeriod"));
    UpDown1_ = new WeekNavigator(txtPayPeriod_, frame1);
    auto* l1 = new QGridLayout(frame1);
    l1->addWidget(optDateRange_, 0, 0);
    l1->addWidget(DTPFromDate_, 0, 1);
    l1->addWidget(new QLabel(QStringLiteral("To"), frame1), 0, 2);
    l1->addWidget(DTPToDate_, 0, 3);
    l1->addWidget(optPayPeriod_, 1, 0);
    l1->addWidget(txtPayPeriod_, 1, 1);
    l1->addWidget(UpDown1_, 1, 2, Qt::AlignLeft);
    l1->setColumnStretch(4, 1); // the date boxes keep their size in a wider window

    auto* frame2 = new QGroupBox(QStringLiteral("Selection"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    optDepartments_ = new QRadioButton(QStringLiteral("Department"), frame2);
    optDepartments_->setObjectName(QStringLiteral("optDepartments"));
    optEmployees_ = new QRadioButton(QStringLiteral("Employee"), frame2);
    optEmployees_->setObjectName(QStringLiteral("optEmployees"));
    cboDepartment_ = new QComboBox(frame2);
    cboDepartment_->setObjectName(QStringLiteral("cboDepartment"));
    cboEmployee_ = new QComboBox(frame2);
    cboEmployee_->setObjectName(QStringLiteral("cboEmployee"));
    cboDepartment_->setMinimumWidth(220);
    cboEmployee_->setMinimumWidth(220);
    auto* l2 = new QGridLayout(frame2);
    l2->addWidget(optDepartments_, 0, 0);
    l2->addWidget(cboDepartment_, 0, 1);
    l2->addWidget(optEmployees_, 1, 0);
    l2->addWidget(cboEmployee_, 1, 1);

    auto* main = new QVBoxLayout(this);
    main->addWidget(makeReportToolbar(this, [this](const QString& key) { Toolbar1_ButtonClick(key); }));
    main->addWidget(frame1);
    main->addWidget(frame2);
    main->addStretch(1); // a taller window leaves the choices at the top
    // Each list right after the option it belongs to.
    setTabOrder(optDepartments_, cboDepartment_);
    setTabOrder(optEmployees_, cboEmployee_);

    connect(optDateRange_, &QRadioButton::clicked, this, &frmAbsenceRpt::optDateRange_Click);
    connect(optPayPeriod_, &QRadioButton::clicked, this, &frmAbsenceRpt::optPayPeriod_Click);
    connect(optDepartments_, &QRadioButton::clicked, this, &frmAbsenceRpt::optDepartments_Click);
    connect(optEmployees_, &QRadioButton::clicked, this, &frmAbsenceRpt::optEmployees_Click);

    // Form_Load
    optPayPeriod_->setChecked(true);
    optPayPeriod_Click();
    txtPayPeriod_->setText(WeekStart(today, Company).toShortDate());
    cboEmployee_->addItem(QStringLiteral("<All Employees>"));
    LoadEmployeeListByStatus(cboEmployee_, true);
    cboEmployee_->setCurrentIndex(0);
    LoadDepartmentList(cboDepartment_);
    cboDepartment_->setCurrentIndex(cboDepartment_->count() > 0 ? 0 : -1);
    // The employee choice starts on "<All Employees>": every employee.
    optEmployees_->setChecked(true);
    optEmployees_Click();
}

void frmAbsenceRpt::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void frmAbsenceRpt::optDateRange_Click() {
    DTPFromDate_->setEnabled(true);
    DTPToDate_->setEnabled(true);
    txtPayPeriod_->setEnabled(false);
    UpDown1_->setEnabled(false);
}

void frmAbsenceRpt::optPayPeriod_Click() {
    DTPFromDate_->setEnabled(false);
    DTPToDate_->setEnabled(false);
    txtPayPeriod_->setEnabled(true);
    UpDown1_->setEnabled(true);
}

void frmAbsenceRpt::optDepartments_Click() {
    cboEmployee_->setEnabled(false);
    cboDepartment_->setEnabled(true);
}

void frmAbsenceRpt::optEmployees_Click() {
    cboEmployee_->setEnabled(true);
    cboDepartment_->setEnabled(false);
}

void frmAbsenceRpt::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Print"))
        PrintAbsenceReport(0);
    else if (key == QLatin1String("Preview"))
        PrintAbsenceReport(1);
    else if (key == QLatin1String("Close"))
        closeForm(this);
}

QString frmAbsenceRpt::absenceSelection() const {
    AbsenceReportChoice c;
    c.dateRange = optDateRange_->isChecked();
    c.from = DTPFromDate_->date();
    c.to = DTPToDate_->date();
    c.payPeriodText = txtPayPeriod_->text();
    c.select = optEmployees_->isChecked()     ? AbsenceReportChoice::Employee
               : optDepartments_->isChecked() ? AbsenceReportChoice::Department
                                              : AbsenceReportChoice::None;
    c.employeeIndex = cboEmployee_->currentIndex();
    c.employeeText = cboEmployee_->currentText();
    c.departmentIndex = cboDepartment_->currentIndex();
    c.departmentText = cboDepartment_->currentText();
    return BuildAbsenceSelection(c, Company).value_or(QString());
}

void frmAbsenceRpt::PrintAbsenceReport(int destination) {
    const QString p = absenceSelection();
    if (p.isEmpty())
        return; // the message was shown
    // The report prints the period it covers in its heading.
    printReport(destination, QStringLiteral("EmployeeAbsence.rpt"), p, std::nullopt,
                {periodFormula(optDateRange_->isChecked(), DTPFromDate_, DTPToDate_, txtPayPeriod_->text(), Company)});
}

} // namespace plax::reports
