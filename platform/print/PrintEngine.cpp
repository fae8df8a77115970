#include "PrintEngine.h"

#include "EngineJob.h"
#include "Formula.h"

#include <QFileInfo>
#include <QPrinterInfo>
#include <cstring>
#include <map>
#include <memory>

namespace plax::print {
namespace {

struct Engine {
    int openCount = 0;
    short nextJob = 1;
    std::map<short, std::unique_ptr<Job>> jobs;
    short errorCode = 0; // for calls without a valid job
    QString errorText;
    PEHandle nextText = 1;
    std::map<PEHandle, QByteArray> texts;
    EngineHooks hooks;
};

Engine& engine() {
    static Engine e;
    return e;
}

} // namespace

Job* findJob(short handle) {
    const auto it = engine().jobs.find(handle);
    return it == engine().jobs.end() ? nullptr : it->second.get();
}

namespace {

Job& requireJob(short handle) {
    if (engine().openCount <= 0)
        fail(pe::EngineNotOpen, QStringLiteral("The print engine is not open."));
    Job* j = findJob(handle);
    if (!j)
        fail(pe::BadJob, QStringLiteral("There is no print job number %1.").arg(handle));
    return *j;
}

void setError(short job, short code, const QString& text) {
    if (Job* j = findJob(job)) {
        j->errorCode = code;
        j->errorText = text;
    }
    engine().errorCode = code;
    engine().errorText = text;
}

// Runs one engine call: clears the job's error, turns failures into its
// error code and a 0 result.
template <typename F>
short call(short job, F&& body) {
    if (Job* j = findJob(job)) {
        j->errorCode = 0;
        j->errorText.clear();
    }
    try {
        return body();
    } catch (const PeFailure& f) {
        setError(job, f.code, f.text);
    } catch (const db::DbError& e) {
        setError(job, pe::Database, QStringLiteral("Database error %1: %2").arg(e.number()).arg(e.description()));
    } catch (const std::exception& e) {
        setError(job, pe::Output, QString::fromUtf8(e.what()));
    }
    return 0;
}

PEHandle newText(const QString& text) {
    const PEHandle h = engine().nextText++;
    engine().texts[h] = text.toLatin1();
    return h;
}

void closeJob(short handle) {
    Job* j = findJob(handle);
    if (!j)
        return;
    for (const auto& [name, sub] : j->subJobs)
        closeJob(sub);
    if (j->preview)
        j->preview->deleteLater();
    engine().jobs.erase(handle);
}

} // namespace

void printFromPreview(short handle) {
    if (!findJob(handle))
        return;
    if (engine().hooks.previewPrint) {
        engine().hooks.previewPrint(handle);
        return;
    }
    call(handle, [handle] {
        printDocument(*findJob(handle));
        return short(1);
    });
}

// ---------------------------------------------------------------- records

ReportTableLocation makeTableLocation(const QString& path) {
    ReportTableLocation r;
    r.StructSize = sizeof(ReportTableLocation);
    std::memset(r.Location, ' ', sizeof r.Location);
    const QByteArray ansi = path.toLatin1();
    const qsizetype n = std::min<qsizetype>(ansi.size(), sizeof r.Location);
    std::memcpy(r.Location, ansi.constData(), size_t(n));
    if (n < qsizetype(sizeof r.Location))
        r.Location[n] = '\0';
    return r;
}

ReportPrintOptions makePrintOptions(int first, int last, int copies) {
    ReportPrintOptions o;
    o.StructSize = sizeof(ReportPrintOptions);
    o.StartPageN = qint16(first);
    o.StopPageN = qint16(last);
    o.NReportCopies = qint16(copies);
    o.Collation = 0;
    return o;
}

// ---------------------------------------------------------------- engine

short PEOpenEngine() {
    ++engine().openCount;
    return 1;
}

void PECloseEngine() {
    Engine& e = engine();
    if (e.openCount <= 0)
        return;
    if (--e.openCount > 0)
        return;
    std::vector<short> all;
    for (const auto& [h, j] : e.jobs)
        if (!j->parent)
            all.push_back(h);
    for (short h : all)
        closeJob(h);
    e.jobs.clear();
}

bool PEEngineIsOpen() { return engine().openCount > 0; }

short PEOpenPrintJob(const QString& reportFilePath) {
    return call(0, [&]() -> short {
        if (engine().openCount <= 0)
            fail(pe::EngineNotOpen, QStringLiteral("The print engine is not open."));
        if (!QFileInfo(reportFilePath).isFile())
            fail(pe::ReportFile, QStringLiteral("The report file %1 does not exist.").arg(reportFilePath));
        auto def = std::make_shared<ReportDefinition>();
        try {
            *def = ReportDefinition::load(reportFilePath);
        } catch (const DefinitionError& e) {
            fail(pe::Definition, QStringLiteral("%1, line %2: %3.")
                                     .arg(QFileInfo(reportFilePath).fileName())
                                     .arg(e.line())
                                     .arg(e.message()));
        }
        auto j = std::make_unique<Job>();
        Engine& e = engine();
        while (e.jobs.count(e.nextJob) || e.nextJob <= 0)
            e.nextJob = e.nextJob <= 0 ? 1 : short(e.nextJob + 1);
        j->handle = e.nextJob++;
        j->path = reportFilePath;
        j->def = def;
        j->body = def.get();
        j->locations.resize(def->tables.size());
        j->sorts = def->sorts;
        const short h = j->handle;
        e.jobs[h] = std::move(j);
        return h;
    });
}

short PEClosePrintJob(short job) {
    return call(job, [&]() -> short {
        requireJob(job);
        closeJob(job);
        return 1;
    });
}

short PEGetNTables(short job) {
    const short r = call(job, [&]() -> short { return short(requireJob(job).body->tables.size()) + 1; });
    return r == 0 ? short(-1) : short(r - 1);
}

short PESetNthTableLocation(short job, short tableN, const ReportTableLocation* location) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        if (tableN < 0 || tableN >= short(j.body->tables.size()))
            fail(pe::TableNumber, QStringLiteral("The report has no table number %1 (it reads %2 tables).")
                                      .arg(tableN)
                                      .arg(j.body->tables.size()));
        if (!location || location->StructSize != sizeof(ReportTableLocation))
            fail(pe::Location, QStringLiteral("The table location record is not valid (its size must be %1).")
                                   .arg(sizeof(ReportTableLocation)));
        const char* end = static_cast<const char*>(std::memchr(location->Location, '\0', sizeof location->Location));
        const qsizetype n = end ? end - location->Location : qsizetype(sizeof location->Location);
        const QString path = QString::fromLatin1(location->Location, n).trimmed();
        if (path.isEmpty())
            fail(pe::Location, QStringLiteral("The table location is empty."));
        j.locations[size_t(tableN)] = path;
        return 1;
    });
}

