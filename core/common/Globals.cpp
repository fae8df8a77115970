#include "Globals.h"

namespace plax {

std::unique_ptr<db::Database> CompanyDb;
QString CompanyDbPath;
QString CompanyDbPassword;
QString AppPath;
QString DataPath;
CompanySettings Company;

db::Database& companyDb() {
    if (!CompanyDb || !CompanyDb->isOpen())
        throw db::DbError(db::err::General, QStringLiteral("The company database is not open."));
    return *CompanyDb;
}

} // namespace plax
