#pragma once
// A company database with a data folder for the punch-import tests.

#include "core/types/CompanySettings.h"
#include "testing/TempCompany.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace plax::test {

class ImportCompany : public TempCompany {
public:
    ImportCompany() {
        QDir().mkpath(dataPath());
        settings.WorkDay = 2;
        settings.RoundTotal = 0;
    }
    QString dataPath() const { return dir() + QStringLiteral("Data/"); }
    QString clockTxt() const { return dataPath() + QStringLiteral("Clock.txt"); }

    void addEmployees(const QStringList& ids, bool active = true) {
        db::Database::Transaction tx(db());
        for (const QString& id : ids)
            db().execute(QStringLiteral("INSERT INTO Employee (ID, Status) VALUES (?, ?)"), {id, active});
        tx.commit();
    }
    void writeClockTxt(const QByteArray& data) {
        QFile f(clockTxt());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }
    int count(const QString& sql, const db::Params& params = {}) {
        return int(db().openRecordset(sql, params).field(0).toInt());
    }

    CompanySettings settings;
};

} // namespace plax::test
