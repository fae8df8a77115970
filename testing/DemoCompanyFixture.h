#pragma once
// A demo company as the program's open database, the clock frozen on a
// Thursday, and every message box answered by script. Header only: the
// tests that use it link the program's globals (core/common) themselves.

#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace plax::test {

class DemoCompanyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::setFixed(QDateTime(QDate(2026, 3, 12), QTime(10, 0)));
        co.fillDemo(Clock::today());
        Company = CompanySettings();
        Company.WorkDay = 2;
        CompanyDb = std::move(co.handle());
    }
    void TearDown() override {
        CompanyDb.reset();
        Clock::reset();
    }

    // The child control `name` of `w`; a missing one fails the test.
    template <typename T>
    T* child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QString::fromUtf8(name));
        EXPECT_TRUE(c) << name;
        return c;
    }

    TempCompany co;
    ui::ScriptedResponder answers;
};

} // namespace plax::test
