#pragma once
// "Report: Employee Absence": the paid absences of a date range or a
// pay-period week, for all employees, one employee or one department.

#include <QWidget>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace plax {
class DateBox;
class WeekNavigator;
}

namespace plax::reports {

class frmAbsenceRpt : public QWidget {
    Q_OBJECT
  public:
    explicit frmAbsenceRpt(QWidget* parent = nullptr);

    void Toolbar1_ButtonClick(const QString& key);
    void PrintAbsenceReport(int destination);
    // The selection formula the report would get; empty after a message.
    QString absenceSelection() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void optDateRange_Click();
    void optPayPeriod_Click();
    void optDepartments_Click();
    void optEmployees_Click();

    QRadioButton *optDateRange_, *optPayPeriod_, *optDepartments_, *optEmployees_;
    DateBox *DTPFromDate_, *DTPToDate_;
    QLineEdit* txtPayPeriod_;
    WeekNavigator* UpDown1_;
    QComboBox *cboDepartment_, *cboEmployee_;
    bool placed_ = false;
};

} // namespace plax::reports
