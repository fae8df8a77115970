#include "ReportTables.h"

namespace plax::reports {

void createWorkTable(db::Database& db, const QString& name, const QString& columns) {
    db.executeStrict(QStringLiteral("CREATE TEMP TABLE %1 (%2)").arg(name, columns));
}

bool dropWorkTable(db::Database& db, const QString& name) {
    try {
        db.executeStrict(QStringLiteral("DROP TABLE temp.%1").arg(name));
        return true;
    } catch (const db::DbError&) {
        return false;
    }
}

bool workTableExists(db::Database& db, const QString& name) {
    return db.openRecordset(
                 QStringLiteral("SELECT count(*) AS n FROM sqlite_temp_master WHERE type = 'table' AND "
                                "name = ? COLLATE NOCASE"),
                 {name})
               .field(0)
               .toInt() > 0;
}

} // namespace plax::reports
