#pragma once
// A clean program state for one test: a temporary registry, scripted
// dialogs, no menu handlers, no open database, the splash without its
// pause, and EndProgram counted instead of leaving the event loop.

#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/frmSplash.h"
#include "platform/registry/tests/TempRegistry.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace plax::test {

class ProgramFixture : public ::testing::Test {
protected:
    TempRegistry registry;
    ui::ScriptedResponder boxes;
    int ends = 0;

    void SetUp() override {
        frmSplash::holdMs = 0;
        resetProgramEnded();
        setEndProgramHandler([this](int) { ++ends; });
        clearMenuHandlers();
        CompanyDb.reset();
        CompanyDbPassword.clear();
        Company = CompanySettings{};
    }

    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CompanyDb.reset();
        clearMenuHandlers();
        setEndProgramHandler({});
        resetProgramEnded();
    }

    template <typename T>
    static T* visibleWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
                return t;
        return nullptr;
    }
};

} // namespace plax::test
