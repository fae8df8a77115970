#pragma once
// Inside the print engine: a print job, how its calls fail, and running a
// job into pages and onto its output. Not for use outside platform/print.

#include "PageModel.h"
#include "PreviewWidget.h"
#include "PrintEngine.h"
#include "ReportDefinition.h"

#include "platform/db/Database.h"

#include <QPointer>
#include <QRect>
#include <map>
#include <memory>

namespace plax::print {

struct Job {
    short handle = 0;
    short parent = 0;
    QString path;
    std::shared_ptr<ReportDefinition> def; // shared with the job's subreports
    const ReportBody* body = nullptr;
    const SubreportDef* sub = nullptr;
    std::vector<QString> locations;
    std::vector<std::pair<QString, QString>> formulas; // replaced by PESetFormula
    QString selection;
    std::vector<SortDef> sorts;
    enum class Output { None, Window, Printer } output = Output::None;
    QString windowTitle;
    QRect windowRect;
    bool windowVisible = true;
    QPointer<QWidget> windowParent;
    short copies = 1;
    ReportPrintOptions options = makePrintOptions(0, 0, 1);
    short errorCode = 0;
    QString errorText;
    short status = JobNotStarted;
    std::shared_ptr<const Document> doc;
    QPointer<PreviewWidget> preview;
    std::map<QString, short> subJobs; // by subreport name
    std::unique_ptr<db::Database> ownDb;
    QString pdfPath;
};

// Raised inside the engine, turned into the job's error code at the call's edge.
struct PeFailure {
    short code;
    QString text;
};

[[noreturn]] inline void fail(short code, const QString& text) { throw PeFailure{code, text}; }

// The report file's name (for messages).
QString fileNameOf(const Job& j);
// The first table location set on the job, or an empty text.
QString firstLocation(const Job& j);
// The database at a location: the program's connection, or one of the job's own.
db::Database& databaseFor(Job& j, const QString& location);
// The job with that handle, or nullptr.
Job* findJob(short handle);
// The main report's job of a subreport job (the job itself for a main report).
Job& rootOf(Job& j);
// Reads, selects and sorts the records and lays them out (subreports too).
std::shared_ptr<const Document> runJob(Job& j);
// Prints the laid-out pages on the printer, or into a PDF file without one.
void printDocument(Job& j);
// Puts the preview into the job's window.
void showPreview(Job& j);
// The preview's print button.
void printFromPreview(short job);

} // namespace plax::print
