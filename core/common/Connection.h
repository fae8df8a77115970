#pragma once
// Opening and closing the one shared connection to the company database
// (CompanyDb at CompanyDbPath).

#include <QString>

namespace plax {

// ";pwd=" followed by the password.
QString connectString(const QString& password);
// Opens CompanyDbPath shared with `password` into CompanyDb; raises the
// engine's error on failure (CompanyDb is then left closed).
void openCompanyDb(const QString& password);
// Opens the database unless it is open: a wrong password (3031) passes
// silently and leaves it closed; any other failure shows the error box.
void OpenDbIfClosed(const QString& password);
// Closes the database if it is open.
void CloseDb();

} // namespace plax
