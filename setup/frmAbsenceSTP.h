#pragma once
// "Setup: Employee Absence": paid absences of a pay-period week or a date
// range in an editable grid; one row per employee and day, the week
// following the date.

#include "AbsencePeriod.h"
#include "frmGridScreen.h"

#include <optional>

class QLineEdit;
class QRadioButton;

namespace plax {
class DateBox;
class WeekNavigator;
}

namespace plax::setup {

class frmAbsenceSTP : public frmGridScreen {
    Q_OBJECT
public:
    explicit frmAbsenceSTP(QWidget* parent = nullptr);

    void Toolbar1_ButtonClick(const QString& key) override;
    void cmdLoad_Click();
    void TDBGrid1_HeadClick(int column);
    void DeleteSelectedRows();
    // The Delete key deletes as the toolbar's Delete does.
    void deleteGridRows() override { DeleteSelectedRows(); }
    // The active employees the ID drop-down offers: ID and "LastName, FirstName".
    const std::vector<std::pair<QString, QString>>& employeeChoices() const { return employees_; }

protected:
    void PrintList(int) override {}

private:
    void optPayPeriod_Click();
    void optDateRange_Click();
    // False (after "Invalid date!") when the pay-period box holds no date.
    bool LoadAbsenceGrid();
    std::optional<AbsencePeriod> shownPeriod(bool forSort);
    void ShowReportSelection();

    QRadioButton *optPayPeriod, *optDateRange;
    QLineEdit* txtPayPeriod;
    WeekNavigator* UpDown1;
    DateBox *DTPFromDate, *DTPToDate;
    std::vector<std::pair<QString, QString>> employees_;
};

} // namespace plax::setup
