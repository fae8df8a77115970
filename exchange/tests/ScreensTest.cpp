#include "ExchangeFixture.h"
#include "core/common/Screens.h"
#include "exchange/ExchangeScreens.h"
#include "exchange/FieldPicker.h"
#include "exchange/FieldTable.h"
#include "exchange/frmExpData.h"
#include "exchange/frmImport.h"
#include "testing/ScreenEvents.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace plax;
using namespace plax::exchange;

namespace {

class ExchangeScreens : public test::ExchangeFixture {
protected:
    void SetUp() override {
        ExchangeFixture::SetUp();
        CompanyDb = std::move(co.handle());
    }
    void TearDown() override { co.handle() = std::move(CompanyDb); }

    static void show(QWidget* form) { test::showActive(form); }
    static void click(QWidget* form, const char* name) {
        auto* b = form->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(b) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QPoint at(QListWidget* list, const QString& text) {
        QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
        EXPECT_TRUE(item) << text.toStdString();
        return item ? list->visualItemRect(item).center() : QPoint();
    }
    // Clicks the first text and Ctrl+clicks the others, as a user picks fields.
    static void select(QListWidget* list, const QStringList& texts) {
        for (const QString& t : texts)
            QTest::mouseClick(list->viewport(), Qt::LeftButton,
                              t == texts.first() ? Qt::NoModifier : Qt::ControlModifier, at(list, t));
    }
    static void doubleClick(QListWidget* list, const QString& text) {
        const QPoint p = at(list, text);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
    }
    int employees() { return int(CompanyDb->openRecordset("SELECT count(*) FROM Employee").field(0).toInt()); }
};

} // namespace

TEST_F(ExchangeScreens, PickerMovesFieldsToTheEndOfTheOtherList) {
    frmExpData f;
    show(&f);
    QListWidget* avail = f.picker()->lstAvailable();
    QListWidget* chosen = f.picker()->lstToExport();
    EXPECT_EQ(itemTexts(avail), exportCaptions());
    EXPECT_EQ(chosen->count(), 0);

    click(&f, "cmdInsert"); // nothing selected
    click(&f, "cmdAvailable"); // nothing chosen
    EXPECT_EQ(avail->count(), kFieldCount);

    select(avail, {"Status", "Employee ID"});
    click(&f, "cmdInsert");
    EXPECT_EQ(itemTexts(chosen), (QStringList{"Employee ID", "Status"}));
    EXPECT_EQ(avail->count(), kFieldCount - 2);

    doubleClick(avail, "Last Name");
    EXPECT_EQ(itemTexts(chosen), (QStringList{"Employee ID", "Status", "Last Name"}));

    select(chosen, {"Employee ID"});
    click(&f, "cmdDelete");
    EXPECT_EQ(itemTexts(avail).last(), "Employee ID"); // back at the end, not in code order

    click(&f, "cmdToExport");
    EXPECT_EQ(avail->count(), 0);
    EXPECT_EQ(chosen->count(), kFieldCount);
    EXPECT_EQ(chosen->item(0)->text(), "Status");
    click(&f, "cmdAvailable");
    EXPECT_EQ(chosen->count(), 0);
    EXPECT_EQ(avail->item(0)->text(), "Status");
}

TEST_F(ExchangeScreens, ExportScreenWritesTheChosenColumns) {
    CompanyDb->executeStrict("INSERT INTO Employee (ID, LastName, Status) VALUES ('E1', 'Brown', 1), "
                             "('E2', 'Green', 0)");
    frmExpData f;
    show(&f);
    EXPECT_EQ(f.windowTitle(), "Export Personal Data");
    EXPECT_TRUE(f.findChild<QRadioButton*>("Option1")->isChecked());
    select(f.picker()->lstAvailable(), {"Last Name"});
    click(&f, "cmdInsert");
    select(f.picker()->lstAvailable(), {"Employee ID"});
    click(&f, "cmdInsert");
    click(&f, "Option3");
    const QString out = dataFile("x.txt");
    answers.files.push_back(out);
    click(&f, "SSCExport");
    EXPECT_EQ(contents(out), QByteArray("\"Green\",\"E2\"\r\n"));
}

TEST_F(ExchangeScreens, ImportScreenReadsTheChosenFile) {
    frmImport f;
    show(&f);
    EXPECT_EQ(f.windowTitle(), "Import data from file");
    EXPECT_EQ(itemTexts(f.picker()->lstAvailable()).value(fOtherID), "Card ID");
    const QString in = dataFile("in.txt");
    write(in, "\"E9\",\"C-77\"\r\n");
    answers.files.push_back(in);
    click(&f, "cmdFind");
    EXPECT_EQ(f.txtFileName()->text(), in);
    EXPECT_EQ(answers.fileRequests.back().filter, "Text Files (*.txt)|*.TXT| Log Files (*.log)|*.LOG");
    EXPECT_FALSE(answers.fileRequests.back().save);

    select(f.picker()->lstAvailable(), {"Employee ID", "Card ID"});
    click(&f, "cmdInsert");
    click(&f, "SSCImport");
    EXPECT_EQ(answers.texts().last(), "File Imported successfully!");
    EXPECT_EQ(CompanyDb->openRecordset("SELECT [Other ID] FROM Employee WHERE ID = 'E9'").field(0).toString(),
              "C-77");
}

// The menu opens one screen each inside the main window: the export
// centred, the import centred across with its top 100 twips down.
TEST_F(ExchangeScreens, MenuItemsOpenOneScreenEachWhereItBelongs) {
    QMainWindow main;
    auto* area = new QMdiArea(&main);
    main.setCentralWidget(area);
    main.resize(1400, 1000);
    test::showActive(&main);
    setMdiArea(area);
    registerExchangeScreens();
    for (const char* m : {"mnuUtilitiesExportPers", "mnuUtilitiesExportAtt", "mnuUtilitiesImportPer"})
        EXPECT_TRUE(hasMenuHandler(QString::fromLatin1(m))) << m;
    const QSize room = area->viewport()->size();

    EXPECT_TRUE(runMenuHandler("mnuUtilitiesExportPers"));
    QPointer<QWidget> a = showExportScreen();
    ASSERT_TRUE(a);
    EXPECT_EQ(area->subWindowList().size(), 1) << "the same screen brought forward";
    const QWidget* frame = a->parentWidget();
    ASSERT_TRUE(qobject_cast<const QMdiSubWindow*>(frame));
    EXPECT_EQ(frame->pos(), QPoint((room.width() - frame->width()) / 2, (room.height() - frame->height()) / 2));

    EXPECT_TRUE(runMenuHandler("mnuUtilitiesImportPer"));
    QPointer<QWidget> b = showImportScreen();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->objectName(), "frmImport");
    frame = b->parentWidget();
    EXPECT_EQ(frame->pos(), QPoint((room.width() - frame->width()) / 2, 100 / 15));

    a->close();
    b->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a.isNull());
    EXPECT_TRUE(b.isNull());

    // The attendance export straight from the menu: nothing to export.
    EXPECT_TRUE(runMenuHandler("mnuUtilitiesExportAtt"));
    EXPECT_EQ(answers.texts().last(), "Database empty!");
    clearMenuHandlers();
    setMdiArea(nullptr);
}
