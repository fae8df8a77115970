#include "frmScheduleSetup.h"

#include "SetupParts.h"
#include "core/common/Common.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/TypedBoxes.h"
#include "platform/ui/Dialogs.h"
#include "reports/screens/ScreenParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace plax::setup {
namespace {

const char* const kDayNames[] = {"", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

} // namespace

frmScheduleSetup::frmScheduleSetup(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmScheduleSetup"));
    setWindowTitle(QStringLiteral("Setup: Schedule"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* frame = new QGroupBox(QStringLiteral("Schedule"), this);
    cboSchNo = new QComboBox(frame);
    cboSchNo->setObjectName(QStringLiteral("cboSchNo"));
    cboSchNo->setEditable(true);
    cboSchNo->setInsertPolicy(QComboBox::NoInsert);
    // A number means what is typed: "0" must not turn into "001".
    cboSchNo->setCompleter(nullptr);
    txtDescription = new QLineEdit(frame);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    auto* g = new QGridLayout(frame);
    g->addWidget(new QLabel(QStringLiteral("Schedule#:"), frame), 0, 0);
    g->addWidget(cboSchNo, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Description:"), frame), 1, 0);
    g->addWidget(txtDescription, 1, 1);
    // The focus and the keys belong to the combo box itself (its line edit
    // only gets them handed on), so that is where they are watched.
    cboSchNo->installEventFilter(this);
    enterToTab(cboSchNo);
    enterToTab(txtDescription);
    connect(cboSchNo, &QComboBox::activated, this, [this] { cboSchNo_LostFocus(); }); // cboSchNo_Click

    auto* hours = new QGroupBox(QStringLiteral("Schedule Hours"), this);
    dayRows_ = new QVBoxLayout(hours);
    for (int i = 1; i <= 7; ++i) {
        auto* panel = new QFrame(hours);
        panel->setObjectName(QStringLiteral("sspDayOfWeek%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        chkScheduled[i] = new QCheckBox(QString::fromUtf8(kDayNames[i]), panel);
        chkScheduled[i]->setObjectName(QStringLiteral("chkScheduled%1").arg(i));
        chkScheduled[i]->setMinimumWidth(110);
        dtpStartTime[i] = new TimeBox(panel);
        dtpStartTime[i]->setObjectName(QStringLiteral("dtpStartTime%1").arg(i));
        dtpEndTime[i] = new TimeBox(panel);
        dtpEndTime[i]->setObjectName(QStringLiteral("dtpEndTime%1").arg(i));
        dtpStartTime[i]->setEnabled(false);
        dtpEndTime[i]->setEnabled(false);
        auto* row = new QHBoxLayout(panel);
        row->addWidget(chkScheduled[i]);
        row->addWidget(dtpStartTime[i]);
        row->addWidget(new QLabel(QStringLiteral("->"), panel));
        row->addWidget(dtpEndTime[i]);
        sspDayOfWeek[i] = panel;
        connect(chkScheduled[i], &QCheckBox::toggled, this, [this, i] { chkScheduled_Click(i); });
    }

    QToolBar* bar = makeToolbar(this,
                                {{"New", "New", "Create a new schedule"},
                                 {"Update", "Update", "Save current schedule"},
                                 {"Delete", "Delete", "Delete current schedule"},
                                 {"", "", ""},
                                 {"View", "View", "Preview schedules listing"},
                                 {"Print", "Print", "Print schedules listing"},
                                 {"", "", ""},
                                 {"Close", "Close", "Close this window"}},
                                [this](const QString& key) { Toolbar1_ButtonClick(key); });
    auto* main = new QVBoxLayout(this);
    main->addWidget(bar);
    main->addWidget(frame);
    main->addWidget(hours);

    // Form_Load
    try {
        ArrangeDayRows();
        FillScheduleNumbers();
        cboSchNo->setCurrentIndex(-1);
        cboSchNo->setEditText(QString());
        SnapshotScheduleTags();
        IsNewSchedule = false;
        loaded_ = true;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmScheduleSetup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeForm(this, 100, 100);
    }
}

bool frmScheduleSetup::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the box for another control runs the lookup; its own list
    // opening (the choice runs it) and another window taking the focus,
    // such as the lookup's own message box, do not.
    if (watched == cboSchNo && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if (why != Qt::PopupFocusReason && why != Qt::ActiveWindowFocusReason)
            cboSchNo_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void frmScheduleSetup::ArrangeDayRows() {
    order_ = workWeekDayOrder(Company.WorkDay);
    QWidget* previous = txtDescription;
    for (int day : order_) {
        dayRows_->addWidget(sspDayOfWeek[day]);
        setTabOrder(previous, chkScheduled[day]);
        setTabOrder(chkScheduled[day], dtpStartTime[day]);
        setTabOrder(dtpStartTime[day], dtpEndTime[day]);
        previous = dtpEndTime[day];
    }
}

void frmScheduleSetup::chkScheduled_Click(int i) {
    const bool on = chkScheduled[i]->isChecked();
    dtpStartTime[i]->setEnabled(on);
    dtpEndTime[i]->setEnabled(on);
    if (!on) {
        dtpStartTime[i]->setTime(TimeOfDay());
        dtpEndTime[i]->setTime(TimeOfDay());
    }
}

void frmScheduleSetup::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("New"))
        NewSchedule();
    else if (key == QLatin1String("Update"))
        SaveSchedule();
    else if (key == QLatin1String("Delete"))
        DeleteSchedule();
    else if (key == QLatin1String("View"))
        PrintSchedule(1);
    else if (key == QLatin1String("Print"))
        PrintSchedule(0);
    else if (key == QLatin1String("Close"))
        closeForm(this);
}

ScheduleData frmScheduleSetup::shown() const {
    ScheduleData s;
    s.description = txtDescription->text();
    for (int i = 1; i <= 7; ++i)
        s.days[size_t(i)] = {chkScheduled[i]->isChecked(), dtpStartTime[i]->time(), dtpEndTime[i]->time()};
    return s;
}

void frmScheduleSetup::SnapshotScheduleTags() {
    numberTag_ = cboSchNo->currentText();
    snapshot_ = shown();
}

void frmScheduleSetup::ClearSchedule() {
    txtDescription->clear();
    for (int i = 1; i <= 7; ++i) {
        chkScheduled[i]->setChecked(false);
        dtpStartTime[i]->setTime(TimeOfDay());
        dtpEndTime[i]->setTime(TimeOfDay());
    }
    SnapshotScheduleTags();
}

void frmScheduleSetup::NewSchedule() {
    cboSchNo->setCurrentIndex(-1);
    cboSchNo->setEditText(QString());
    ClearSchedule();
}

void frmScheduleSetup::FillScheduleNumbers() {
    cboSchNo->clear();
    try {
        cboSchNo->addItems(scheduleNumbers(companyDb()));
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void frmScheduleSetup::cboSchNo_LostFocus() {
    const QString text = cboSchNo->currentText();
    if (text == numberTag_ || text.isEmpty())
        return;
    try {
        if (!scheduleNumberInRange(scheduleNumberValue(text))) {
            ui::MsgBox(QStringLiteral("Schedule# should be between 1 and 300!"), ui::Buttons::OK,
                       ui::Icon::Information);
            // Back to the number, selected for typing over, as a date box
            // takes its refused text back: the keys that follow must not
            // go into the description.
            QTimer::singleShot(0, cboSchNo, [this] {
                if (cboSchNo->isVisible()) {
                    cboSchNo->setFocus(Qt::OtherFocusReason);
                    cboSchNo->lineEdit()->selectAll();
                }
            });
            return;
        }
        ClearSchedule();
        // Looked up as it is stored: "7" finds "007".
        const QString number = paddedScheduleNumber(text);
        const auto s = loadSchedule(companyDb(), number);
        if (!s) {
            IsNewSchedule = true;
            ClearSchedule();
            return;
        }
        IsNewSchedule = false;
        cboSchNo->setEditText(number);
        txtDescription->setText(s->description);
        for (int i = 1; i <= 7; ++i) {
            const ScheduleDay& d = s->days[size_t(i)];
            if (!d.worked)
                continue;
            chkScheduled[i]->setChecked(true);
            dtpStartTime[i]->setTime(d.start);
            dtpEndTime[i]->setTime(d.end);
        }
        SnapshotScheduleTags();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

bool frmScheduleSetup::ValidateSchedule() {
    try {
        if (scheduleNumberInRange(scheduleNumberValue(cboSchNo->currentText())))
            return true;
        ui::MsgBox(QStringLiteral("Schedule# should be between 1 and 300!"), ui::Buttons::OK, ui::Icon::Information);
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("X156-"), e);
    }
    return false;
}

void frmScheduleSetup::SaveSchedule() {
    if (!ValidateSchedule())
        return;
    // A number typed and saved at once (toolbar buttons take no focus) has
    // not been looked up. The screen is stored as it stands: the stored
    // rows only decide between adding and updating, and an update writes
    // what differs from them.
    if (cboSchNo->currentText() != numberTag_) {
        try {
            const QString number = paddedScheduleNumber(cboSchNo->currentText());
            const auto stored = loadSchedule(companyDb(), number);
            IsNewSchedule = !stored;
            if (stored) {
                cboSchNo->setEditText(number);
                snapshot_ = *stored;
            }
        } catch (const std::exception& e) {
            ShowError(QStringLiteral("X156-"), e);
            return;
        }
    }
    // A refused save writes nothing, so the snapshot stays what is stored.
    if (IsNewSchedule ? AddSchedule() : UpdateSchedule())
        SnapshotScheduleTags();
}

bool frmScheduleSetup::AddSchedule() {
    const QString number = paddedScheduleNumber(cboSchNo->currentText());
    cboSchNo->setEditText(number);
    try {
        addSchedule(companyDb(), number, shown());
        cboSchNo->addItem(number);
        cboSchNo->setCurrentIndex(cboSchNo->count() - 1);
        IsNewSchedule = false;
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("X154-"), e);
        return false;
    }
}

bool frmScheduleSetup::UpdateSchedule() {
    try {
        updateSchedule(companyDb(), cboSchNo->currentText(), shown(), snapshot_);
        return true;
    } catch (const std::exception&) {
        ShowError(QStringLiteral("X155-"), QStringLiteral("Schedule was not updated successfully!"));
        return false;
    }
}

void frmScheduleSetup::DeleteSchedule() {
    const QString number = cboSchNo->currentText();
    if (IsNewSchedule || number.isEmpty()) {
        cboSchNo->setCurrentIndex(-1);
        cboSchNo->setEditText(QString());
        ClearSchedule();
        return;
    }
    try {
        if (scheduleInUse(companyDb(), number)) {
            ui::MsgBox(QStringLiteral("Cannot delete current schedule. One or more employees are assigned to it."),
                       ui::Buttons::OK, ui::Icon::Information);
            return;
        }
        if (ui::MsgBox(QStringLiteral("Delete current schedule?"), ui::Buttons::YesNo, ui::Icon::Question) !=
            ui::Answer::Yes)
            return;
        deleteSchedule(companyDb(), number);
        FillScheduleNumbers();
        cboSchNo->setCurrentIndex(-1);
        cboSchNo->setEditText(QString());
        ClearSchedule();
    } catch (const std::exception&) {
        ShowError(QString(), QStringLiteral("Schedule was not deleted successfully!"));
    }
}

void frmScheduleSetup::PrintSchedule(int dest) { reports::printReport(dest, QStringLiteral("Schedule.rpt"), QString()); }

} // namespace plax::setup
