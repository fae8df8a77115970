#include "ProgramFixture.h"

#include "core/common/Connection.h"
#include "core/common/frmLogon.h"
#include "core/mdi/Startup.h"
#include "core/mdi/frmDBPswd.h"
#include "testing/TempCompany.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

using namespace plax;

class PasswordScreen : public test::ProgramFixture {
protected:
    test::TempCompany company;
    QPointer<frmDBPswd> f;

    void SetUp() override {
        ProgramFixture::SetUp();
        company.handle().reset();
        CompanyDbPath = company.path();
        SaveWindowsSetting(kAppKey, "Company Settings", "Database", company.path());
        openCompanyDb(QString());
        f = new frmDBPswd;
        f->show();
    }
    void closed() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    bool opensWith(const QString& pw) {
        try {
            company.reopen(pw);
            return true;
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), db::err::InvalidPassword);
            return false;
        }
    }
};

TEST_F(PasswordScreen, SetOnAnUnprotectedDatabaseThenClear) {
    f->setAttribute(Qt::WA_DeleteOnClose);
    EXPECT_EQ(f->windowTitle(), "Setup: Password");
    f->txtNewPWSet->setText("Tiger7");
    f->txtVerifyPWSet->setText("Tiger7");
    f->cmdSet->click();
    closed();
    EXPECT_FALSE(f);
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(CompanyDbPassword, "Tiger7");
    ASSERT_TRUE(CompanyDb && CompanyDb->isOpen());
    // The program keeps working on a shared connection: another program
    // (the clock terminal) opens and writes with the new password meanwhile.
    EXPECT_FALSE(CompanyDb->isExclusive());
    EXPECT_FALSE(opensWith(""));
    ASSERT_TRUE(opensWith("Tiger7"));
    company.reopen("Tiger7")->execute("INSERT INTO Department (DepartmentNo, Description) VALUES ('77', 'Dock')");
    EXPECT_EQ(CompanyDb->openRecordset("SELECT * FROM Department WHERE DepartmentNo = '77'").recordCount(), 1);

    // The next start needs the password.
    CloseDb();
    Main(company.dir() + "elsewhere/");
    EXPECT_TRUE(visibleWindow<frmLogon>());
    EXPECT_FALSE(mainWindow());
    visibleWindow<frmLogon>()->close();
    closed();
    openCompanyDb("Tiger7");

    // Clearing turns the protection off.
    f = new frmDBPswd;
    f->setAttribute(Qt::WA_DeleteOnClose);
    f->txtOldPswdClear->setText("Tiger7");
    f->cmdClear->click();
    closed();
    EXPECT_FALSE(f);
    EXPECT_EQ(CompanyDbPassword, "");
    EXPECT_TRUE(opensWith(""));
    CloseDb();
    Main(company.dir() + "elsewhere/");
    EXPECT_TRUE(mainWindow());
    EXPECT_FALSE(visibleWindow<frmLogon>());
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(PasswordScreen, MismatchedVerificationChangesNothing) {
    f->txtNewPWSet->setText("abc");
    f->txtVerifyPWSet->setText("ABC");
    f->cmdSet->click();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].text, "Invalid New Password Verification, try again.");
    EXPECT_EQ(boxes.messages[0].icon, ui::Icon::Exclamation);
    EXPECT_EQ(boxes.beeps, 1);
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(CompanyDb && CompanyDb->isOpen());
    EXPECT_TRUE(opensWith(""));
}

TEST_F(PasswordScreen, WrongExistingPasswordKeepsTheOldOneAndCloseReopens) {
    // Protect it first, then try to change it with a wrong old password.
    f->txtNewPWSet->setText("first");
    f->txtVerifyPWSet->setText("first");
    f->cmdSet->click();
    ASSERT_EQ(CompanyDbPassword, "first");

    f = new frmDBPswd;
    f->setAttribute(Qt::WA_DeleteOnClose);
    f->show();
    f->txtOldPWSet->setText("wrong");
    f->txtNewPWSet->setText("second");
    f->txtVerifyPWSet->setText("second");
    f->cmdSet->click();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3031");
    EXPECT_TRUE(f && f->isVisible());
    EXPECT_FALSE(CompanyDb);
    EXPECT_EQ(CompanyDbPassword, "first");

    f->txtOldPswdClear->setText("also wrong");
    f->cmdClear->click();
    EXPECT_EQ(boxes.messages.size(), 2u);
    EXPECT_TRUE(f);

    f->cmdClose->click();
    closed();
    EXPECT_FALSE(f);
    ASSERT_TRUE(CompanyDb && CompanyDb->isOpen());
    EXPECT_FALSE(CompanyDb->isExclusive());
    EXPECT_TRUE(opensWith("first"));
    EXPECT_FALSE(opensWith("second"));
}

TEST_F(PasswordScreen, RefusedWhileTheTerminalHasTheFileOpen) {
    auto terminal = company.reopen("");
    f->txtNewPWSet->setText("x");
    f->txtVerifyPWSet->setText("x");
    f->cmdSet->click();
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3045");
    EXPECT_EQ(CompanyDbPassword, "");
    // The terminal goes on writing to the same, unchanged file.
    terminal->execute("INSERT INTO Department (DepartmentNo, Description) VALUES ('2', 'b')");
    f->cmdClose->click();
    ASSERT_TRUE(CompanyDb);
    EXPECT_EQ(CompanyDb->openRecordset("SELECT * FROM Department WHERE DepartmentNo = '2'").recordCount(), 1);
    EXPECT_TRUE(opensWith(""));
}
