#include "Reports.h"

#include "frmPrintFrm.h"

#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/common/frmChild.h"
#include "core/types/Clock.h"
#include "platform/print/Formula.h"
#include "platform/ui/Dialogs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <QTimer>
#include <cstring>

namespace plax::reports {

using namespace print;

short ReportJob = 0;

namespace {

bool sameFile(const QString& a, const QString& b) {
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The print dialog for the job in ReportJob; returns when it has closed.
void runPrintDialog() {
    frmPrintFrm dlg;
    dlg.exec();
}

// Waits, letting the event loop run, until the job's preview window is gone.
void waitForPreview(short job) {
    if (!PEGetWindowHandle(job))
        return;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!PEGetWindowHandle(job) || QCoreApplication::closingDown())
            loop.quit();
    });
    poll.start();
    loop.exec();
}

// Closes a preview window that never received its preview.
void closeHost(QWidget* host) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(host->parentWidget()))
        sub->close();
    else
        host->close();
}

} // namespace

void installReportEngineHooks() {
    EngineHooks h;
    h.database = [](const QString& path) -> db::Database* {
        if (!CompanyDb || !CompanyDb->isOpen())
            return nullptr;
        if (sameFile(path, CompanyDb->path()))
            return CompanyDb.get();
        // The location record holds 256 bytes: a longer path arrives cut.
        const QByteArray full = CompanyDb->path().toLatin1();
        if (full.size() >= 256 && path.toLatin1() == full.left(256))
            return CompanyDb.get();
        return nullptr;
    };
    h.pdfFolder = DataPath;
    h.pdfWritten = [](const QString& path) {
        ui::MsgBox(QStringLiteral("No printer is installed on this computer. The report was saved as a PDF "
                                  "file instead:\n%1")
                       .arg(path),
                   ui::Buttons::OK, ui::Icon::Information);
    };
    h.previewPrint = [](short job) {
        const short previous = ReportJob;
        ReportJob = job;
        runPrintDialog();
        ReportJob = previous;
    };
    setEngineHooks(h);
}

bool OpenReportEngine() {
    installReportEngineHooks();
    if (PEOpenEngine() == 0) {
        PEHandle h = 0;
        short len = 0;
        PEGetErrorText(0, &h, &len);
        QByteArray text(len + 1, '\0');
        PEGetHandleString(h, text.data(), short(len + 1));
        ShowError(QStringLiteral("TM-"), QString::fromLatin1(text.constData()));
        return false;
    }
    return true;
}

void PrintReport(short destination, const QString& reportFile, const QString& selectionFormula,
                 std::optional<short> sortChoice, const std::vector<std::pair<QString, QString>>& formulas) {
    short job = 0;
    try {
        job = PEOpenPrintJob(AppPath + QStringLiteral("Reports/") + reportFile);
        ReportJob = job;
        if (job == 0) {
            ShowError(QStringLiteral("0"), QStringLiteral("Could not start the print job."));
            PECloseEngine();
            return;
        }
        [&] {
            if (!SetReportTableLocations(job))
                return;
            if (reportFile == QLatin1String("Daily.rpt") || reportFile == QLatin1String("WeeklyReport.rpt") ||
                reportFile == QLatin1String("TADetailed.rpt")) {
                const short sub = PEOpenSubreport(job, QStringLiteral("Time Attendance"));
                if (sub == 0) {
                    ui::MsgBox(QStringLiteral("Could not open report."));
                    return;
                }
                if (!SetReportTableLocations(sub))
                    return;
            } else if (reportFile == QLatin1String("EList.rpt")) {
                const short choice = sortChoice.value_or(0);
                if (!PESetFormula(job, QStringLiteral("SortOrder"), QStringLiteral("'%1'").arg(choice)))
                    ShowReportError(job);
                else
                    SetEmployeeSortFields(choice, job);
            }
            if (reportFile == QLatin1String("WeeklyReport.rpt") ||
                reportFile == QLatin1String("TADetailed.rpt"))
                if (!PESetFormula(job, QStringLiteral("DisplayRate"),
                                  Company.IncludeWages ? QStringLiteral("True") : QStringLiteral("False")))
                    ShowReportError(job);
            if (!PESetFormula(job, QStringLiteral("CompanyName"), formulaLiteral(Company.CompanyName)))
                ShowReportError(job);
            for (const auto& [name, text] : formulas)
                if (!PESetFormula(job, name, text))
                    ShowReportError(job);
            if (!PESetSelectionFormula(job, selectionFormula)) {
                ShowReportError(job);
                return;
            }
            if (destination == kToPrinter) {
                runPrintDialog();
            } else if (destination == kToWindow) {
                frmChild* host = frmChild::create();
                const QRect area = host->rect();
                if (!PEOutputToWindow(job, QStringLiteral("Print Report"), area.left(), area.top(),
                                      area.width(), area.height(), kVisibleWindowStyle, host)) {
                    ShowReportError(job);
                    closeHost(host);
                    return;
                }
                if (!PEStartPrintJob(job, 1)) {
                    ShowReportError(job);
                    closeHost(host);
                    return;
                }
                host->showWindow();
                waitForPreview(job);
            }
            PEClosePrintJob(job);
        }();
    } catch (...) {
        // Any other failure ends the print without a message; the engine is
        // still closed below.
    }
    PECloseEngine();
}

