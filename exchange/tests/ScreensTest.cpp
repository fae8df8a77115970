#include "ExchangeFixture.h"
#include "core/common/Screens.h"
#include "exchange/ExchangeScreens.h"
#include "exchange/FieldPicker.h"
#include "exchange/FieldTable.h"
#include "exchange/frmExpData.h"
#include "exchange/frmImport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

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

    static void click(QWidget* form, const char* name) {
        auto* b = form->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_TRUE(b) << name;
        b->click();
    }
    static void select(QListWidget* list, const QStringList& texts) {
        list->clearSelection();
        for (const QString& t : texts)
            list->findItems(t, Qt::MatchExactly).value(0)->setSelected(true);
    }
    int employees() { return int(CompanyDb->openRecordset("SELECT count(*) FROM Employee").field(0).toInt()); }
};

} // namespace

TEST_F(ExchangeScreens, PickerMovesFieldsToTheEndOfTheOtherList) {
    frmExpData f;
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

    emit avail->itemDoubleClicked(avail->findItems("Last Name", Qt::MatchExactly).value(0));
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
    EXPECT_EQ(f.windowTitle(), "Export Personal Data");
    EXPECT_TRUE(f.findChild<QRadioButton*>("Option1")->isChecked());
    select(f.picker()->lstAvailable(), {"Last Name"});
    click(&f, "cmdInsert");
    select(f.picker()->lstAvailable(), {"Employee ID"});
    click(&f, "cmdInsert");
    f.findChild<QRadioButton*>("Option3")->setChecked(true);
    const QString out = dataFile("x.txt");
    answers.files.push_back(out);
    click(&f, "SSCExport");
    EXPECT_EQ(contents(out), QByteArray("\"Green\",\"E2\"\r\n"));
}

TEST_F(ExchangeScreens, ImportScreenReadsTheChosenFile) {
    frmImport f;
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

TEST_F(ExchangeScreens, MenuItemsOpenOneScreenEach) {
    registerExchangeScreens();
    for (const char* m : {"mnuUtilitiesExportPers", "mnuUtilitiesExportAtt", "mnuUtilitiesImportPer"})
        EXPECT_TRUE(hasMenuHandler(QString::fromLatin1(m))) << m;
    QPointer<QWidget> a = showExportScreen();
    EXPECT_EQ(showExportScreen(), a.data());
    QPointer<QWidget> b = showImportScreen();
    EXPECT_EQ(b->objectName(), "frmImport");
    a->close();
    b->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(a.isNull());

    // The attendance export straight from the menu: nothing to export.
    EXPECT_TRUE(runMenuHandler("mnuUtilitiesExportAtt"));
    EXPECT_EQ(answers.texts().last(), "Database empty!");
    clearMenuHandlers();
}
