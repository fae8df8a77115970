#pragma once
// "Report: Employee Data": the employee list or the employee detail report
// for all employees, one department or one employee, by status, the list
// sorted by a chosen order.

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QRadioButton;

namespace plax::reports {

class frmEmpQry : public QWidget {
    Q_OBJECT
  public:
    explicit frmEmpQry(QWidget* parent = nullptr);

    // Toolbar1_ButtonClick by key.
    void Toolbar1_ButtonClick(const QString& key);
    // Destination 0 = print dialog, 1 = preview.
    void PrintEmployeeReport(int destination);
    QString BuildEmployeeSelection() const;
    int sortChoice() const { return sortChoice_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void optSelAll_Click();
    void optSelDep_Click();
    void optSelEmp_Click();

    QRadioButton *optBoth_, *optActive_, *optInActive_;
    QRadioButton *optlst_, *optDetail_;
    QRadioButton *optSelAll_, *optSelDep_, *optSelEmp_;
    QComboBox *cboDep_, *cboEmp_;
    QButtonGroup* optsort_;
    int sortChoice_ = 1;
    bool placed_ = false;
};

} // namespace plax::reports
