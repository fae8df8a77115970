#pragma once
// "Setup: Schedule": a schedule number, its description and, per weekday,
// a worked day with start and end time or a day off. The rows are read and
// written by ScheduleStore; this class keeps the snapshot that tells what
// changed.

#include "ScheduleStore.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QVBoxLayout;

namespace plax {
class TimeBox;
}

namespace plax::setup {

class frmScheduleSetup : public QWidget {
    Q_OBJECT
public:
    explicit frmScheduleSetup(QWidget* parent = nullptr);

    bool loaded() const { return loaded_; }
    bool isNewSchedule() const { return IsNewSchedule; }
    // The weekdays in the order the rows are shown.
    const std::vector<int>& dayRowOrder() const { return order_; }

    void Toolbar1_ButtonClick(const QString& key);
    void cboSchNo_LostFocus();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chkScheduled_Click(int index);
    void NewSchedule();
    void ClearSchedule();
    void SnapshotScheduleTags();
    void FillScheduleNumbers();
    void ArrangeDayRows();
    void SaveSchedule();
    bool ValidateSchedule();
    bool AddSchedule();
    bool UpdateSchedule();
    void DeleteSchedule();
    void PrintSchedule(int dest);
    ScheduleData shown() const;

    bool IsNewSchedule = false;
    ScheduleData snapshot_;
    QString numberTag_;
    bool loaded_ = false;
    bool placed_ = false;
    std::vector<int> order_;

    QComboBox* cboSchNo;
    QLineEdit* txtDescription;
    QVBoxLayout* dayRows_;
    QFrame* sspDayOfWeek[8]{};
    QCheckBox* chkScheduled[8]{};
    TimeBox* dtpStartTime[8]{};
    TimeBox* dtpEndTime[8]{};
};

} // namespace plax::setup
