#include "frmSetupEmployee.h"

#include "SetupParts.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/TypedBoxes.h"
#include "core/types/Amounts.h"
#include "core/types/Clock.h"
#include "frmEmpFind.h"
#include "platform/ui/Dialogs.h"

#include <algorithm>
#include <functional>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace plax::setup {
namespace {

const QString kSsnMask = QStringLiteral("000-00-0000;_");
const QString kPhoneMask = QStringLiteral("(000) 000-0000;_");

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength = 0) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

// Empties a masked field: mask removed, text emptied, mask set again.
void clearMasked(QLineEdit* e) {
    const QString mask = e->inputMask();
    e->setInputMask(QString());
    e->clear();
    e->setInputMask(mask);
}

void setMasked(QLineEdit* e, const QString& text) {
    clearMasked(e);
    e->setText(text);
}

class LimitedText : public QPlainTextEdit {
public:
    LimitedText(QWidget* parent, int limit) : QPlainTextEdit(parent), limit_(limit) {
        connect(this, &QPlainTextEdit::textChanged, this, [this] {
            const QString t = toPlainText();
            if (t.size() > limit_) {
                QSignalBlocker block(this);
                setPlainText(t.left(limit_));
                moveCursor(QTextCursor::End);
            }
        });
    }

private:
    int limit_;
};

} // namespace

QString maskedText(const QLineEdit* field) {
    const QString t = field->text();
    for (const QChar c : t)
        if (c.isDigit())
            return t;
    return {};
}

