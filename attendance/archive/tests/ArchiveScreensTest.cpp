#include "ArchiveTestSupport.h"
#include "attendance/archive/WeekArchive.h"
#include "attendance/archive/frmArchive.h"
#include "attendance/archive/frmUnarchive.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"
#include "testing/ScreenEvents.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::archive;

namespace {

const CalDate kMon = CalDate::ymd(2024, 1, 8);

// The screens work on the program's database, folder and settings.
class ArchiveScreens : public ::testing::Test {
protected:
    void SetUp() override {
        c.shift("1", kMon, "08:00", 2, kMon, "16:00", 8, 0);
        c.shift("1", kMon.addDays(7), "08:00", 3, kMon.addDays(7), "12:00", 4, 0);
        CompanyDb = c.reopen();
        Company = c.settings;
        AppPath = c.dir();
    }
    void TearDown() override { CompanyDb.reset(); }

    // A mouse click on the button `name`, or on entry `row` of the list.
    static void click(QWidget* form, const char* name) {
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    static void pick(WeekPickForm& form, int row) {
        QListWidget* list = form.weekList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    test::ArchiveCompany c;
    ui::ScriptedResponder r;
};

TEST_F(ArchiveScreens, ArchiveAndUndoAWeekAndNothingStaysChosen) {
    frmArchive archive;
    plax::test::showActive(&archive);
    QListWidget* list = archive.weekList();
    ASSERT_EQ(list->count(), 2);
    click(&archive, "cmdArchive");
    EXPECT_EQ(r.texts(), QStringList{"Please select the week you want to archive!"});

    // By keyboard: back to the list, Down chooses the first week (the one
    // with the focus frame, not the one after it), Tab to Archive, Enter.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_TRUE(list->hasFocus());
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->selectedItems(), QList<QListWidgetItem*>{list->item(0)});
    QTest::keyClick(list, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(r.texts().last(), QStringLiteral("Week was archived successfully."));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE TDate = ?"), {kMon}), 0);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 1);
    // A second click archives nothing: the next week was never chosen.
    EXPECT_TRUE(list->selectedItems().isEmpty());
    click(&archive, "cmdArchive");
    EXPECT_EQ(r.texts().last(), QStringLiteral("Please select the week you want to archive!"));
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 1);
    const QString path = archivePath(c.dir(), kMon);
    EXPECT_TRUE(QFile::exists(path));

    // A late shift of the week puts it in the list again; answering Cancel
    // to the question changes nothing, OK adds the shift to the week's
    // archive.
    c.shift("2", kMon, "09:00", 2);
    frmArchive again;
    plax::test::showActive(&again);
    pick(again, 0);
    r.answers.push_back(ui::Answer::Cancel);
    click(&again, "cmdArchive");
    EXPECT_EQ(r.texts().last(), QStringLiteral("Archive exists. Would you like to add this week's rows to it?"));
    EXPECT_EQ(again.weekList()->count(), 2);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 2);
    r.answers.push_back(ui::Answer::OK);
    click(&again, "cmdArchive");
    EXPECT_EQ(r.texts().last(), QStringLiteral("Week was archived successfully."));
    EXPECT_EQ(again.weekList()->count(), 1);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")), 1);

    // Two archives to restore: after the first, nothing stays chosen either.
    frmArchive second;
    plax::test::showActive(&second);
    pick(second, 0);
    click(&second, "cmdArchive");
    EXPECT_EQ(r.texts().last(), QStringLiteral("Week was archived successfully."));

    frmUnarchive undo;
    plax::test::showActive(&undo);
    ASSERT_EQ(undo.weekList()->count(), 2);
    const QString first = kMon.toShortDate() + QStringLiteral(" --> ") + kMon.addDays(6).toShortDate();
    EXPECT_TRUE(undo.weekList()->findItems(first, Qt::MatchExactly).size() == 1);
    click(&undo, "cmdUnArchive");
    EXPECT_EQ(r.texts().last(), QStringLiteral("No week selected!"));
    pick(undo, undo.weekList()->row(undo.weekList()->findItems(first, Qt::MatchExactly)[0]));
    click(&undo, "cmdUnArchive");
    EXPECT_EQ(r.texts().last(), QStringLiteral("Unarchived operation was successful."));
    EXPECT_EQ(undo.weekList()->count(), 1);
    EXPECT_TRUE(undo.weekList()->selectedItems().isEmpty());
    click(&undo, "cmdUnArchive");
    EXPECT_EQ(r.texts().last(), QStringLiteral("No week selected!"));
    EXPECT_EQ(undo.weekList()->count(), 1);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE Recalculate = 1")), 2);
}

TEST_F(ArchiveScreens, FailuresShowTheirMessages) {
    frmUnarchive undo;
    undo.weekList()->addItem(kMon.toShortDate() + QStringLiteral(" --> ") + kMon.addDays(6).toShortDate());
    undo.weekList()->setCurrentRow(0);
    click(&undo, "cmdUnArchive"); // no such file
    ASSERT_NE(r.last(), nullptr);
    EXPECT_EQ(r.last()->text, QStringLiteral("Unarchive operation was NOT successful!"));
    EXPECT_TRUE(r.last()->title.startsWith(QStringLiteral("Zelto Error#: ")));
    EXPECT_EQ(undo.weekList()->count(), 1);

    frmArchive archive;
    archive.weekList()->setCurrentRow(0);
    c.db().executeScript(QStringLiteral(
        "CREATE TRIGGER stop BEFORE DELETE ON [Time Attendance] BEGIN SELECT RAISE(ABORT, 'no'); END;"));
    click(&archive, "cmdArchive");
    EXPECT_EQ(r.last()->text, QStringLiteral("Unable to arhive the week."));
    EXPECT_EQ(archive.weekList()->count(), 2);
    EXPECT_FALSE(QFile::exists(archivePath(c.dir(), kMon)));
}

} // namespace
