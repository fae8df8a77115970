#pragma once
// Selection formulas of the employee report (frmEmpQry) and the absence
// report (frmAbsenceRpt). The messages they give go through the dialogs
// module; no widgets here.

#include "SelectionText.h"
#include "core/types/CompanySettings.h"
#include "core/types/Dates.h"

#include <QString>
#include <optional>

namespace plax::reports {

struct EmployeeReportChoice {
    enum Select { All, Department, Employee } select = All;
    enum Status { Both, Active, Inactive } status = Active;
    QString departmentText; // cboDep
    QString employeeText;   // cboEmp
};

// The selection formula, or "ERROR" after "No department selected!" /
// "No employee selected!".
QString BuildEmployeeSelection(const EmployeeReportChoice& c);

struct AbsenceReportChoice {
    bool dateRange = false;
    CalDate from, to;
    QString payPeriodText;
    enum Select { None, Department, Employee } select = Employee;
    int departmentIndex = -1; // -1: nothing chosen
    QString departmentText;
    int employeeIndex = 0; // 0: "<All Employees>"
    QString employeeText;
};

// The selection formula, or nullopt after "Invalid date!" / "No department
// selected!".
std::optional<QString> BuildAbsenceSelection(const AbsenceReportChoice& c, const CompanySettings& s);

} // namespace plax::reports
