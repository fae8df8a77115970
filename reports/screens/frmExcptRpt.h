#pragma once
// "Report: Exception": shifts that need a supervisor's attention (no hours,
// outside the schedule, spread over more than one day) for a work week or
// date range, for one employee, all employees or one department. Keeps the
// work table Exceptions for as long as it is open.

#include <QWidget>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace plax {
class DateBox;
class WeekNavigator;
}

namespace plax::reports {

struct ExceptionChoice;

class frmExcptRpt : public QWidget {
    Q_OBJECT
  public:
    explicit frmExcptRpt(QWidget* parent = nullptr);
    ~frmExcptRpt() override;

    void Toolbar1_ButtonClick(const QString& key);
    void PrintExceptionReport(int destination);
    bool ValidateExceptionSelection();
    // Fills Exceptions for the screen's choice; false after a message.
    bool BuildExceptions();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void optPayPeriod_Click();
    void optDateRange_Click();
    void optEmp_Click();
    void optDep_Click();
    ExceptionChoice choice() const;

    QRadioButton *optPayPeriod_, *optDateRange_, *optEmp_, *optDep_;
    QLineEdit* txtPayPeriod_;
    WeekNavigator* UpDown1_;
    DateBox *DTPFromDate_, *DTPToDate_;
    QComboBox *cboEmp_, *cboDep_;
    bool placed_ = false;
    bool tableReady_ = false;
};

} // namespace plax::reports
