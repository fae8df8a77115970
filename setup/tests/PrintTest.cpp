// Badge selection and the setup screens' listings printed for real: through
// the print wrapper and the print dialog into a PDF file, read back with
// pdftotext.
#include "SetupFixture.h"
#include "platform/print/PrintEngine.h"
#include "reports/Reports.h"
#include "reports/frmPrintFrm.h"
#include "reports/tests/ReportFixture.h"
#include "setup/BadgeSelection.h"
#include "setup/frmDepStp.h"
#include "setup/frmPrintID.h"
#include "setup/frmScheduleSetup.h"
#include "testing/ScreenEvents.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>

using namespace plax;
using namespace plax::setup;
using plax::test::clickToolButton;
using plax::test::showActive;

namespace {

class SetupPrinting : public setup::test::SetupFixture {
  protected:
    void SetUp() override {
        SetupFixture::SetUp();
        Company.CompanyName = QStringLiteral("Northwind Fixtures Ltd.");
        plax::test::prepareProgramFolder(co);
        reports::installReportEngineHooks();
    }
    void TearDown() override { plax::test::leaveProgramFolder(); }
    // Every print dialog is answered with OK.
    plax::test::DialogDriver<reports::frmPrintFrm> printDialog{
        [](reports::frmPrintFrm& dlg) { QTest::mouseClick(dlg.cmdOK, Qt::LeftButton); }};
    QString lastPdf() {
        const QStringList files =
            QDir(DataPath).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        if (files.isEmpty())
            return QString();
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), DataPath + files.front(), QStringLiteral("-")});
        p.waitForFinished(-1);
        QFile::remove(DataPath + files.front());
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // Shows the screen as the active window and clicks a toolbar button.
    void click(QWidget& f, const char* key) {
        if (!f.isActiveWindow())
            showActive(&f);
        clickToolButton(&f, key);
    }
    QTreeWidgetItem* node(frmPrintID& f, const QString& id) {
        QTreeWidgetItem* root = child<QTreeWidget>(&f, "TreeView1")->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0).startsWith(id + ","))
                return root->child(i);
        return nullptr;
    }
};

} // namespace

TEST(BadgeFormula, JoinsTheCheckedIdsOrTakesAll) {
    std::vector<BadgeChoice> e = {{"1001", "", true}, {"1002", "", false}, {"10,3", "", true}};
    EXPECT_EQ(badgeSelection(false, e), QString("{Employee.ID} In ['1001', '10,3']"));
    e[1] = {"x' Or 'a'='a", "", true};
    EXPECT_EQ(badgeSelection(false, e), QString("{Employee.ID} In ['1001', \"x' Or 'a'='a\", '10,3']"));
    EXPECT_EQ(badgeSelection(true, e), QString());
    e[0].checked = e[1].checked = e[2].checked = false;
    EXPECT_EQ(badgeSelection(false, e), std::nullopt);
    EXPECT_EQ(badgeSelection(false, {}), std::nullopt);
}

TEST_F(SetupPrinting, TheTreeChecksFromAllDownOnly) {
    frmPrintID f;
    auto* tree = child<QTreeWidget>(&f, "TreeView1");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "ALL");
    EXPECT_EQ(root->childCount(), 10); // inactive employees never appear
    EXPECT_EQ(node(f, "1010")->text(0), "1010,Liam O'Brien");

    root->setCheckState(0, Qt::Checked);
    EXPECT_EQ(node(f, "1005")->checkState(0), Qt::Checked);
    node(f, "1005")->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(root->checkState(0), Qt::Checked);
    EXPECT_EQ(f.badgeFormula(), QString()); // ALL still prints everyone
    root->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(node(f, "1001")->checkState(0), Qt::Unchecked);
    click(f, "Print");
    EXPECT_EQ(answers.texts(), QStringList{"Please select the ID you want to print first."});
}

TEST_F(SetupPrinting, BadgesOfTwoEmployees) {
    frmPrintID f;
    node(f, "1002")->setCheckState(0, Qt::Checked);
    node(f, "1010")->setCheckState(0, Qt::Checked);
    click(f, "Print");
    const QString pdf = lastPdf();
    EXPECT_TRUE(pdf.contains("Carlos Diaz")) << pdf.toStdString();
    EXPECT_TRUE(pdf.contains("Liam O'Brien"));
    EXPECT_FALSE(pdf.contains("Anna Berger"));
    EXPECT_EQ(pdf.count(QRegularExpression("ID 10\\d\\d")), 2) << "one badge each";
    EXPECT_TRUE(pdf.contains("Northwind Fixtures Ltd."));
}

TEST_F(SetupPrinting, AnEmptyTreeAsksForAChoice) {
    CompanyDb->execute("UPDATE Employee SET Status = 0");
    frmPrintID f;
    EXPECT_EQ(child<QTreeWidget>(&f, "TreeView1")->topLevelItemCount(), 0);
    click(f, "Preview");
    EXPECT_EQ(answers.texts(), QStringList{"Please select the ID you want to print first."});
}

TEST_F(SetupPrinting, ScheduleAndDepartmentListings) {
    {
        frmScheduleSetup s;
        click(s, "Print");
        const QString pdf = lastPdf();
        EXPECT_TRUE(pdf.contains("Night shift")) << pdf.toStdString();
        EXPECT_TRUE(pdf.contains("ends the next day"));
    }
    frmDepStp d;
    click(d, "Print");
    const QString pdf = lastPdf();
    EXPECT_TRUE(pdf.contains("Warehouse")) << pdf.toStdString();
}
