#include "CompanySchema.h"

namespace plax::schema {

void createTables(db::Database& db) {
    db::Database::Transaction tx(db);
    db.executeScript(QString::fromUtf8(companySchemaSql()));
    tx.commit();
}

std::unique_ptr<db::Database> createCompanyDatabase(const QString& path, const QString& password) {
    auto db = db::Database::create(path, password);
    createTables(*db);
    return db;
}

} // namespace plax::schema
