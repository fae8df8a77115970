#include "Connection.h"

#include "ErrorBox.h"
#include "Globals.h"

namespace plax {

QString connectString(const QString& password) { return QStringLiteral(";pwd=") + password; }

void openCompanyDb(const QString& password) {
    CompanyDb.reset();
    CompanyDb = db::Database::open(CompanyDbPath, false, false, connectString(password));
}

void OpenDbIfClosed(const QString& password) {
    if (CompanyDb && CompanyDb->isOpen())
        return;
    try {
        openCompanyDb(password);
    } catch (const db::DbError& e) {
        if (e.number() != db::err::InvalidPassword)
            ShowError(QString(), e);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void CloseDb() {
    if (CompanyDb)
        CompanyDb->close();
    CompanyDb.reset();
}

} // namespace plax
