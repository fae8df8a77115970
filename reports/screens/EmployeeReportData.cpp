#include "EmployeeReportData.h"

#include "core/types/WorkWeek.h"
#include "platform/print/Formula.h"
#include "platform/ui/Dialogs.h"

namespace plax::reports {

QString BuildEmployeeSelection(const EmployeeReportChoice& c) {
    QString s;
    if (c.select == EmployeeReportChoice::Department) {
        if (c.departmentText.isEmpty()) {
            ui::MsgBox(QStringLiteral("No department selected!"), ui::Buttons::OK, ui::Icon::Information);
            return QStringLiteral("ERROR");
        }
        s = QStringLiteral("{Employee.DepartmentNo} = ") + print::formulaLiteral(entryKey(c.departmentText));
    } else if (c.select == EmployeeReportChoice::Employee) {
        if (c.employeeText.isEmpty()) {
            ui::MsgBox(QStringLiteral("No employee selected!"), ui::Buttons::OK, ui::Icon::Information);
            return QStringLiteral("ERROR");
        }
        s = QStringLiteral("{Employee.ID} = ") + print::formulaLiteral(entryKey(c.employeeText));
    }
    if (c.status != EmployeeReportChoice::Both && c.select != EmployeeReportChoice::All)
        s += QStringLiteral(" AND ");
    if (c.status == EmployeeReportChoice::Active)
        s += QStringLiteral("{Employee.Status} = True ");
    else if (c.status == EmployeeReportChoice::Inactive)
        s += QStringLiteral("{Employee.Status} = False ");
    return s;
}

std::optional<QString> BuildAbsenceSelection(const AbsenceReportChoice& c, const CompanySettings& s) {
    QString p;
    const QString date = QStringLiteral("{Absence.TDate}");
    if (c.dateRange) {
        p = formulaDateRange(date, c.from, c.to);
    } else {
        const auto typed = parseDate(c.payPeriodText);
        if (!typed) {
            ui::MsgBox(QStringLiteral("Invalid date!"));
            return std::nullopt;
        }
        // The work week's number within its own dates.
        const PayWeek w = PayWeekOf(*typed, s);
        p = QStringLiteral("{Absence.Week} = %1 AND ").arg(w.number) + formulaDateRange(date, w.first, w.lastDay());
    }
    if (c.select == AbsenceReportChoice::Employee) {
        if (c.employeeIndex > 0)
            p += QStringLiteral(" AND {Absence.EmpID} = ") + print::formulaLiteral(entryKey(c.employeeText));
    } else if (c.select == AbsenceReportChoice::Department) {
        if (c.departmentIndex < 0) {
            ui::MsgBox(QStringLiteral("No department selected!"), ui::Buttons::OK, ui::Icon::Information);
            return std::nullopt;
        }
        p += QStringLiteral(" AND {Department.DepartmentNo} = ") + print::formulaLiteral(entryKey(c.departmentText));
    }
    return p;
}

} // namespace plax::reports
