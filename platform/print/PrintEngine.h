#pragma once
// The print engine: opens report definition files as print jobs, points
// their tables at a database, takes named formulas, a selection formula and
// sort fields, and prints, previews or writes the report.
//
// Its calls keep the shape the program was written against: 16-bit job
// handles, non-zero for success, the last error of each job kept for
// PEGetErrorCode/PEGetErrorText, texts handed out through text handles, and
// records passed as packed little-endian byte layouts with their size in
// the first two bytes.
//
// Threading: the user-interface thread only.

#include <QString>
#include <QtEndian>
#include <functional>

class QWidget;

namespace plax::db {
class Database;
}

namespace plax::print {

// A little-endian integer field of a record, stored as bytes so that a
// packed record never holds a misaligned integer.
template <typename T>
class LeInt {
public:
    LeInt() = default;
    LeInt(T v) { qToLittleEndian<T>(v, bytes_); }
    LeInt& operator=(T v) {
        qToLittleEndian<T>(v, bytes_);
        return *this;
    }
    operator T() const { return qFromLittleEndian<T>(bytes_); }

private:
    unsigned char bytes_[sizeof(T)];
};

#pragma pack(push, 1)
// Where one table of a report is read from: the database file's path, then
// a NUL, then blanks; a path of 256 bytes or more is cut to 256 bytes.
struct ReportTableLocation {
    LeInt<quint16> StructSize;
    char Location[256];
};
struct ReportPrintOptions {
    LeInt<quint16> StructSize;
    LeInt<qint16> StartPageN; // 0 = from the first page
    LeInt<qint16> StopPageN;  // 0 = to the last page
    LeInt<qint16> NReportCopies;
    LeInt<qint16> Collation;
};
struct ReportJobInfo {
    LeInt<quint16> StructSize;
    LeInt<quint32> NumRecordsRead;
    LeInt<quint32> NumRecordsSelected;
    LeInt<quint32> NumRecordsPrinted;
    LeInt<qint16> DisplayPageN;
    LeInt<qint16> LatestPageN;
    LeInt<qint16> StartPageN;
    LeInt<qint32> PrintEnded;
};
#pragma pack(pop)
static_assert(sizeof(ReportTableLocation) == 258);
static_assert(sizeof(ReportPrintOptions) == 10);
static_assert(sizeof(ReportJobInfo) == 24);

// A location record for a database path (ANSI text, NUL, blanks).
ReportTableLocation makeTableLocation(const QString& path);
ReportPrintOptions makePrintOptions(int first, int last, int copies);

// Job states returned by PEGetJobStatus.
enum JobStatus : short {
    JobFailedCall = -1,
    JobNotStarted = 1,
    JobInProgress = 2,
    JobCompleted = 3,
    JobFailed = 4,
    JobCancelled = 5,
};

enum SortDirection : short { SortDescending = 0, SortAscending = 1 };

// The window style bit the callers pass to make the preview visible.
constexpr quint32 kVisibleWindowStyle = 0x10000000u;

// Error codes of the engine (PEGetErrorCode).
namespace pe {
constexpr short NoError = 0;
constexpr short EngineNotOpen = 501;
constexpr short BadJob = 502;
constexpr short ReportFile = 503;
constexpr short Definition = 504;
constexpr short TableNumber = 505;
constexpr short Location = 506;
constexpr short NoSubreport = 507;
constexpr short NoFormula = 508;
constexpr short FormulaSyntax = 509;
constexpr short SelectionSyntax = 510;
constexpr short UnknownField = 511;
constexpr short SortField = 512;
constexpr short Database = 513;
constexpr short Evaluation = 514;
constexpr short Output = 515;
constexpr short Printer = 516;
constexpr short PrintOptions = 517;
constexpr short Busy = 518;
constexpr short TextHandle = 519;
} // namespace pe

using PEHandle = qint32; // a text handle

short PEOpenEngine();
// Closes the engine with every job still open in it. Opens and closes
// nest: the engine closes when every PEOpenEngine has had its close.
void PECloseEngine();
bool PEEngineIsOpen();

short PEOpenPrintJob(const QString& reportFilePath);
short PEClosePrintJob(short job);
short PEGetNTables(short job);
short PESetNthTableLocation(short job, short tableN, const ReportTableLocation* location);
short PEOpenSubreport(short parentJob, const QString& subreportName);
short PESetFormula(short job, const QString& formulaName, const QString& formulaText);
short PESetSelectionFormula(short job, const QString& formulaText);
short PESetNthSortField(short job, short sortFieldN, const QString& field, short direction);
// The preview goes into `parentWindow` (filling it, following its size);
// without a parent it is a window of its own.
short PEOutputToWindow(short job, const QString& title, int left, int top, int width, int height, quint32 style,
                       QWidget* parentWindow);
short PEOutputToPrinter(short job, short nCopies);
short PEStartPrintJob(short job, short waitUntilFinished);
// The job's preview window; nullptr once it has been closed.
QWidget* PEGetWindowHandle(short job);
short PEGetErrorCode(short job);
short PEGetErrorText(short job, PEHandle* textHandle, short* textLength);
// Copies the text (ANSI, NUL-terminated, cut to the buffer) and frees the handle.
short PEGetHandleString(PEHandle textHandle, char* buffer, short bufferLength);
short PEGetJobStatus(short job, ReportJobInfo* info);
// A driver handle of 0 means the job has no printer of its own.
short PEGetSelectedPrinter(short job, PEHandle* driverName, short* driverLength, PEHandle* printerName,
                           short* printerLength, PEHandle* portName, short* portLength, void** devMode);
short PEGetPrintOptions(short job, ReportPrintOptions* options);
short PESetPrintOptions(short job, const ReportPrintOptions* options);

// How the engine meets the program around it.
struct EngineHooks {
    // An open connection for a table location (the program's own, so the
    // report sees its temporary tables); nullptr lets the engine open the
    // file itself, read-only and without a password.
    std::function<db::Database*(const QString& path)> database;
    // The print button of a preview; when unset the job prints at once.
    std::function<void(short job)> previewPrint;
    // Where a printout goes when the machine has no printer at all, and
    // whom to tell the PDF file's path.
    QString pdfFolder;
    std::function<void(const QString& pdfPath)> pdfWritten;
};
void setEngineHooks(const EngineHooks& hooks);
const EngineHooks& engineHooks();

// Introspection for tests and for the preview: the laid-out pages of a
// started job (nullptr before), and the last PDF file a job wrote.
struct Document;
const Document* jobDocument(short job);
QString jobPdfPath(short job);

} // namespace plax::print
