#include "SetupFixture.h"
#include "core/common/Screens.h"
#include "setup/SetupScreens.h"

#include <QApplication>

using namespace plax;

namespace {

class SetupMenus : public setup::test::SetupFixture {
protected:
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName().startsWith("frm"))
                w->close();
        QApplication::processEvents();
        clearMenuHandlers();
        SetupFixture::TearDown();
    }
    int shown(const QString& name) {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                ++n;
        return n;
    }
};

} // namespace

TEST_F(SetupMenus, EachItemShowsOneInstanceOfItsScreen) {
    setup::registerSetupScreens();
    const std::pair<const char*, const char*> items[] = {
        {"mnuSetupEmployee", "frmSetupEmployee"},   {"mnuSetupMessages", "frmSetupMessages"},
        {"mnuSetupDepartments", "frmDepStp"},       {"mnuSetupSchedules", "frmScheduleSetup"},
        {"mnuSetupAbsence", "frmAbsenceSTP"},       {"mnuSetupHolidays", "frmHolidaySTP"},
        {"mnuUtilitiesPrintID", "frmPrintID"},
    };
    for (const auto& [item, form] : items) {
        ASSERT_TRUE(runMenuHandler(item)) << item;
        runMenuHandler(item);
        EXPECT_EQ(shown(form), 1) << form;
    }
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(SetupMenus, AScreenThatCannotLoadIsNotShown) {
    setup::registerSetupScreens();
    CompanyDb.reset(); // no database to read
    runMenuHandler("mnuSetupEmployee");
    runMenuHandler("mnuSetupDepartments");
    EXPECT_EQ(shown("frmSetupEmployee"), 0);
    EXPECT_EQ(shown("frmDepStp"), 0);
    EXPECT_EQ(answers.messages.size(), 2u);
}
