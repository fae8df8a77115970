#include "EmployeeSearch.h"

#include "core/common/Lists.h"

namespace plax::setup {

std::vector<EmployeeMatch> searchEmployees(db::Database& db, bool active, int searchBy, const QString& value,
                                           int sortBy) {
    static const char* const searchColumns[] = {"ID", "SSN", "LastName", "FirstName"};
    static const char* const sortColumns[] = {"ID", "LastName", "FirstName"};
    QString sql = QStringLiteral("SELECT ID, FirstName, LastName FROM Employee WHERE Status = ? ");
    db::Params params{active};
    if (searchBy >= 0 && searchBy < 4) {
        sql += QStringLiteral("AND ") + db::sql::likeClause(QString::fromUtf8(searchColumns[searchBy])) +
               QLatin1Char(' ');
        params.push_back(db::sql::jetLike(value));
    }
    if (sortBy >= 0 && sortBy < 3)
        sql += QStringLiteral(" ORDER BY ") + QString::fromUtf8(sortColumns[sortBy]);
    db::Recordset rs = db.openRecordset(sql, params);
    std::vector<EmployeeMatch> out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out.push_back({rs.field(QStringLiteral("ID")).toString(), employeeEntry(rs)});
    return out;
}

} // namespace plax::setup
