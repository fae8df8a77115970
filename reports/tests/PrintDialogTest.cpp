#include "ReportFixture.h"

#include "reports/frmPrintFrm.h"
#include "testing/ScreenEvents.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace plax::test {
namespace {

using namespace reports;

class PrintDialogTest : public ReportFixture {
protected:
    void openJob(const QString& file) {
        ASSERT_TRUE(OpenReportEngine());
        ReportJob = print::PEOpenPrintJob(AppPath + QStringLiteral("Reports/") + file);
        ASSERT_NE(ReportJob, 0);
        ASSERT_TRUE(SetReportTableLocations(ReportJob));
    }
    // Replaces what a box holds by typing (blank: the text is deleted).
    static void type(QLineEdit* box, const QString& text) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
        EXPECT_EQ(box->text(), text);
    }
    static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    ReportPrintOptions jobOptions() {
        ReportPrintOptions o = print::makePrintOptions(9, 9, 9);
        EXPECT_TRUE(print::PEGetPrintOptions(ReportJob, &o));
        return o;
    }
};

TEST_F(PrintDialogTest, AJobWithoutItsOwnPrinterShowsTheDefaultPrinter) {
    openJob(QStringLiteral("Department.rpt"));
    frmPrintFrm dlg;
    showActive(&dlg);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Print To Printer"));
    EXPECT_EQ(dlg.cboPrtName->itemText(0), QStringLiteral("Use Default Printer"));
    EXPECT_EQ(dlg.cboPrtName->count(), dlg.cboPrtDriver->count());
    EXPECT_EQ(dlg.cboPrtName->count(), dlg.cboPrtPort->count());
    EXPECT_EQ(dlg.cboPrtName->currentIndex(), 0);
    EXPECT_EQ(dlg.cboPrtDriver->currentIndex(), 0);
    EXPECT_EQ(dlg.cboPrtDriver->currentText(), QString());
    EXPECT_EQ(dlg.cboPrtPort->currentText(), QString());
    EXPECT_EQ(dlg.Copies->text(), QStringLiteral("1"));
    EXPECT_TRUE(dlg.StartPage->text().isEmpty());
    EXPECT_TRUE(dlg.EndPage->text().isEmpty());
    EXPECT_EQ(dlg.PrinterName, QStringLiteral("Use Default Printer"));
    EXPECT_TRUE(responder_.messages.empty());
}

TEST_F(PrintDialogTest, APrinterNoLongerInstalledLeavesTheListWithoutASelection) {
    writeReport(QStringLiteral("Old.rpt"), QStringLiteral("title \"Old\"\nprinter \"Accounting LaserJet\"\n"
                                                          "table Department\ncolumn \"No\" {Department.DepartmentNo}\n"));
    openJob(QStringLiteral("Old.rpt"));
    frmPrintFrm dlg;
    showActive(&dlg);
    EXPECT_EQ(dlg.cboPrtName->currentIndex(), -1);
    EXPECT_EQ(dlg.cboPrtDriver->currentIndex(), -1);
    EXPECT_EQ(dlg.Copies->text(), QStringLiteral("1"));
    EXPECT_TRUE(responder_.messages.empty());
}

TEST_F(PrintDialogTest, OkWithBlankBoxesPassesZerosAndPrintsOneCopyOfEverything) {
    openJob(QStringLiteral("Department.rpt"));
    frmPrintFrm dlg;
    showActive(&dlg);
    type(dlg.Copies, QString());
    click(dlg.cmdOK);
    const ReportPrintOptions o = jobOptions();
    EXPECT_EQ(o.StartPageN, 0);
    EXPECT_EQ(o.StopPageN, 0);
    EXPECT_EQ(o.NReportCopies, 0);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(pdfFiles().size(), 1);
    ASSERT_EQ(responder_.messages.size(), 2u);
    EXPECT_EQ(responder_.messages[1].title, QStringLiteral("Print Status"));
    EXPECT_TRUE(responder_.messages[1].text.startsWith(QStringLiteral("Print Status: Job Completed\n")));
    EXPECT_TRUE(responder_.messages[1].text.endsWith(QStringLiteral("Print has ended.")));
}

TEST_F(PrintDialogTest, PageRangeAndCopiesGoToTheJob) {
    openJob(QStringLiteral("Department.rpt"));
    frmPrintFrm dlg;
    showActive(&dlg);
    type(dlg.StartPage, QStringLiteral("1"));
    type(dlg.EndPage, QStringLiteral("1 page"));
    type(dlg.Copies, QStringLiteral(" 2.6"));
    click(dlg.cmdOK);
    const ReportPrintOptions o = jobOptions();
    EXPECT_EQ(o.StartPageN, 1);
    EXPECT_EQ(o.StopPageN, 1);
    EXPECT_EQ(o.NReportCopies, 3);
    EXPECT_EQ(o.Collation, 0);
}

TEST_F(PrintDialogTest, AnEngineRefusalKeepsTheDialogOpenForAnotherTry) {
    openJob(QStringLiteral("Department.rpt"));
    frmPrintFrm dlg;
    showActive(&dlg);
    type(dlg.StartPage, QStringLiteral("5"));
    type(dlg.EndPage, QStringLiteral("2"));
    click(dlg.cmdOK);
    ASSERT_EQ(responder_.messages.size(), 1u);
    EXPECT_EQ(responder_.messages[0].title, QStringLiteral("CR-517"));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(pdfFiles().isEmpty());

    type(dlg.StartPage, QStringLiteral("40000"));
    click(dlg.cmdOK);
    EXPECT_EQ(responder_.messages.back().text, QStringLiteral("The number in \"Starting Page:\" is too large (at most 32767)."));
    EXPECT_TRUE(dlg.isVisible());

    type(dlg.StartPage, QString());
    type(dlg.EndPage, QString());
    click(dlg.cmdOK);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(pdfFiles().size(), 1);
}

TEST_F(PrintDialogTest, CancelPrintsNothingAndSaysNothing) {
    openJob(QStringLiteral("Department.rpt"));
    frmPrintFrm dlg;
    showActive(&dlg);
    click(dlg.cmdCancel);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(pdfFiles().isEmpty());
    EXPECT_TRUE(responder_.messages.empty());
}

TEST_F(PrintDialogTest, LoadingStopsAtAnEngineFailure) {
    ASSERT_TRUE(OpenReportEngine());
    ReportJob = 4242;
    frmPrintFrm dlg;
    showActive(&dlg);
    ASSERT_EQ(responder_.messages.size(), 1u);
    EXPECT_EQ(responder_.messages[0].title, QStringLiteral("CR-502"));
    EXPECT_TRUE(dlg.Copies->text().isEmpty());
    EXPECT_EQ(dlg.cboPrtName->currentIndex(), -1);
}

TEST(PrintDialogNumbers, TheNumberAtTheStartOfTheText) {
    EXPECT_EQ(frmPrintFrm::numericValue(QString()), 0);
    EXPECT_EQ(frmPrintFrm::numericValue(QStringLiteral("abc")), 0);
    EXPECT_EQ(frmPrintFrm::numericValue(QStringLiteral("12abc")), 12);
    EXPECT_EQ(frmPrintFrm::numericValue(QStringLiteral("  3.4")), 3);
    EXPECT_EQ(frmPrintFrm::numericValue(QStringLiteral("-2")), -2);
}

} // namespace
} // namespace plax::test
