#include "TempCompany.h"

namespace plax::test {

TempCompany::TempCompany(const QString& password) {
    path_ = dir_.path() + QStringLiteral("/Company07.mdb");
    db_ = schema::createCompanyDatabase(path_, password);
}

std::unique_ptr<db::Database> TempCompany::reopen(const QString& password) const {
    return db::Database::open(path_, false, false, QStringLiteral(";pwd=") + password);
}

void TempCompany::fillDemo(CalDate today, int workDay) {
    schema::DemoOptions o;
    o.today = today;
    o.workDay = workDay;
    schema::fillDemoData(*db_, o);
}

} // namespace plax::test
