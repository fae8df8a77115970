#include "ReportFixture.h"

#include "reports/frmPrintFrm.h"
#include "platform/print/PageModel.h"
#include "platform/print/PreviewWidget.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace plax::test {
namespace {

using namespace reports;

class PrintReportTest : public ReportFixture {};

TEST_F(PrintReportTest, PreviewWaitsUntilTheWindowIsClosed) {
    int pages = 0;
    QStringList firstPage;
    bool closedByTimer = false;
    QTimer::singleShot(100, [&] {
        const print::Document* doc = print::jobDocument(ReportJob);
        ASSERT_NE(doc, nullptr);
        pages = int(doc->pages.size());
        firstPage = doc->pages.front().lines();
        auto* w = qobject_cast<print::PreviewWidget*>(print::PEGetWindowHandle(ReportJob));
        ASSERT_NE(w, nullptr);
        closedByTimer = true;
        w->closeWindow();
    });
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(kToWindow, QStringLiteral("Department.rpt"), QString());
    EXPECT_TRUE(closedByTimer);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(firstPage.contains(QStringLiteral("ADM\tAdministration"))) << firstPage.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(print::PEEngineIsOpen());
    EXPECT_TRUE(responder_.messages.empty());
}

TEST_F(PrintReportTest, PrintingWithoutAPrinterWritesAPdfIntoTheDataFolder) {
    setPrintDialogRunner([](frmPrintFrm& dlg) { dlg.cmdOK->click(); });
    ASSERT_TRUE(OpenReportEngine());
    PrintReport(kToPrinter, QStringLiteral("Department.rpt"), QString());
    ASSERT_EQ(pdfFiles().size(), 1);
    const QString text = pdfText(DataPath + pdfFiles().front());
    EXPECT_TRUE(text.contains(QStringLiteral("Administration")));
    EXPECT_TRUE(text.contains(QStringLiteral("Northwind Fixtures Ltd.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 1")));
    ASSERT_EQ(responder_.messages.size(), 2u);
    EXPECT_TRUE(responder_.messages[0].text.contains(DataPath + pdfFiles().front()));
    EXPECT_EQ(responder_.messages[1].title, QStringLiteral("Print Status"));
    EXPECT_FALSE(print::PEEngineIsOpen());
}

} // namespace
} // namespace plax::test
