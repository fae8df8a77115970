#pragma once
// A fresh company database in its own temporary folder, built from the
// real schema; optionally filled with the demonstration data.

#include "core/schema/CompanySchema.h"
#include "core/schema/DemoData.h"

#include <QTemporaryDir>
#include <memory>

namespace plax::test {

class TempCompany {
public:
    explicit TempCompany(const QString& password = QString());
    // The folder, with a trailing separator (stands for the program folder).
    QString dir() const { return dir_.path() + QLatin1Char('/'); }
    QString path() const { return path_; }
    db::Database& db() { return *db_; }
    std::unique_ptr<db::Database>& handle() { return db_; }
    // A second connection to the same file.
    std::unique_ptr<db::Database> reopen(const QString& password = QString()) const;
    void fillDemo(CalDate today, int workDay = 2);

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::Database> db_;
};

} // namespace plax::test
