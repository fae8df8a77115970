#include "core/common/Common.h"
#include "core/common/Connection.h"
#include "core/common/Globals.h"
#include "core/common/Screens.h"
#include "core/common/frmChild.h"
#include "core/common/frmLogon.h"
#include "platform/ui/Dialogs.h"
#include "testing/TempCompany.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace plax;

namespace {

struct EndCatcher {
    int ends = 0;
    EndCatcher() {
        resetProgramEnded();
        setEndProgramHandler([this](int) { ++ends; });
    }
    ~EndCatcher() {
        setEndProgramHandler({});
        resetProgramEnded();
    }
};

} // namespace

TEST(Logon, WrongPasswordStaysRightOneOpensAndContinues) {
    test::TempCompany c("s3cret");
    c.handle().reset();
    CompanyDbPath = c.path();
    CompanyDbPassword.clear();
    CompanyDb.reset();
    ui::ScriptedResponder boxes;
    int continued = 0;
    QPointer<frmLogon> f = new frmLogon(frmLogon::openCompanyDatabase([&] { ++continued; }));
    f->show();
    EXPECT_EQ(f->windowTitle(), QApplication::applicationName() + " Logon");

    QTest::keyClicks(f->txtPassword, "wrong");
    QTest::keyClick(f->txtPassword, Qt::Key_Return); // Enter is OK
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3031");
    EXPECT_EQ(boxes.messages[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(f && f->isVisible());
    EXPECT_EQ(continued, 0);
    EXPECT_FALSE(CompanyDb);

    f->txtPassword->setText("s3cret");
    f->cmdOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f); // closed and gone
    EXPECT_EQ(continued, 1);
    ASSERT_TRUE(CompanyDb && CompanyDb->isOpen());
    EXPECT_EQ(CompanyDbPassword, "s3cret");
    EXPECT_EQ(boxes.messages.size(), 1u);
    CloseDb();
    EXPECT_FALSE(CompanyDb);
}

TEST(Logon, ClosingTheWindowIsCancel) {
    EndCatcher end;
    QPointer<frmLogon> f = new frmLogon([](frmLogon& self) { self.accept(); });
    f->show();
    f->cmdOK->click(); // accepted: the program goes on
    EXPECT_EQ(end.ends, 0);
    f = new frmLogon([](frmLogon&) {});
    f->show();
    f->close();
    EXPECT_EQ(end.ends, 1);
}

TEST(Logon, CancelEndsTheProgramWithoutAMessage) {
    EndCatcher end;
    ui::ScriptedResponder boxes;
    int oks = 0;
    QPointer<frmLogon> f = new frmLogon([&](frmLogon&) { ++oks; });
    f->show();
    f->cmdCancel->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f);
    EXPECT_EQ(end.ends, 1);
    EXPECT_TRUE(programEnded());
    EXPECT_EQ(oks, 0);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(Connection, OpenIfClosedPassesOverAWrongPasswordOnly) {
    test::TempCompany c("pw");
    c.handle().reset();
    CompanyDbPath = c.path();
    CompanyDb.reset();
    ui::ScriptedResponder boxes;
    OpenDbIfClosed("nope");
    EXPECT_FALSE(CompanyDb);
    EXPECT_TRUE(boxes.messages.empty());
    OpenDbIfClosed("pw");
    ASSERT_TRUE(CompanyDb);
    db::Database* first = CompanyDb.get();
    OpenDbIfClosed("other"); // open already: nothing happens
    EXPECT_EQ(CompanyDb.get(), first);
    CloseDb();
    CompanyDbPath = c.dir() + "gone.mdb";
    OpenDbIfClosed("");
    EXPECT_FALSE(CompanyDb);
    ASSERT_EQ(boxes.messages.size(), 1u);
    EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 3024");
}

TEST(PreviewHost, KeepsItsFirstChildFillingTheWindow) {
    {
        // Without a main window: a window of its own.
        QPointer<frmChild> f = frmChild::create();
        EXPECT_EQ(f->windowTitle(), "Report Preview Window");
        auto* preview = new QWidget(f);
        f->resize(300, 200);
        f->showWindow();
        EXPECT_EQ(f->firstChild(), preview);
        EXPECT_EQ(preview->geometry(), QRect(0, 0, 300, 200));
        f->resize(640, 410);
        QApplication::processEvents();
        EXPECT_EQ(preview->geometry(), QRect(0, 0, 640, 410));
        f->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(f);
    }
    {
        // In the main window's document area.
        QMdiArea area;
        area.resize(900, 700);
        area.show();
        setMdiArea(&area);
        QPointer<frmChild> f = frmChild::create();
        auto* preview = new QWidget(f);
        f->showWindow();
        ASSERT_EQ(area.subWindowList().size(), 1);
        QMdiSubWindow* sub = area.subWindowList().first();
        EXPECT_EQ(sub->widget(), f.data());
        EXPECT_EQ(sub->windowTitle(), "Report Preview Window");
        sub->resize(500, 300);
        QApplication::processEvents();
        EXPECT_EQ(preview->size(), f->size());
        EXPECT_LT(f->width(), 500);
        sub->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(f);

        // Closed from inside (the engine closing its window): the frame goes too.
        f = frmChild::create();
        f->showWindow();
        ASSERT_EQ(area.subWindowList().size(), 1);
        f->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(area.subWindowList().isEmpty());
        setMdiArea(nullptr);
    }
}

TEST(ShowScreen, AFrameInTheDocumentAreaKeepsTheScreensSizeWithinTheArea) {
    QMdiArea area;
    area.resize(900, 600);
    area.show();
    setMdiArea(&area);
    auto* sized = new QWidget;
    sized->resize(640, 420);
    showScreen(sized);
    EXPECT_EQ(sized->size(), QSize(640, 420));

    auto* tooBig = new QWidget;
    tooBig->resize(2000, 1500);
    showScreen(tooBig);
    const QMdiSubWindow* frame = area.subWindowList().last();
    EXPECT_LE(frame->width(), area.viewport()->width());
    EXPECT_LE(frame->height(), area.viewport()->height());

    area.closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    setMdiArea(nullptr);
}
