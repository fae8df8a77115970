#pragma once
// "Reports: Attendance": worked, paid-absence and holiday hours for a date
// range or a pay-period week, for employees chosen by name, department or
// schedule. Keeps the work table Attendance for as long as it is open.

#include "AttendanceData.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace plax {
class DateBox;
class WeekNavigator;
}

namespace plax::reports {

class frmAttendanceRpt : public QWidget {
    Q_OBJECT
  public:
    explicit frmAttendanceRpt(QWidget* parent = nullptr);
    ~frmAttendanceRpt() override;

    void Toolbar1_ButtonClick(const QString& key);
    // Destination 0 = print dialog, 1 = preview.
    void PrintAttendanceReport(int destination);
    // The formula of the last print that got as far as the report.
    const QString& lastSelection() const { return lastSelection_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Form_Load's database part: the work table and the hours engine, once
    // the screen shows (its progress in a bar while the windows keep
    // painting), or before the first print of a screen never shown.
    void loadHours();
    void optDateRange_Click();
    void optPayPeriod_Click();
    void cboEmpGroups_Click();
    void trvEmp_NodeCheck(QTreeWidgetItem* node);
    EmpGrouping grouping() const;

    QRadioButton *optDateRange_, *optPayPeriod_;
    DateBox *DTPFromDate_, *DTPToDate_;
    QLineEdit* txtPayPeriod_;
    WeekNavigator* UpDown1_;
    QRadioButton *optDaily_, *optSummary_, *optDetail_;
    QTabWidget* SSTab1_;
    QComboBox* cboEmpGroups_;
    QTreeWidget* trvEmp_;
    std::vector<TreeEntry> entries_;
    QString lastSelection_;
    bool placed_ = false;
    bool hoursLoaded_ = false;
};

} // namespace plax::reports
