#include "frmDepStp.h"

#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"
#include "reports/screens/ScreenParts.h"

#include <QHeaderView>
#include <QTableView>

namespace plax::setup {

frmDepStp::frmDepStp(QWidget* parent)
    : frmGridScreen(QStringLiteral("frmDepStp"), QStringLiteral("Setup: Department"),
                    {{"Refresh", "Refresh", "Refresh departments"},
                     {"Preview", "View", "Preview departments listing"},
                     {"Print", "Print", "Print departments listing"},
                     {"Close", "Close", "Close this window"}},
                    {QStringLiteral("- You have entered data that too long for the field. "),
                     QStringLiteral("- The Department# field cannot be left blank."),
                     QStringLiteral("- You have entered data that does not match the type of the field."),
                     QStringLiteral("- An existing record has the same Department#."),
                     QStringLiteral("- One or more employees are assigned to current department.")},
                    false, parent) {
    load([this] {
        makeModel(QStringLiteral("Department"),
                  {{QStringLiteral("DepartmentNo"), QStringLiteral("Department#")},
                   {QStringLiteral("Description"), QStringLiteral("Description")}});
        // TDBGrid1_BeforeColUpdate: no blank inside a department number,
        // and the number of a department that employees belong to stays.
        model_->beforeColUpdate = [this](int row, int column, const QString& text) {
            if (column != 0)
                return true;
            if (!text.isEmpty() && text.contains(QLatin1Char(' '))) {
                ui::MsgBox(QStringLiteral("The department# cannot contain any space character."), ui::Buttons::OK,
                           ui::Icon::Information);
                return false;
            }
            if (hasEmployees(model_->storedValue(row, 0), text.trimmed())) {
                TDBGrid1_Error();
                return false;
            }
            return true;
        };
        model_->beforeDelete = [this](int row) {
            if (hasEmployees(model_->storedValue(row, 0), db::Value()))
                throw db::DbError(db::err::General, QStringLiteral("Employees are assigned to the department."));
        };
        model_->open(QString(), {}, QStringLiteral("DepartmentNo"));
        SetGridColumns();
    });
    connect(TDBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &frmDepStp::TDBGrid1_HeadClick);
}

// Employees refer to their department by its number: while one does, the
// department is neither deleted nor given another number (`renamedTo`,
// null for a deletion; a change of case only is the same number).
bool frmDepStp::hasEmployees(const db::Value& no, const db::Value& renamedTo) {
    if (no.isNull())
        return false;
    return !companyDb()
                .openRecordset(QStringLiteral("SELECT 1 FROM Employee WHERE DepartmentNo = ? AND "
                                              "(? IS NULL OR DepartmentNo <> ?) LIMIT 1"),
                               {no, renamedTo, renamedTo})
                .eof();
}

void frmDepStp::TDBGrid1_HeadClick(int column) {
    try {
        if (column < 0 || column >= int(model_->columns().size()) || !pendingRowStored())
            return;
        model_->open(QString(), {}, QLatin1Char('[') + model_->columns()[size_t(column)].field + QLatin1Char(']'));
        SetGridColumns();
    } catch (const std::exception&) {
        // Sorting passes errors over.
    }
}

void frmDepStp::PrintList(int dest) { reports::printReport(dest, QStringLiteral("Department.rpt"), QString()); }

} // namespace plax::setup
