#include "frmAttendanceRpt.h"

#include "ScreenParts.h"
#include "attendance/AttendanceScreens.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
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
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace plax::reports {
namespace {
constexpr int kEntryRole = Qt::UserRole + 1;
}

frmAttendanceRpt::frmAttendanceRpt(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAttendanceRpt"));
    setWindowTitle(QStringLiteral("Reports: Attendance"));
    const CalDate today = Clock::today();

    auto* frame2 = new QGroupBox(QStringLiteral("Date"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    optDateRange_ = new QRadioButton(QStringLiteral("Date Range"), frame2);
    optDateRange_->setObjectName(QStringLiteral("optDateRange"));
    DTPFromDate_ = new DateBox(frame2, QStringLiteral("DTPFromDate"), today.addDays(-15));
    DTPToDate_ = new DateBox(frame2, QStringLiteral("DTPToDate"), today);
    optPayPeriod_ = new QRadioButton(QStringLiteral("Pay Period Start Date:"), frame2);
    optPayPeriod_->setObjectName(QStringLiteral("optPayPeriod"));
    txtPayPeriod_ = new QLineEdit(frame2);
    txtPayPeriod_->setObjectName(QStringLiteral("txtPayPeriod"));
    UpDown1_ = new WeekNavigator(txtPayPeriod_, frame2);
    auto* l2 = new QGridLayout(frame2);
    l2->addWidget(optDateRange_, 0, 0, 1, 3);
    l2->addWidget(DTPFromDate_, 1, 0);
    l2->addWidget(new QLabel(QStringLiteral("To"), frame2), 1, 1);
    l2->addWidget(DTPToDate_, 1, 2);
    l2->addWidget(optPayPeriod_, 2, 0, 1, 3);
    auto* payRow = new QHBoxLayout;
    payRow->addWidget(txtPayPeriod_);
    payRow->addWidget(UpDown1_);
    payRow->addStretch();
    l2->addLayout(payRow, 3, 0, 1, 3);

    auto* frame4 = new QGroupBox(QStringLiteral("Type"), this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    optDaily_ = new QRadioButton(QStringLiteral("Daily"), frame4);
    optDaily_->setObjectName(QStringLiteral("optDaily"));
    optSummary_ = new QRadioButton(QStringLiteral("Summary"), frame4);
    optSummary_->setObjectName(QStringLiteral("optSummary"));
    optDetail_ = new QRadioButton(QStringLiteral("Detailed"), frame4);
    optDetail_->setObjectName(QStringLiteral("optDetail"));
    auto* l4 = new QVBoxLayout(frame4);
    l4->addWidget(optDaily_);
    l4->addWidget(optSummary_);
    l4->addWidget(optDetail_);

    SSTab1_ = new QTabWidget(this);
    SSTab1_->setObjectName(QStringLiteral("SSTab1"));
    auto* select = new QWidget(SSTab1_);
    auto* label1 = new QLabel(QStringLiteral("Select By:"), select);
    label1->setObjectName(QStringLiteral("Label1"));
    cboEmpGroups_ = new QComboBox(select);
    cboEmpGroups_->setObjectName(QStringLiteral("cboEmpGroups"));
    trvEmp_ = new QTreeWidget(select);
    trvEmp_->setObjectName(QStringLiteral("trvEmp"));
    trvEmp_->setHeaderHidden(true);
    trvEmp_->setRootIsDecorated(false);
    auto* ls = new QGridLayout(select);
    ls->addWidget(label1, 0, 0);
    ls->addWidget(cboEmpGroups_, 0, 1);
    ls->addWidget(trvEmp_, 1, 0, 1, 2);
    SSTab1_->addTab(select, QStringLiteral("Select"));

    auto* left = new QVBoxLayout;
    left->addWidget(frame2);
    left->addWidget(frame4);
    left->addStretch();
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(SSTab1_, 1);
    auto* main = new QVBoxLayout(this);
    main->addWidget(makeReportToolbar(this, [this](const QString& key) { Toolbar1_ButtonClick(key); }));
    main->addLayout(body);
    resize(640, 420);

    connect(optDateRange_, &QRadioButton::clicked, this, &frmAttendanceRpt::optDateRange_Click);
    connect(optPayPeriod_, &QRadioButton::clicked, this, &frmAttendanceRpt::optPayPeriod_Click);
    connect(UpDown1_, &WeekNavigator::stepped, this, [this] { txtPayPeriod_->setFocus(); });
    connect(trvEmp_, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* item, int) { trvEmp_NodeCheck(item); });

    // Form_Load; the hours follow once the screen shows (loadHours).
    {
        cboEmpGroups_->addItems(
            {QStringLiteral("Employee"), QStringLiteral("Department"), QStringLiteral("Schedule")});
        cboEmpGroups_->setCurrentIndex(1);
        cboEmpGroups_Click();
        connect(cboEmpGroups_, &QComboBox::activated, this, &frmAttendanceRpt::cboEmpGroups_Click);
        optPayPeriod_->setChecked(true);
        optPayPeriod_Click();
        optDetail_->setChecked(true);
        txtPayPeriod_->setText(WeekStart(today, Company).toShortDate());
    }
}

frmAttendanceRpt::~frmAttendanceRpt() {
    // Form_Unload
    if (CompanyDb && CompanyDb->isOpen()) {
        DropAttendanceTable(*CompanyDb);
        CompanyDb->idle();
    }
}

void frmAttendanceRpt::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100);
        // The screen paints first; the hours engine then shows its progress.
        QTimer::singleShot(0, this, &frmAttendanceRpt::loadHours);
    }
}

