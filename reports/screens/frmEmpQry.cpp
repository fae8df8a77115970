#include "frmEmpQry.h"

#include "EmployeeReportData.h"
#include "ScreenParts.h"
#include "core/common/Common.h"
#include "core/common/Lists.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace plax::reports {
namespace {

QRadioButton* option(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QRadioButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

QComboBox* dropList(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setMinimumWidth(220);
    return c;
}

} // namespace

frmEmpQry::frmEmpQry(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmEmpQry"));
    setWindowTitle(QStringLiteral("Report: Employee Data"));

    auto* frame3 = new QGroupBox(QStringLiteral("Status"), this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    optBoth_ = option(frame3, "optBoth", "Both");
    optActive_ = option(frame3, "optActive", "Active");
    optInActive_ = option(frame3, "optInActive", "Inactive");
    auto* l3 = new QVBoxLayout(frame3);
    l3->addWidget(optBoth_);
    l3->addWidget(optActive_);
    l3->addWidget(optInActive_);
    optActive_->setChecked(true);

    auto* frame4 = new QGroupBox(this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    optlst_ = option(frame4, "optlst", "List");
    optDetail_ = option(frame4, "optDetail", "Detailed");
    auto* l4 = new QVBoxLayout(frame4);
    l4->addWidget(optlst_);
    l4->addWidget(optDetail_);
    optlst_->setChecked(true);

    auto* frame2 = new QGroupBox(QStringLiteral("Select "), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    optSelAll_ = option(frame2, "optSelAll", "All");
    optSelDep_ = option(frame2, "optSelDep", "Department");
    optSelEmp_ = option(frame2, "optSelEmp", "Employee ");
    cboDep_ = dropList(frame2, "cboDep");
    cboEmp_ = dropList(frame2, "cboEmp");
    auto* l2 = new QGridLayout(frame2);
    l2->addWidget(optSelAll_, 0, 0);
    l2->addWidget(optSelDep_, 1, 0);
    l2->addWidget(cboDep_, 1, 1);
    l2->addWidget(optSelEmp_, 2, 0);
    l2->addWidget(cboEmp_, 2, 1);
    optSelAll_->setChecked(true);

    auto* frame1 = new QGroupBox(QStringLiteral("Order By"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    optsort_ = new QButtonGroup(this);
    auto* l1 = new QVBoxLayout(frame1);
    const char* captions[] = {"ID#", "Department", "Last Name"};
    for (int i = 1; i <= 3; ++i) {
        auto* b = new QRadioButton(QString::fromUtf8(captions[i - 1]), frame1);
        b->setObjectName(QStringLiteral("optsort%1").arg(i));
        optsort_->addButton(b, i);
        l1->addWidget(b);
    }
    optsort_->button(1)->setChecked(true);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(frame3);
    left->addWidget(frame4);
    top->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(frame2);
    right->addWidget(frame1);
    top->addLayout(right);
    auto* main = new QVBoxLayout(this);
    main->addWidget(makeReportToolbar(this, [this](const QString& key) { Toolbar1_ButtonClick(key); }));
    main->addLayout(top);
    main->addStretch(1); // a taller window leaves the choices at the top
    // Each list right after the option it belongs to.
    setTabOrder(optSelDep_, cboDep_);
    setTabOrder(optSelEmp_, cboEmp_);

    connect(optSelAll_, &QRadioButton::clicked, this, &frmEmpQry::optSelAll_Click);
    connect(optSelDep_, &QRadioButton::clicked, this, &frmEmpQry::optSelDep_Click);
    connect(optSelEmp_, &QRadioButton::clicked, this, &frmEmpQry::optSelEmp_Click);
    connect(optsort_, &QButtonGroup::idClicked, this, [this](int index) { sortChoice_ = index; });

    // Form_Load
    LoadDepartmentList(cboDep_);
    LoadActiveEmployeeList(cboEmp_);
    cboDep_->setCurrentIndex(-1);
    cboEmp_->setCurrentIndex(-1);
    optSelAll_Click();
    sortChoice_ = 1;
}

void frmEmpQry::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
    }
}

void frmEmpQry::optSelAll_Click() {
    cboEmp_->setEnabled(false);
    cboDep_->setEnabled(false);
}

void frmEmpQry::optSelDep_Click() {
    cboEmp_->setEnabled(false);
    cboDep_->setEnabled(true);
}

void frmEmpQry::optSelEmp_Click() {
    cboEmp_->setEnabled(true);
    cboDep_->setEnabled(false);
}

void frmEmpQry::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Print"))
        PrintEmployeeReport(0);
    else if (key == QLatin1String("Preview"))
        PrintEmployeeReport(1);
    else if (key == QLatin1String("Close"))
        closeForm(this);
}

QString frmEmpQry::BuildEmployeeSelection() const {
    EmployeeReportChoice c;
    c.select = optSelDep_->isChecked()   ? EmployeeReportChoice::Department
               : optSelEmp_->isChecked() ? EmployeeReportChoice::Employee
                                         : EmployeeReportChoice::All;
    c.status = optBoth_->isChecked()       ? EmployeeReportChoice::Both
               : optInActive_->isChecked() ? EmployeeReportChoice::Inactive
                                           : EmployeeReportChoice::Active;
    c.departmentText = cboDep_->currentText();
    c.employeeText = cboEmp_->currentText();
    return reports::BuildEmployeeSelection(c);
}

void frmEmpQry::PrintEmployeeReport(int destination) {
    const QString s = BuildEmployeeSelection();
    if (s == QLatin1String("ERROR"))
        return;
    if (optlst_->isChecked())
        printReport(destination, QStringLiteral("EList.rpt"), s, sortChoice_);
    else
        printReport(destination, QStringLiteral("EDetail.rpt"), s);
}

} // namespace plax::reports
