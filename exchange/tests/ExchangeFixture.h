#pragma once
// A company database with a few employees, the data folder, and scripted
// answers for every box the exchange code shows.

#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace plax::test {

class ExchangeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        AppPath = co.dir();
        QDir(co.dir()).mkpath(QStringLiteral("Data"));
        OpenFileDlg() = ui::FileRequest();
    }

    void addEmployee(const QString& id, const db::Params& rest = {}, bool active = true) {
        db::Params p{id};
        for (const db::Value& v : rest)
            p.push_back(v);
        while (p.size() < 4)
            p.push_back(db::Value());
        p.push_back(active);
        co.db().executeStrict(QStringLiteral("INSERT INTO Employee (ID, LastName, MiddleName, Notes, Status) "
                                             "VALUES (?, ?, ?, ?, ?)"),
                              p);
    }

    QString dataFile(const QString& name) const { return co.dir() + QStringLiteral("Data/") + name; }

    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    int count(const QString& sql, const db::Params& p = {}) {
        return int(co.db().openRecordset(sql, p).field(0).toInt());
    }

    TempCompany co;
    ui::ScriptedResponder answers;
};

} // namespace plax::test