short PEOpenSubreport(short parentJob, const QString& subreportName) {
    return call(parentJob, [&]() -> short {
        Job& parent = requireJob(parentJob);
        if (parent.sub)
            fail(pe::NoSubreport, QStringLiteral("A subreport has no subreports of its own."));
        const SubreportDef* sd = nullptr;
        for (const SubreportDef& s : parent.def->subreports)
            if (s.name.compare(subreportName, Qt::CaseInsensitive) == 0)
                sd = &s;
        if (!sd)
            fail(pe::NoSubreport, QStringLiteral("The report %1 has no subreport named \"%2\".")
                                      .arg(fileNameOf(parent), subreportName));
        const auto existing = parent.subJobs.find(sd->name.toLower());
        if (existing != parent.subJobs.end())
            return existing->second;
        Engine& e = engine();
        auto j = std::make_unique<Job>();
        while (e.jobs.count(e.nextJob) || e.nextJob <= 0)
            e.nextJob = e.nextJob <= 0 ? 1 : short(e.nextJob + 1);
        j->handle = e.nextJob++;
        j->parent = parentJob;
        j->path = parent.path;
        j->def = parent.def;
        j->body = sd;
        j->sub = sd;
        j->locations.resize(sd->tables.size());
        j->sorts = sd->sorts;
        const short h = j->handle;
        parent.subJobs[sd->name.toLower()] = h;
        e.jobs[h] = std::move(j);
        return h;
    });
}

short PESetFormula(short job, const QString& formulaName, const QString& formulaText) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        bool known = false;
        for (const FormulaDef& f : j.body->formulas)
            known |= f.name.compare(formulaName, Qt::CaseInsensitive) == 0;
        if (!known)
            fail(pe::NoFormula, QStringLiteral("The report %1 has no formula named \"%2\".")
                                    .arg(fileNameOf(j), formulaName));
        try {
            (void)Formula::parse(formulaText);
        } catch (const FormulaError& e) {
            fail(pe::FormulaSyntax, QStringLiteral("Formula %1: %2.").arg(formulaName, e.fullText()));
        }
        for (auto& [name, text] : j.formulas)
            if (name.compare(formulaName, Qt::CaseInsensitive) == 0) {
                text = formulaText;
                return 1;
            }
        j.formulas.emplace_back(formulaName, formulaText);
        return 1;
    });
}