void frmAttendanceRpt::loadHours() {
    if (hoursLoaded_)
        return;
    hoursLoaded_ = true;
    ui::WaitCursor wait;
    // The table's creation ignores its failures (a closed database
    // included); each print fills it with the hours it can select, and
    // makes the table again if need be.
    if (CompanyDb && CompanyDb->isOpen()) {
        db::Database& db = *CompanyDb;
        CreateAttendanceTable(db);
        RecalcHoursWorked(db, Company, hoursProgressBar(this, windowTitle()));
    }
}

void frmAttendanceRpt::optDateRange_Click() {
    DTPFromDate_->setEnabled(true);
    DTPToDate_->setEnabled(true);
    txtPayPeriod_->setEnabled(false);
    UpDown1_->setEnabled(false);
}

void frmAttendanceRpt::optPayPeriod_Click() {
    DTPFromDate_->setEnabled(false);
    DTPToDate_->setEnabled(false);
    txtPayPeriod_->setEnabled(true);
    UpDown1_->setEnabled(true);
}

EmpGrouping frmAttendanceRpt::grouping() const {
    switch (cboEmpGroups_->currentIndex()) {
    case 0:
        return EmpGrouping::Employee;
    case 2:
        return EmpGrouping::Schedule;
    default:
        return EmpGrouping::Department;
    }
}

void frmAttendanceRpt::cboEmpGroups_Click() {
    const QSignalBlocker quiet(trvEmp_);
    trvEmp_->clear();
    try {
        entries_ = loadTree(companyDb(), grouping());
    } catch (const std::exception& e) {
        entries_.clear();
        ShowError(QString(), e);
    }
    int n = 0;
    for (const TreeEntry& e : entries_) {
        auto* node = new QTreeWidgetItem(trvEmp_, {e.text});
        node->setData(0, Qt::UserRole, QStringLiteral("Node%1").arg(n + 1));
        node->setData(0, kEntryRole, n);
        node->setFlags(node->flags() | Qt::ItemIsUserCheckable);
        node->setCheckState(0, Qt::Unchecked);
        ++n;
    }
}

void frmAttendanceRpt::trvEmp_NodeCheck(QTreeWidgetItem* node) {
    // An entry with child entries passes its state on to them.
    const QSignalBlocker quiet(trvEmp_);
    for (int i = 0; i < node->childCount(); ++i)
        node->child(i)->setCheckState(0, node->checkState(0));
}

void frmAttendanceRpt::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Print"))
        PrintAttendanceReport(0);
    else if (key == QLatin1String("Preview"))
        PrintAttendanceReport(1);
    else if (key == QLatin1String("Close"))
        closeForm(this);
}

void frmAttendanceRpt::PrintAttendanceReport(int destination) {
    loadHours(); // a screen printed before it was ever shown
    AttendancePeriod period;
    period.payPeriod = optPayPeriod_->isChecked();
    period.payPeriodText = txtPayPeriod_->text();
    period.from = DTPFromDate_->date();
    period.to = DTPToDate_->date();
    std::vector<TreeEntry> ticked;
    for (int i = 0; i < trvEmp_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* node = trvEmp_->topLevelItem(i);
        if (node->checkState(0) == Qt::Checked)
            ticked.push_back(entries_[size_t(node->data(0, kEntryRole).toInt())]);
    }
    QString selection;
    try {
        switch (PrepareAttendanceReport(companyDb(), period, grouping(), ticked, Company, selection,
                                        hoursProgressBar(this, windowTitle()))) {
        case AttendanceBuild::NothingTicked:
            ui::MsgBox(QStringLiteral("Please make a select first!"));
            return;
        case AttendanceBuild::InvalidDate:
            ShowError(QString(), QStringLiteral("Type mismatch"), 13);
            return;
        case AttendanceBuild::Ok:
            break;
        }
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        return;
    }
    lastSelection_ = selection;
    const AttendanceType type = optDaily_->isChecked()     ? AttendanceType::Daily
                                : optSummary_->isChecked() ? AttendanceType::Summary
                                                           : AttendanceType::Detailed;
    // Every report prints the period it covers under its title.
    printReport(destination, AttendanceReportFile(type, period.payPeriod), selection, std::nullopt,
                {periodFormula(!period.payPeriod, DTPFromDate_, DTPToDate_, period.payPeriodText, Company)});
}

} // namespace plax::reports
