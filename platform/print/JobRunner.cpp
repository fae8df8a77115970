#include "EngineJob.h"

#include "PageRenderer.h"
#include "ReportData.h"
#include "ReportLayout.h"

#include "core/types/Clock.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <functional>
#include <optional>

namespace plax::print {

Job& rootOf(Job& j) {
    Job* r = &j;
    while (r->parent)
        if (Job* p = findJob(r->parent))
            r = p;
        else
            break;
    return *r;
}

QString fileNameOf(const Job& j) { return QFileInfo(j.path).fileName(); }

QString firstLocation(const Job& j) {
    for (const QString& l : j.locations)
        if (!l.isEmpty())
            return l;
    return QString();
}

db::Database& databaseFor(Job& j, const QString& location) {
    if (location.isEmpty())
        fail(pe::Location, QStringLiteral("The location of the tables of %1 has not been set.").arg(fileNameOf(j)));
    if (engineHooks().database)
        if (db::Database* d = engineHooks().database(location))
            return *d;
    if (!j.ownDb || j.ownDb->path() != location)
        j.ownDb = db::Database::open(location, false, true);
    return *j.ownDb;
}

namespace {

// The printer a report prints on: its own, else the default one, else the
// first there is; none when no printer is installed.
QPrinterInfo printerFor(Job& j) {
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (printers.isEmpty())
        return QPrinterInfo();
    QPrinterInfo info = QPrinterInfo::printerInfo(rootOf(j).def->printer);
    if (info.isNull())
        info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        info = QPrinterInfo::printerInfo(printers.front());
    return info;
}

// The paper a printout is laid out on: the default paper of its printer,
// or the locale's where no printer says.
Paper paperFor(Job& j) {
    const QPrinterInfo info = printerFor(j);
    const QPageSize size = info.isNull() ? QPageSize() : info.defaultPageSize();
    if (!size.isValid())
        return localePaper();
    const QSizeF points = size.size(QPageSize::Point);
    return {std::min(points.width(), points.height()) * 20, std::max(points.width(), points.height()) * 20};
}

void bindFormulas(const Job& j, FormulaSet& set, const DataSet& data) {
    for (const FormulaDef& f : j.body->formulas)
        set.define(f.name, f.text);
    for (const auto& [name, text] : j.formulas)
        set.define(name, text);
    try {
        set.bind(data);
    } catch (const FormulaError& e) {
        fail(pe::FormulaSyntax, e.fullText());
    }
}

// The job's selection ANDed with the definition's own.
Formula selectionOf(const Job& j, const FormulaSet& set, const DataSet& data, Formula* where) {
    Formula sel;
    try {
        sel = Formula::parse(j.selection);
        set.bindOther(sel, data);
    } catch (const UnknownFieldError& e) {
        fail(pe::UnknownField, QStringLiteral("Selection formula: %1.").arg(e.fullText()));
    } catch (const FormulaError& e) {
        fail(pe::SelectionSyntax, QStringLiteral("Selection formula: %1.").arg(e.fullText()));
    }
    try {
        *where = Formula::parse(j.body->where);
        set.bindOther(*where, data);
    } catch (const FormulaError& e) {
        fail(pe::Definition, QStringLiteral("%1, 'where' line: %2.").arg(fileNameOf(j), e.fullText()));
    }
    return sel;
}

int columnOf(const Job& j, const DataSet& data, const FieldName& f, const QString& what) {
    const int i = data.indexOf(f.table, f.field);
    if (i < 0)
        fail(pe::SortField, QStringLiteral("%1: the report %2 has no field %3.").arg(what, fileNameOf(j), f.braced()));
    return i;
}

std::vector<bool> visibleColumns(const Job& j, const FormulaSet& set, const DataSet& data) {
    std::vector<bool> out;
    for (const ColumnDef& c : j.body->columns) {
        if (c.when.isEmpty()) {
            out.push_back(true);
            continue;
        }
        try {
            Formula f = Formula::parse(c.when);
            set.bindOther(f, data);
            const FValue v = f.evaluate(set.context(data.rows.empty() ? nullptr : &data.rows.front()));
            out.push_back(!v.isNull() && v.toBool());
        } catch (const FormulaError& e) {
            fail(pe::Evaluation, QStringLiteral("%1, line %2: %3.").arg(fileNameOf(j)).arg(c.line).arg(e.fullText()));
        }
    }
    return out;
}

void checkColumns(const Job& j, const FormulaSet& set, const DataSet& data) {
    for (const ColumnDef& c : j.body->columns) {
        const bool ok = c.value.kind == LineItem::Kind::Formula ? set.has(c.value.text)
                                                                 : data.indexOf(c.value.field.table, c.value.field.field) >= 0;
        if (!ok)
            fail(pe::Definition, QStringLiteral("%1, line %2: the column \"%3\" shows an unknown field or formula.")
                                     .arg(fileNameOf(j))
                                     .arg(c.line)
                                     .arg(c.heading));
    }
}

// The records of a job or subreport job: read, selected and sorted.
struct Prepared {
    std::optional<TableSource> source;
    DataSet data;
    FormulaSet formulas;
    std::vector<Formula> filters; // the definition's where, the job's selection
    std::vector<bool> visible;
    std::vector<int> groupColumns;
    int read = 0;
};

// Finds the tables and binds the formulas; no record is read yet.
void open(Job& j, const QString& location, Prepared& p) {
    try {
        if (!j.body->tables.empty()) {
            p.source.emplace(databaseFor(j, location), *j.body);
            p.data = p.source->emptySet();
        }
    } catch (const DefinitionError& e) {
        fail(pe::Definition, QStringLiteral("%1, line %2: %3.").arg(fileNameOf(j)).arg(e.line()).arg(e.message()));
    }
    bindFormulas(j, p.formulas, p.data);
    checkColumns(j, p.formulas, p.data);
    Formula where;
    const Formula sel = selectionOf(j, p.formulas, p.data, &where);
    p.filters = {where, sel};
}

// Reads the selected records (`select` does the reading) and sorts them.
void prepare(Job& j, Prepared& p, const std::function<int(Prepared&)>& select) {
    try {
        if (p.source)
            p.read = select(p);
    } catch (const FormulaError& e) {
        fail(pe::Evaluation, QStringLiteral("Selecting records: %1.").arg(e.fullText()));
    }
    std::vector<SortKey> keys;
    for (const GroupDef& g : j.body->groups) {
        p.groupColumns.push_back(columnOf(j, p.data, g.field, QStringLiteral("Group")));
        keys.push_back({p.groupColumns.back(), g.ascending});
    }
    for (const SortDef& s : j.sorts)
        keys.push_back({columnOf(j, p.data, s.field, QStringLiteral("Sort field")), s.ascending});
    sortRows(p.data, keys);
    p.visible = visibleColumns(j, p.formulas, p.data);
}


} // namespace

std::shared_ptr<const Document> runJob(Job& j) {
    Prepared main;
    open(j, firstLocation(j), main);
    prepare(j, main, [](Prepared& p) { return selectRecords(*p.source, p.filters, p.formulas, true, p.data); });
    std::vector<std::unique_ptr<SubreportRun>> subs;
    std::vector<std::unique_ptr<Job>> tempJobs;
    for (const SubreportDef& sd : j.def->subreports) {
        Job* sj = nullptr;
        const auto it = j.subJobs.find(sd.name.toLower());
        if (it != j.subJobs.end())
            sj = findJob(it->second);
        if (!sj) {
            // A subreport nobody opened reads the main report's database.
            tempJobs.push_back(std::make_unique<Job>());
            sj = tempJobs.back().get();
            sj->path = j.path;
            sj->def = j.def;
            sj->body = &sd;
            sj->sub = &sd;
            sj->sorts = sd.sorts;
        }
        QString location = firstLocation(*sj);
        if (location.isEmpty())
            location = firstLocation(j);
        Prepared p;
        open(*sj, location, p);
        auto run = std::make_unique<SubreportRun>();
        for (const auto& [subField, mainField] : sd.links) {
            run->linkSub.push_back(columnOf(*sj, p.data, subField, QStringLiteral("Subreport link")));
            run->linkMain.push_back(columnOf(j, main.data, mainField, QStringLiteral("Subreport link")));
        }
        // Only the rows linked to a selected record are read.
        prepare(*sj, p, [&](Prepared& q) {
            if (run->linkSub.empty())
                return selectRecords(*q.source, q.filters, q.formulas, true, q.data);
            return selectLinkedRecords(*q.source, q.filters, q.formulas, run->linkSub, main.data, run->linkMain,
                                       q.data);
        });
        run->def = &sd;
        run->data = std::move(p.data);
        run->formulas = std::move(p.formulas);
        run->columnVisible = p.visible;
        run->index();
        subs.push_back(std::move(run));
    }
    LayoutInput in;
    in.def = j.def.get();
    in.data = &main.data;
    in.formulas = &main.formulas;
    in.groupColumns = main.groupColumns;
    in.columnVisible = main.visible;
    in.printed = Clock::now();
    // A preview is laid out on the locale's paper without asking the print
    // system, which it may not need at all.
    in.paper = j.output == Job::Output::Printer ? paperFor(j) : localePaper();
    const int company = main.formulas.indexOf(QStringLiteral("CompanyName"));
    try {
        in.companyName = company >= 0 ? main.formulas.value(company, nullptr).display() : QString();
        for (auto& s : subs)
            in.subreports.push_back(s.get());
        auto doc = std::make_shared<Document>(layoutReport(in));
        doc->recordsRead = main.read;
        doc->recordsSelected = int(main.data.rows.size());
        return doc;
    } catch (const FormulaError& e) {
        fail(pe::Evaluation, QStringLiteral("Printing records: %1.").arg(e.fullText()));
    }
}

namespace {

// ---- output

QString pdfPathFor(const Job& j) {
    QString folder = engineHooks().pdfFolder;
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    const QString base = QFileInfo(j.path).completeBaseName();
    const QString stamp = Clock::now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(folder).filePath(QStringLiteral("%1-%2.pdf").arg(base, stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1-%2-%3.pdf").arg(base, stamp).arg(n));
    return path;
}

} // namespace

void printDocument(Job& j) {
    const auto pages = pagesToPrint(*j.doc, j.options.StartPageN, j.options.StopPageN,
                                    j.copies > 0 ? j.copies : int(j.options.NReportCopies));
    if (pages.empty())
        fail(pe::PrintOptions, QStringLiteral("The page range %1 to %2 holds no page of the report (it has %3).")
                                   .arg(int(j.options.StartPageN))
                                   .arg(int(j.options.StopPageN))
                                   .arg(j.doc->pages.size()));
    // The header says when the pages went to paper, also for a preview
    // printed long after it opened.
    j.doc = stampPrinted(j.doc, Clock::now());
    QString error;
    const QPrinterInfo info = printerFor(j);
    if (info.isNull()) {
        // No printer at all: the printout goes into a PDF file.
        j.pdfPath = pdfPathFor(j);
        if (!writePdf(*j.doc, j.pdfPath, pages, &error))
            fail(pe::Printer, error);
        if (engineHooks().pdfWritten)
            engineHooks().pdfWritten(j.pdfPath);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(rootOf(j).def->title);
    if (!printPages(*j.doc, printer, pages, &error))
        fail(pe::Printer, QStringLiteral("Printing on %1 failed: %2").arg(info.printerName(), error));
}

void showPreview(Job& j) {
    auto* w = new PreviewWidget(j.doc, j.windowParent);
    w->setWindowTitle(j.windowTitle);
    if (j.windowParent) {
        w->setGeometry(j.windowRect.isValid() ? j.windowRect : j.windowParent->rect());
    } else {
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->resize(j.windowRect.isValid() ? j.windowRect.size() : QSize(900, 700));
    }
    const short handle = j.handle;
    w->setPrintAction([handle] { printFromPreview(handle); });
    j.preview = w;
    if (j.windowVisible)
        w->show();
}

} // namespace plax::print