short PESetSelectionFormula(short job, const QString& formulaText) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        Formula f;
        try {
            f = Formula::parse(formulaText);
        } catch (const FormulaError& e) {
            fail(pe::SelectionSyntax, QStringLiteral("Selection formula: %1.").arg(e.fullText()));
        }
        // Fields must belong to the report's tables; when the database is
        // known already, to their columns too.
        for (const Formula::FieldRef& r : f.fields()) {
            const TableDef* table = nullptr;
            for (const TableDef& t : j.body->tables)
                if (t.name.compare(r.table, Qt::CaseInsensitive) == 0)
                    table = &t;
            bool ok = table != nullptr;
            const QString location = firstLocation(j);
            if (ok && !location.isEmpty()) {
                db::Database& d = databaseFor(j, location);
                ok = d.columns(table->name).contains(r.field, Qt::CaseInsensitive);
            }
            if (!ok)
                fail(pe::UnknownField, QStringLiteral("Selection formula: unknown field {%1.%2} (at position %3).")
                                           .arg(r.table, r.field)
                                           .arg(r.position));
        }
        for (const Formula::FieldRef& r : f.formulaRefs()) {
            bool known = false;
            for (const FormulaDef& d : j.body->formulas)
                known |= d.name.compare(r.table, Qt::CaseInsensitive) == 0;
            if (!known)
                fail(pe::UnknownField, QStringLiteral("Selection formula: unknown formula {@%1} (at position %2).")
                                           .arg(r.table)
                                           .arg(r.position));
        }
        j.selection = formulaText;
        return 1;
    });
}

short PESetNthSortField(short job, short sortFieldN, const QString& field, short direction) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        FieldName f;
        if (!parseFieldReference(field, &f.table, &f.field))
            fail(pe::SortField, QStringLiteral("A sort field is written {Table.Field}, not %1.").arg(field));
        bool table = false;
        for (const TableDef& t : j.body->tables)
            table |= t.name.compare(f.table, Qt::CaseInsensitive) == 0;
        if (!table)
            fail(pe::SortField, QStringLiteral("The report %1 reads no table %2 (sort field %3).")
                                    .arg(fileNameOf(j), f.table, field));
        if (sortFieldN < 0 || sortFieldN > short(j.sorts.size()))
            fail(pe::SortField, QStringLiteral("Sort field number %1 is out of range (the report has %2).")
                                    .arg(sortFieldN)
                                    .arg(j.sorts.size()));
        if (direction != SortAscending && direction != SortDescending)
            fail(pe::SortField, QStringLiteral("The sort direction %1 is neither 0 nor 1.").arg(direction));
        const SortDef s{f, direction == SortAscending};
        if (sortFieldN == short(j.sorts.size()))
            j.sorts.push_back(s);
        else
            j.sorts[size_t(sortFieldN)] = s;
        return 1;
    });
}

short PEOutputToWindow(short job, const QString& title, int left, int top, int width, int height, quint32 style,
                       QWidget* parentWindow) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        if (j.sub)
            fail(pe::Output, QStringLiteral("A subreport prints with its main report."));
        j.output = Job::Output::Window;
        j.windowTitle = title;
        j.windowRect = QRect(left, top, width, height);
        j.windowVisible = (style & kVisibleWindowStyle) != 0;
        j.windowParent = parentWindow;
        return 1;
    });
}

short PEOutputToPrinter(short job, short nCopies) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        if (j.sub)
            fail(pe::Output, QStringLiteral("A subreport prints with its main report."));
        j.output = Job::Output::Printer;
        j.copies = nCopies;
        return 1;
    });
}

short PEStartPrintJob(short job, short /*waitUntilFinished: printing is always finished on return*/) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        if (j.sub)
            fail(pe::Output, QStringLiteral("A subreport prints with its main report."));
        if (j.status == JobInProgress)
            fail(pe::Busy, QStringLiteral("The print job is running already."));
        j.status = JobInProgress;
        try {
            if (!j.doc || j.output != Job::Output::Printer)
                j.doc = runJob(j);
            if (j.output == Job::Output::Window) {
                if (j.preview)
                    j.preview->deleteLater();
                showPreview(j);
            } else {
                printDocument(j);
            }
        } catch (...) {
            j.status = JobFailed;
            throw;
        }
        j.status = JobCompleted;
        return 1;
    });
}

QWidget* PEGetWindowHandle(short job) {
    Job* j = findJob(job);
    if (!j || !j->preview || j->preview->isClosed())
        return nullptr;
    return j->preview;
}

short PEGetErrorCode(short job) {
    if (Job* j = findJob(job))
        return j->errorCode;
    return engine().errorCode;
}

