#pragma once
// "Setup: Employee": walks through the employees of one status (active or
// inactive) in a chosen order; looks one up by typed ID or through the
// search dialog; adds, changes and deletes employees. Deleting one also
// deletes its absence and attendance rows. What the rows become lives in
// EmployeeBook; this class moves texts between the fields and the rows.

#include "EmployeeBook.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;

namespace plax {
class DateBox;
}

namespace plax::setup {

class frmSetupEmployee : public QWidget {
    Q_OBJECT
public:
    explicit frmSetupEmployee(QWidget* parent = nullptr);
    ~frmSetupEmployee() override;

    // False when opening failed (the error box was shown); the screen is
    // then not to be shown.
    bool loaded() const { return loaded_; }
    // The view as text, "True" (active) or "False"; the search reads it.
    const QString& tag() const { return tag_; }
    bool isNewEmployee() const { return IsNewEmployee; }

    void Toolbar1_ButtonClick(const QString& key);
    void mnuViewEmp_Click(int index);
    void LoadEmpList(const QString& order);
    void txtID_LostFocus();
    void UpdateRec();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab follow the order of the fields, turning the page
    // of the tab control where the next field lies on another one.
    bool focusNextPrevChild(bool next) override;

private:
    void buildControls();
    EmployeeFields fields() const;
    void ShowRecord();
    void ClearFields();
    void clearId();
    void SnapshotTags();
    void AddRecord();
    void UpdateRecord();
    void NewEmployee();
    void DeleteEmployee();
    void ShowNextEmployee();
    void ShowPreviousEmployee();
    void StepEmployee(void (EmployeeBook::*move)());
    void FindEmployee();
    void RefreshLists();
    void FillDepartmentList();
    void FillScheduleList();
    void FillMessageList();
    void selectByKey(QComboBox* box, const QString& key, bool clearWhenMissing);
    void setLevel(int level);

    std::unique_ptr<EmployeeBook> rsEmployee;
    bool ShowActive = true;
    bool IsNewEmployee = false;
    int CurrentLevel = 1;
    int SavedLevel = 1;
    EmployeeFields snapshot_;
    QString idTag_;
    QString tag_ = QStringLiteral("True");
    bool loaded_ = false;
    bool placed_ = false;

    QLineEdit *txtID, *txtFirstN, *txtMiddleN, *txtLastN, *mskSSN, *txtCity, *txtState, *mskPhone, *txtZip,
        *txtRate, *txtPosition;
    QPlainTextEdit *txtAddress, *txtNotes;
    DateBox* dtpHireDate;
    QComboBox *cboDep, *cboSchedule, *cboMsg, *cboRuleGroup, *CboStatus;
    QRadioButton* optLevel[3];
    QTabWidget* SSTab1;
};

// The text of a masked SSN or phone field: empty while no digit is typed.
QString maskedText(const QLineEdit* field);

} // namespace plax::setup
