#pragma once
// The demo-company fixture with the setup tests' one-value queries.

#include "testing/DemoCompanyFixture.h"

namespace plax::setup::test {

class SetupFixture : public plax::test::DemoCompanyFixture {
protected:
    qint64 count(const QString& sql, const db::Params& p = {}) {
        return CompanyDb->openRecordset(sql, p).field(0).toInt();
    }
    QString value(const QString& sql, const db::Params& p = {}) {
        return CompanyDb->openRecordset(sql, p).field(0).toString();
    }
};

} // namespace plax::setup::test
