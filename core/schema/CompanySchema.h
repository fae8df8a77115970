#pragma once
// The company database's tables, kept in company.sql, and the tools that
// build a new company file from them.

#include "platform/db/Database.h"

#include <memory>

namespace plax::schema {

const char* companySchemaSql();
constexpr int kSchemaVersion = 1;

// Creates a new company database file holding the empty tables.
std::unique_ptr<db::Database> createCompanyDatabase(const QString& path, const QString& password = QString());
// Adds the permanent tables to an empty, open database.
void createTables(db::Database& db);

} // namespace plax::schema