frmSetupEmployee::frmSetupEmployee(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmSetupEmployee"));
    setWindowTitle(QStringLiteral("Setup: Employee"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    // Form_Load
    ui::WaitCursor wait;
    try {
        ShowActive = true;
        FillDepartmentList();
        FillScheduleList();
        FillMessageList();
        rsEmployee = std::make_unique<EmployeeBook>(companyDb());
        LoadEmpList(QStringLiteral("ID"));
        CboStatus->addItems({QStringLiteral("Active"), QStringLiteral("Inactive")});
        CboStatus->setCurrentText(QStringLiteral("Active"));
        if (!rsEmployee->hasRows())
            SnapshotTags();
        loaded_ = true;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

frmSetupEmployee::~frmSetupEmployee() = default;

bool frmSetupEmployee::focusNextPrevChild(bool next) {
    // The fields in the order the focus walks them.
    QWidget* level = optLevel[0];
    for (QRadioButton* b : optLevel)
        if (b->isChecked())
            level = b;
    const std::vector<QWidget*> order{txtID,    txtFirstN,   txtMiddleN, txtLastN, mskSSN,       txtAddress,
                                      txtCity,  txtState,    mskPhone,   txtZip,   txtRate,      dtpHireDate,
                                      cboDep,   cboSchedule, cboMsg,     cboRuleGroup, txtPosition, level,
                                      txtNotes, CboStatus};
    QWidget* focus = QApplication::focusWidget();
    // A combo box's line edit hands its focus to the combo box.
    while (focus && focus->focusProxy())
        focus = focus->focusProxy();
    auto at = std::find_if(order.begin(), order.end(), [&](QWidget* w) {
        return w == focus || (w->isAncestorOf(focus) && w->window() == focus->window());
    });
    if (at == order.end())
        return QWidget::focusNextPrevChild(next);
    const int n = int(order.size());
    int i = int(at - order.begin());
    for (int step = 0; step < n; ++step) {
        i = (i + (next ? 1 : n - 1)) % n;
        QWidget* w = order[size_t(i)];
        if (!w->isEnabled())
            continue;
        for (int page = 0; page < SSTab1->count(); ++page)
            if (SSTab1->widget(page)->isAncestorOf(w))
                SSTab1->setCurrentIndex(page);
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

void frmSetupEmployee::buildControls() {
    auto* top = new QGroupBox(this);
    txtID = lineEdit(top, "txtID", 12);
    txtFirstN = lineEdit(top, "txtFirstN", 15);
    txtMiddleN = lineEdit(top, "txtMiddleN", 15);
    txtLastN = lineEdit(top, "txtLastN", 15);
    auto* g = new QGridLayout(top);
    g->addWidget(new QLabel(QStringLiteral("ID#:"), top), 0, 0);
    g->addWidget(txtID, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("First Name:"), top), 1, 0);
    g->addWidget(txtFirstN, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Middle Name :"), top), 1, 2);
    g->addWidget(txtMiddleN, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Last Name:"), top), 2, 0);
    g->addWidget(txtLastN, 2, 1);
    txtID->installEventFilter(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto* personal = new QWidget(SSTab1);
    mskSSN = lineEdit(personal, "mskSSN");
    mskSSN->setInputMask(kSsnMask);
    txtAddress = new LimitedText(personal, 50);
    txtAddress->setObjectName(QStringLiteral("txtAddress"));
    txtAddress->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtAddress->setTabChangesFocus(true);
    txtCity = lineEdit(personal, "txtCity", 15);
    txtState = lineEdit(personal, "txtState", 2);
    mskPhone = lineEdit(personal, "mskPhone");
    mskPhone->setInputMask(kPhoneMask);
    txtZip = lineEdit(personal, "txtZip", 15);
    auto* gp = new QGridLayout(personal);
    gp->addWidget(new QLabel(QStringLiteral("SSN:"), personal), 0, 0);
    gp->addWidget(mskSSN, 0, 1);
    gp->addWidget(new QLabel(QStringLiteral("Address:"), personal), 1, 0);
    gp->addWidget(txtAddress, 1, 1, 1, 3);
    gp->addWidget(new QLabel(QStringLiteral("City:"), personal), 2, 0);
    gp->addWidget(txtCity, 2, 1);
    gp->addWidget(new QLabel(QStringLiteral("State/Province:"), personal), 2, 2);
    gp->addWidget(txtState, 2, 3);
    gp->addWidget(new QLabel(QStringLiteral("Phone:"), personal), 3, 0);
    gp->addWidget(mskPhone, 3, 1);
    gp->addWidget(new QLabel(QStringLiteral("Zip:"), personal), 3, 2);
    gp->addWidget(txtZip, 3, 3);
    SSTab1->addTab(personal, QStringLiteral("Personal Info"));

    auto* company = new QWidget(SSTab1);
    txtRate = lineEdit(company, "txtRate");
    dtpHireDate = new DateBox(company, QStringLiteral("dtpHireDate"), Clock::today());
    cboDep = new QComboBox(company);
    cboDep->setObjectName(QStringLiteral("cboDep"));
    cboDep->setEditable(true);
    cboDep->setInsertPolicy(QComboBox::NoInsert);
    cboSchedule = new QComboBox(company);
    cboSchedule->setObjectName(QStringLiteral("cboSchedule"));
    cboMsg = new QComboBox(company);
    cboMsg->setObjectName(QStringLiteral("cboMsg"));
    cboRuleGroup = new QComboBox(company);
    cboRuleGroup->setObjectName(QStringLiteral("cboRuleGroup"));
    txtPosition = lineEdit(company, "txtPosition");
    CboStatus = new QComboBox(company);
    CboStatus->setObjectName(QStringLiteral("CboStatus"));
    CboStatus->setEditable(true);
    CboStatus->setInsertPolicy(QComboBox::NoInsert);
    for (QComboBox* c : {cboDep, cboSchedule, cboMsg})
        c->setMinimumWidth(220);
    auto* gc = new QGridLayout(company);
    gc->addWidget(new QLabel(QStringLiteral("Hourly Rate:"), company), 0, 0);
    gc->addWidget(txtRate, 0, 1);
    gc->addWidget(new QLabel(QStringLiteral("Hire Date:"), company), 0, 2);
    gc->addWidget(dtpHireDate, 0, 3);
    gc->addWidget(new QLabel(QStringLiteral("Department:"), company), 1, 0);
    gc->addWidget(cboDep, 1, 1, 1, 3);
    gc->addWidget(new QLabel(QStringLiteral("Schedule:"), company), 2, 0);
    gc->addWidget(cboSchedule, 2, 1, 1, 3);
    gc->addWidget(new QLabel(QStringLiteral("Message:"), company), 3, 0);
    gc->addWidget(cboMsg, 3, 1, 1, 3);
    gc->addWidget(new QLabel(QStringLiteral("Rules Group:"), company), 4, 0);
    gc->addWidget(cboRuleGroup, 4, 1);
    gc->addWidget(new QLabel(QStringLiteral("Position:"), company), 5, 0);
    gc->addWidget(txtPosition, 5, 1);
    gc->addWidget(new QLabel(QStringLiteral("Status:"), company), 5, 2);
    gc->addWidget(CboStatus, 5, 3);
    SSTab1->addTab(company, QStringLiteral("Company Info"));

    auto* misc = new QWidget(SSTab1);
    auto* levels = new QGroupBox(QStringLiteral("Supervisor Level:"), misc);
    auto* gl = new QVBoxLayout(levels);
    for (int i = 0; i < 3; ++i) {
        optLevel[i] = new QRadioButton(QStringLiteral("Level %1").arg(i + 1), levels);
        optLevel[i]->setObjectName(QStringLiteral("optLevel%1").arg(i));
        gl->addWidget(optLevel[i]);
        connect(optLevel[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                CurrentLevel = i + 1; // optLevel_Click
        });
    }
    auto* notes = new QGroupBox(QStringLiteral("Notes...."), misc);
    txtNotes = new LimitedText(notes, 255);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    auto* gn = new QVBoxLayout(notes);
    gn->addWidget(txtNotes);
    auto* gm = new QHBoxLayout(misc);
    gm->addWidget(levels);
    gm->addWidget(notes, 1);
    SSTab1->addTab(misc, QStringLiteral("Misc."));

    for (QWidget* w : std::initializer_list<QWidget*>{txtID, txtFirstN, txtMiddleN, txtLastN, mskSSN, txtCity,
                                                      txtState, txtZip, mskPhone, txtRate})
        enterToTab(w);

    auto* menus = new QMenuBar(this);
    QMenu* view = menus->addMenu(QStringLiteral("&View"));
    QAction* active = view->addAction(QStringLiteral("&Active Employees"));
    active->setObjectName(QStringLiteral("mnuViewEmp0"));
    QAction* inactive = view->addAction(QStringLiteral("&Inactive Employees"));
    inactive->setObjectName(QStringLiteral("mnuViewEmp1"));
    connect(active, &QAction::triggered, this, [this] { mnuViewEmp_Click(0); });
    connect(inactive, &QAction::triggered, this, [this] { mnuViewEmp_Click(1); });
    QMenu* sort = menus->addMenu(QStringLiteral("&Sort"));
    auto sortBy = [this](const QString& column) {
        return [this, column] {
            try {
                LoadEmpList(column);
            } catch (const std::exception& e) {
                ShowError(QString(), e);
            }
        };
    };
    connect(sort->addAction(QStringLiteral("By Employee ID#")), &QAction::triggered, this,
            sortBy(QStringLiteral("ID")));
    connect(sort->addAction(QStringLiteral("By Last Name")), &QAction::triggered, this,
            sortBy(QStringLiteral("LastName")));
    connect(sort->addAction(QStringLiteral("By Department#")), &QAction::triggered, this,
            sortBy(QStringLiteral("DepartmentNo")));

    QToolBar* bar = makeToolbar(this,
                                {{"New", "New", "Create a new employee record"},
                                 {"Update", "Update", "Update current employee record"},
                                 {"Delete", "Delete", "Delete current employee record"},
                                 {"", "", ""},
                                 {"Previous", "Previous", "Move to previous employee record"},
                                 {"Next", "Next", "Move to next employee record"},
                                 {"Search", "Search", "Search for an employee record"},
                                 {"", "", ""},
                                 {"Refresh", "Refresh", "Refresh all data"},
                                 {"", "", ""},
                                 {"Close", "Close", "Close this window"}},
                                [this](const QString& key) { Toolbar1_ButtonClick(key); });

    auto* main = new QVBoxLayout(this);
    main->setMenuBar(menus);
    main->addWidget(bar);
    main->addWidget(top);
    main->addWidget(SSTab1, 1);
}

void frmSetupEmployee::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 0);
    }
}

bool frmSetupEmployee::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtID && event->type() == QEvent::FocusOut)
        txtID_LostFocus();
    return QWidget::eventFilter(watched, event);
}

void frmSetupEmployee::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("New")) {
        NewEmployee();
    } else if (key == QLatin1String("Update")) {
        txtID_LostFocus();
        UpdateRec();
    } else if (key == QLatin1String("Delete")) {
        DeleteEmployee();
    } else if (key == QLatin1String("Previous")) {
        ShowPreviousEmployee();
    } else if (key == QLatin1String("Next")) {
        ShowNextEmployee();
    } else if (key == QLatin1String("Search")) {
        FindEmployee();
    } else if (key == QLatin1String("Refresh")) {
        RefreshLists();
    } else if (key == QLatin1String("Close")) {
        closeForm(this);
    }
}

EmployeeFields frmSetupEmployee::fields() const {
    EmployeeFields f;
    f.id = txtID->text();
    f.ssn = maskedText(mskSSN);
    f.firstName = txtFirstN->text();
    f.middleName = txtMiddleN->text();
    f.lastName = txtLastN->text();
    f.address = txtAddress->toPlainText();
    f.city = txtCity->text();
    f.state = txtState->text();
    f.zip = txtZip->text();
    f.phone = maskedText(mskPhone);
    f.rate = txtRate->text();
    f.position = txtPosition->text();
    f.notes = txtNotes->toPlainText();
    f.department = cboDep->currentText();
    f.schedule = cboSchedule->currentText();
    f.message = cboMsg->currentText();
    f.ruleGroup = cboRuleGroup->currentText();
    f.status = CboStatus->currentText();
    f.hireDate = dtpHireDate->date();
    f.level = CurrentLevel;
    return f;
}

void frmSetupEmployee::LoadEmpList(const QString& order) {
    rsEmployee->open(ShowActive, order);
    if (rsEmployee->hasRows())
        ShowRecord();
    SnapshotTags();
    IsNewEmployee = false;
    tag_ = ShowActive ? QStringLiteral("True") : QStringLiteral("False");
}

void frmSetupEmployee::mnuViewEmp_Click(int index) {
    try {
        ShowActive = index == 0;
        rsEmployee->open(ShowActive, QStringLiteral("ID"));
        if (!rsEmployee->hasRows()) {
            clearId();
            ClearFields();
        } else {
            rsEmployee->rows().moveLast();
            ShowRecord();
        }
        SnapshotTags();
        tag_ = ShowActive ? QStringLiteral("True") : QStringLiteral("False");
        IsNewEmployee = false;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmSetupEmployee::selectByKey(QComboBox* box, const QString& key, bool clearWhenMissing) {
    for (int i = 0; i < box->count(); ++i) {
        if (listKey(box->itemText(i)) == key) { // exact, case-sensitive
            box->setCurrentIndex(i);
            return;
        }
    }
    if (clearWhenMissing) {
        box->setCurrentIndex(-1);
        if (box->isEditable())
            box->setEditText(QString());
    }
}

void frmSetupEmployee::setLevel(int level) {
    if (level < 1 || level > 3)
        level = 1;
    optLevel[level - 1]->setChecked(true);
    CurrentLevel = level;
}

void frmSetupEmployee::ShowRecord() {
    const db::Recordset& rs = rsEmployee->rows();
    auto text = [&](const char* column) { return rs.field(QString::fromUtf8(column)).toString(); };
    txtID->setText(text("ID"));
    setMasked(mskSSN, text("SSN"));
    txtFirstN->setText(text("FirstName"));
    txtMiddleN->setText(text("MiddleName"));
    txtLastN->setText(text("LastName"));
    txtAddress->setPlainText(text("Address"));
    txtCity->setText(text("City"));
    txtState->setText(text("State"));
    txtZip->setText(text("Zip"));
    setMasked(mskPhone, text("Phone"));
    txtNotes->setPlainText(text("Notes"));
    const db::Value rate = rs.field(QStringLiteral("Rate"));
    txtRate->setText(rate.isNull() ? QString() : amountText(rate.toDouble()));
    txtPosition->setText(text("Position"));
    dtpHireDate->setDate(rs.field(QStringLiteral("Hire Date")).toDate().value_or(Clock::today()));
    selectByKey(cboDep, text("DepartmentNo"), true);
    selectByKey(cboSchedule, text("ScheduleNo"), false);
    const db::Value rule = rs.field(QStringLiteral("Rulename"));
    if (!rule.isNull()) {
        const int i = cboRuleGroup->findText(rule.toString(), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0)
            cboRuleGroup->setCurrentIndex(i);
    }
    const QString msg = text("MsgNo");
    bool found = false;
    for (int i = 0; i < cboMsg->count() && !found; ++i)
        found = listKey(cboMsg->itemText(i)) == msg;
    if (found) {
        selectByKey(cboMsg, msg, false);
    } else {
        rsEmployee->resetMessage();
        cboMsg->setCurrentIndex(0);
    }
    const db::Value level = rs.field(QStringLiteral("SupervisorLevel"));
    setLevel(level.isNull() ? 1 : int(level.toInt()));
    const db::Value status = rs.field(QStringLiteral("Status"));
    if (!status.isNull())
        CboStatus->setCurrentText(status.toBool() ? QStringLiteral("Active") : QStringLiteral("Inactive"));
}

void frmSetupEmployee::clearId() { txtID->clear(); }

void frmSetupEmployee::ClearFields() {
    clearMasked(mskSSN);
    clearMasked(mskPhone);
    for (QLineEdit* e : {txtFirstN, txtMiddleN, txtLastN, txtCity, txtState, txtZip, txtPosition})
        e->clear();
    txtAddress->clear();
    txtNotes->clear();
    txtRate->setText(QLatin1Char('0') + decimalSeparator() + QStringLiteral("00"));
    dtpHireDate->setDate(Clock::today());
    setLevel(1);
    CboStatus->setCurrentText(tag_ == QLatin1String("True") ? QStringLiteral("Active") : QStringLiteral("Inactive"));
    cboDep->setCurrentIndex(-1);
    cboDep->setEditText(QString());
    cboSchedule->setCurrentIndex(cboSchedule->count() > 0 ? 0 : -1);
    cboMsg->setCurrentIndex(cboMsg->count() > 0 ? 0 : -1);
}

void frmSetupEmployee::SnapshotTags() {
    snapshot_ = fields();
    idTag_ = txtID->text();
    SavedLevel = CurrentLevel;
}

void frmSetupEmployee::txtID_LostFocus() {
    if (!rsEmployee || txtID->text() == idTag_)
        return;
    try {
        if (!rsEmployee->find(txtID->text())) {
            IsNewEmployee = true;
            ClearFields();
        } else {
            IsNewEmployee = false;
            ShowRecord();
        }
        SnapshotTags();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmSetupEmployee::UpdateRec() {
    if (IsNewEmployee)
        AddRecord();
    else
        UpdateRecord();
    SnapshotTags();
}

void frmSetupEmployee::AddRecord() {
    try {
        rsEmployee->add(fields());
        IsNewEmployee = false;
        rsEmployee->requery();
    } catch (const std::exception&) {
        ShowError(QString(), QStringLiteral("Employee record was not added successfully!"));
    }
}

void frmSetupEmployee::UpdateRecord() {
    try {
        const EmployeeFields now = fields();
        rsEmployee->update(now.id, changedEmployeeColumns(now, snapshot_, SavedLevel));
        if (now.status != snapshot_.status)
            rsEmployee->requery(); // the employee may have left the view
    } catch (const std::exception&) {
        ShowError(QStringLiteral("T154-"), QStringLiteral("Employee record was not updated successfully!"));
    }
}

void frmSetupEmployee::NewEmployee() {
    if (IsNewEmployee) {
        if (ui::MsgBox(QStringLiteral("Would you like to add the current employee record?"), ui::Buttons::YesNo,
                       ui::Icon::Question) == ui::Answer::Yes) {
            UpdateRec();
            if (IsNewEmployee)
                return;
        }
    }
    txtID->setFocus();
    clearId();
    ClearFields();
    SnapshotTags();
}

void frmSetupEmployee::DeleteEmployee() {
    const QString id = txtID->text();
    if (id.isEmpty())
        return;
    if (IsNewEmployee) {
        IsNewEmployee = false;
        clearId();
        ClearFields();
        SnapshotTags();
        return;
    }
    try {
        const bool attendance = rsEmployee->hasAttendance(id);
        const bool absences = rsEmployee->hasAbsences(id);
        QString question = QStringLiteral("Are you sure you want to delete current employee record?");
        if (attendance || absences)
            question = QStringLiteral("Attendance/absence data on that employee will be deleted also? ") + question;
        if (ui::MsgBox(question, ui::Buttons::YesNo, ui::Icon::Question) != ui::Answer::Yes)
            return;
        rsEmployee->remove(id, absences, attendance);
        if (rsEmployee->hasRows()) {
            ShowRecord();
        } else {
            clearId();
            ClearFields();
        }
        SnapshotTags();
    } catch (const std::exception&) {
        ShowError(QString(), QStringLiteral("Employee record was not deleted successfully!"));
    }
}

void frmSetupEmployee::ShowPreviousEmployee() { StepEmployee(&EmployeeBook::movePrevious); }

void frmSetupEmployee::ShowNextEmployee() { StepEmployee(&EmployeeBook::moveNext); }

void frmSetupEmployee::StepEmployee(void (EmployeeBook::*move)()) {
    IsNewEmployee = false;
    try {
        if (rsEmployee->hasRows()) {
            (rsEmployee.get()->*move)();
            ShowRecord();
        } else {
            clearId();
            ClearFields();
        }
    } catch (const std::exception&) {
        // Moving on ignores errors.
    }
    SnapshotTags();
}

void frmSetupEmployee::FindEmployee() {
    if (IsNewEmployee) {
        if (ui::MsgBox(QStringLiteral("Add new employee?"), ui::Buttons::YesNo, ui::Icon::Question) ==
            ui::Answer::Yes) {
            UpdateRec();
            if (IsNewEmployee)
                return;
        }
    }
    frmEmpFind dlg(tag_, this);
    dlg.exec();
    if (!dlg.tag().isEmpty()) {
        txtID->setText(dlg.tag());
        txtID_LostFocus();
    }
}

void frmSetupEmployee::RefreshLists() {
    ui::WaitCursor wait;
    auto refill = [](QComboBox* box, const std::function<void()>& fill) {
        const QString shown = box->currentText();
        box->clear();
        fill();
        const int i = box->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0)
            box->setCurrentIndex(i);
        else if (box->isEditable())
            box->setEditText(shown);
    };
    try {
        refill(cboMsg, [this] { FillMessageList(); });
        refill(cboSchedule, [this] { FillScheduleList(); });
        refill(cboDep, [this] { FillDepartmentList(); });
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmSetupEmployee::FillDepartmentList() {
    try {
        db::Recordset rs =
            companyDb().openRecordset(QStringLiteral("SELECT * FROM Department ORDER BY DepartmentNo"));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            cboDep->addItem(rs.field(QStringLiteral("DepartmentNo")).toString() + QLatin1Char(' ') +
                            rs.field(QStringLiteral("Description")).toString());
    } catch (const std::exception&) {
        // A failing department list is passed over.
    }
    cboDep->setCurrentIndex(-1);
}

void frmSetupEmployee::FillScheduleList() {
    cboSchedule->addItem(QStringLiteral("000 No Schedule"));
    try {
        db::Recordset rs = companyDb().openRecordset(
            QStringLiteral("SELECT ScheduleNo,Description FROM Schedule ORDER BY ScheduleNo"));
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            cboSchedule->addItem(rs.field(QStringLiteral("ScheduleNo")).toString() + QLatin1Char(' ') +
                                 rs.field(QStringLiteral("Description")).toString());
    } catch (const std::exception&) {
        // A failing schedule list is passed over.
    }
    cboSchedule->setCurrentIndex(0);
}

void frmSetupEmployee::FillMessageList() {
    cboMsg->addItem(QStringLiteral("000 No Message"));
    db::Recordset rs = companyDb().openRecordset(QStringLiteral("SELECT * FROM Messages ORDER BY MessageNo"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        cboMsg->addItem(rs.field(QStringLiteral("MessageNo")).toString() + QLatin1Char(' ') +
                        rs.field(QStringLiteral("Message")).toString());
    cboMsg->setCurrentIndex(0);
}

} // namespace plax::setup
