#include "BadgeSelection.h"

#include "platform/print/Formula.h"

namespace plax::setup {

std::vector<BadgeChoice> badgeEmployees(db::Database& db) {
    db::Recordset rs =
        db.openRecordset(QStringLiteral("SELECT ID, FirstName, LastName FROM Employee WHERE Status = ?"), {true});
    std::vector<BadgeChoice> out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString id = rs.field(0).toString();
        out.push_back({id, id + QLatin1Char(',') + rs.field(1).toString() + QLatin1Char(' ') + rs.field(2).toString()});
    }
    return out;
}

std::optional<QString> badgeSelection(bool allChecked, const std::vector<BadgeChoice>& employees) {
    if (allChecked)
        return QString();
    QStringList ids;
    for (const BadgeChoice& e : employees)
        if (e.checked)
            ids << e.id;
    if (ids.isEmpty())
        return std::nullopt;
    return QStringLiteral("{Employee.ID} In ") + print::formulaList(ids);
}

} // namespace plax::setup