bool SetReportTableLocations(short job) {
    const short n = PEGetNTables(job);
    if (n < 0) {
        ShowReportError(job);
        return false;
    }
    const ReportTableLocation location = makeTableLocation(CompanyDbPath);
    for (short i = 0; i < n; ++i)
        if (!PESetNthTableLocation(job, i, &location)) {
            ShowReportError(job);
            return false;
        }
    return true;
}

void SetEmployeeSortFields(short sortChoice, short job) {
    const QString id = QStringLiteral("{Employee.ID}");
    const QString last = QStringLiteral("{Employee.LastName}");
    const QString dept = QStringLiteral("{Employee.DepartmentNo}");
    QStringList fields;
    if (sortChoice == 1)
        fields = {id, last, dept};
    else if (sortChoice == 3)
        fields = {last, id, dept};
    else
        fields = {dept, id, last};
    for (short i = 0; i < 3; ++i)
        if (!PESetNthSortField(job, i, fields[i], SortAscending))
            ShowReportError(job);
}

void ShowReportError(short job) {
    const short code = PEGetErrorCode(job);
    PEHandle handle = 0;
    short length = 0;
    PEGetErrorText(job, &handle, &length);
    QByteArray buffer(qsizetype(length) + 1, ' ');
    PEGetHandleString(handle, buffer.data(), short(buffer.size()));
    const QString text =
        QString::fromLatin1(buffer.constData(), qstrnlen(buffer.constData(), size_t(buffer.size())));
    ui::MsgBox(text, ui::Buttons::OK, ui::Icon::None, QStringLiteral("CR-") + QString::number(code));
}

short GetReportJobStatus(short job, ReportJobInfo& info) {
    ReportJobInfo tmp;
    std::memset(static_cast<void*>(&tmp), 0, sizeof tmp);
    tmp.StructSize = sizeof(ReportJobInfo);
    const short status = PEGetJobStatus(job, &tmp);
    if (status == -1)
        return -1;
    info = tmp;
    return status;
}

QString reportJobStatusText(short status, const ReportJobInfo& info) {
    QString state;
    switch (status) {
    case 1:
        state = QStringLiteral("job Not Started");
        break;
    case 2:
        state = QStringLiteral("Job In Progress");
        break;
    case 3:
        state = QStringLiteral("Job Completed");
        break;
    case 4:
        state = QStringLiteral("Job Failed");
        break;
    case 5:
        state = QStringLiteral("Job Cancelled");
        break;
    default:
        break;
    }
    const auto line = [](const char* label, qint64 value) {
        return QString::fromLatin1(label).leftJustified(20) + QString::number(value);
    };
    QStringList lines{QStringLiteral("Print Status: ") + state,
                      line("Records Read", info.NumRecordsRead),
                      line("Records Selected", info.NumRecordsSelected),
                      line("Records Printed", info.NumRecordsPrinted),
                      line("Display Page#", info.DisplayPageN),
                      line("Latest Page#", info.LatestPageN),
                      line("Starting Page#", info.StartPageN),
                      info.PrintEnded != 0 ? QStringLiteral("Print has ended.")
                                           : QStringLiteral("Print has not ended.")};
    return lines.join(QLatin1Char('\n'));
}

void ShowReportJobStatus(short job) {
    ReportJobInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    const short status = GetReportJobStatus(job, info);
    if (status < 0) {
        ShowReportError(job);
        return;
    }
    ui::MsgBox(reportJobStatusText(status, info), ui::Buttons::OK, ui::Icon::None,
               QStringLiteral("Print Status"));
}

namespace {
// A number as the old IsNumeric saw one: blanks around, a sign, digits with
// a decimal point, an exponent.
bool isNumeric(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return re.match(text).hasMatch();
}
} // namespace

void PrintHolidayList(short destination) {
    const QString answer =
        ui::InputBox(QStringLiteral("Enter Year (yyyy) :"), QStringLiteral("Holidays Listing Report"),
                     QString::number(Clock::today().year()), QPoint(2000, 2000));
    if (answer.isEmpty())
        return;
    if (!isNumeric(answer)) {
        ui::MsgBox(QStringLiteral("Invalid year. Try Again!"), ui::Buttons::OK, ui::Icon::Information);
        return;
    }
    const QString selection = QStringLiteral("Year ({Holidays.TDate}) = ") + answer;
    if (OpenReportEngine())
        PrintReport(destination, QStringLiteral("Holiday.rpt"), selection, std::nullopt,
                    {{QStringLiteral("Period"), formulaLiteral(QStringLiteral("Year ") + answer.trimmed())}});
}

} // namespace plax::reports