short PEGetErrorText(short job, PEHandle* textHandle, short* textLength) {
    const Job* j = findJob(job);
    const QString text = j ? j->errorText : engine().errorText;
    const PEHandle h = newText(text);
    if (textHandle)
        *textHandle = h;
    if (textLength)
        *textLength = short(std::min<qsizetype>(engine().texts[h].size(), 32767));
    return 1;
}

short PEGetHandleString(PEHandle textHandle, char* buffer, short bufferLength) {
    auto it = engine().texts.find(textHandle);
    if (it == engine().texts.end() || !buffer || bufferLength <= 0)
        return 0;
    const QByteArray& t = it->second;
    const qsizetype n = std::min<qsizetype>(t.size(), bufferLength - 1);
    std::memcpy(buffer, t.constData(), size_t(n));
    buffer[n] = '\0';
    engine().texts.erase(it);
    return 1;
}

short PEGetJobStatus(short job, ReportJobInfo* info) {
    Job* j = findJob(job);
    if (engine().openCount <= 0 || !j || !info || info->StructSize != sizeof(ReportJobInfo)) {
        setError(job, j ? pe::PrintOptions : pe::BadJob,
                 j ? QStringLiteral("The job information record is not valid (its size must be 24).")
                   : QStringLiteral("There is no print job number %1.").arg(job));
        return JobFailedCall;
    }
    info->NumRecordsRead = quint32(j->doc ? j->doc->recordsRead : 0);
    info->NumRecordsSelected = quint32(j->doc ? j->doc->recordsSelected : 0);
    info->NumRecordsPrinted = quint32(j->doc ? j->doc->recordsPrinted : 0);
    const qint16 pages = qint16(j->doc ? j->doc->pages.size() : 0);
    info->DisplayPageN = j->preview ? qint16(j->preview->currentPage() + 1) : qint16(pages > 0 ? 1 : 0);
    info->LatestPageN = pages;
    info->StartPageN = qint16(pages > 0 ? 1 : 0);
    info->PrintEnded = (j->status == JobCompleted || j->status == JobFailed) ? 1 : 0;
    return j->status;
}

short PEGetSelectedPrinter(short job, PEHandle* driverName, short* driverLength, PEHandle* printerName,
                           short* printerLength, PEHandle* portName, short* portLength, void** devMode) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        const QString name = rootOf(j).def->printer;
        if (devMode)
            *devMode = nullptr;
        if (name.isEmpty()) {
            for (PEHandle* h : {driverName, printerName, portName})
                if (h)
                    *h = 0;
            for (short* l : {driverLength, printerLength, portLength})
                if (l)
                    *l = 0;
            return 1;
        }
        const QPrinterInfo info = QPrinterInfo::printerInfo(name);
        const QString driver = info.isNull() ? QStringLiteral("unknown") : info.makeAndModel();
        const QString port = info.isNull() ? QString() : info.location();
        const auto give = [](const QString& text, PEHandle* h, short* len) {
            const PEHandle t = newText(text);
            if (h)
                *h = t;
            if (len)
                *len = short(engine().texts[t].size() + 1);
        };
        give(driver.isEmpty() ? QStringLiteral("unknown") : driver, driverName, driverLength);
        give(name, printerName, printerLength);
        give(port, portName, portLength);
        return 1;
    });
}

short PEGetPrintOptions(short job, ReportPrintOptions* options) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        if (!options || options->StructSize != sizeof(ReportPrintOptions))
            fail(pe::PrintOptions, QStringLiteral("The print options record is not valid (its size must be 10)."));
        *options = j.options;
        return 1;
    });
}

short PESetPrintOptions(short job, const ReportPrintOptions* options) {
    return call(job, [&]() -> short {
        Job& j = requireJob(job);
        if (!options || options->StructSize != sizeof(ReportPrintOptions))
            fail(pe::PrintOptions, QStringLiteral("The print options record is not valid (its size must be 10)."));
        if (options->StartPageN < 0 || options->StopPageN < 0 || options->NReportCopies < 0)
            fail(pe::PrintOptions, QStringLiteral("Page numbers and copies cannot be negative."));
        if (options->StopPageN > 0 && options->StartPageN > options->StopPageN)
            fail(pe::PrintOptions, QStringLiteral("The starting page %1 lies after the ending page %2.")
                                       .arg(int(options->StartPageN))
                                       .arg(int(options->StopPageN)));
        j.options = *options;
        return 1;
    });
}

void setEngineHooks(const EngineHooks& hooks) { engine().hooks = hooks; }
const EngineHooks& engineHooks() { return engine().hooks; }

const Document* jobDocument(short job) {
    const Job* j = findJob(job);
    return j && j->doc ? j->doc.get() : nullptr;
}

QString jobPdfPath(short job) {
    const Job* j = findJob(job);
    return j ? j->pdfPath : QString();
}

} // namespace plax::print
