#include "ClockImport.h"
#include "ArchivedPunches.h"
#include "LineReader.h"

#include "core/archivefiles/ArchiveMoves.h"
#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/pairing/PunchPairing.h"
#include "core/types/Clock.h"
#include "platform/ui/Dialogs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QThread>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace plax {
namespace {

// A transaction is committed once it has run this long (between batches);
// the progress is told between transactions.
constexpr qint64 kTransactionMs = 50;

// Between two transactions: time for a waiting writer (a clock terminal,
// which tries again every millisecond) to take the lock first.
void giveWay() { QThread::msleep(5); }

// Reads Clock.txt line by line and hands each punch to `take(id, date, time)`;
// `id` views the line for the length of the call only.
template <typename Take>
void readPunches(const QString& path, Take take) {
    QFile f(path);
    if (!f.exists())
        throw db::DbError(db::err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        throw db::DbError(db::err::NoPermission, QStringLiteral("The file '%1' cannot be read.").arg(path));
    const int year = Clock::today().year();
    LineReader lines(f);
    QString line, lastText;
    std::optional<CalDate> lastDate; // set from the first line on: a line without a date raises
    while (lines.next(line)) {
        if (std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }))
            continue;
        // The ID may hold a comma; the date and the time are the last fields.
        const qsizetype timeComma = line.lastIndexOf(QLatin1Char(','));
        const qsizetype dateComma = timeComma > 0 ? line.lastIndexOf(QLatin1Char(','), timeComma - 1) : -1;
        if (dateComma < 0)
            throw db::typeMismatch();
        // Consecutive lines mostly share their date: parse each text once.
        const QStringView dateText = QStringView(line).sliced(dateComma + 1, timeComma - dateComma - 1);
        if (!lastDate || dateText != lastText) {
            lastText = dateText.toString();
            lastDate = parseDate(lastText, year, DateOrder::MonthFirst);
        }
        if (!lastDate)
            throw db::typeMismatch();
        take(QStringView(line).first(dateComma), *lastDate,
             TimeOfDay::parse(QStringView(line).sliced(timeComma + 1).trimmed().toString()));
    }
    if (lines.failed())
        throw db::DbError(db::err::NoPermission, QStringLiteral("The file '%1' cannot be read.").arg(path));
}

// The punches of a file in a few bytes each: the ID by number (each ID text
// is kept once), the day number and the minute of the day.
class PunchList {
public:
    struct Entry {
        std::uint32_t id;
        std::int32_t date;
        std::int16_t minute; // -1: no time
    };

    void add(QStringView id, CalDate d, std::optional<TimeOfDay> t) {
        const QString text = id.toString();
        auto it = numbers_.constFind(text);
        if (it == numbers_.cend()) {
            it = numbers_.insert(text, std::uint32_t(ids_.size()));
            ids_.push_back(it.key());
        }
        entries_.push_back({*it, d.days(), std::int16_t(t ? t->minutes() : -1)});
    }

    // Sorts by ID (letter case ignored), date and time; punches equal in all
    // three keep the file's order. Each employee's punches then stand
    // together (entries with the same group()).
    void sort() {
        std::vector<QString> folded;
        folded.reserve(ids_.size());
        for (const QString& id : ids_)
            folded.push_back(id.toCaseFolded());
        std::vector<std::uint32_t> order(ids_.size());
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), [&folded](auto a, auto b) { return folded[a] < folded[b]; });
        group_.assign(ids_.size(), 0);
        for (std::size_t i = 1; i < order.size(); ++i)
            group_[order[i]] = group_[order[i - 1]] + (folded[order[i]] != folded[order[i - 1]] ? 1 : 0);
        std::stable_sort(entries_.begin(), entries_.end(), [this](const Entry& a, const Entry& b) {
            if (group_[a.id] != group_[b.id])
                return group_[a.id] < group_[b.id];
            if (a.date != b.date)
                return a.date < b.date;
            // A punch without a time is skipped; it sorts as midnight.
            return std::max<int>(a.minute, 0) < std::max<int>(b.minute, 0);
        });
    }

    const std::vector<Entry>& entries() const { return entries_; }
    std::uint32_t group(const Entry& e) const { return group_[e.id]; }
    const QString& id(const Entry& e) const { return ids_[e.id]; }

private:
    QHash<QString, std::uint32_t> numbers_;
    std::vector<QString> ids_;
    std::vector<std::uint32_t> group_;
    std::vector<Entry> entries_;
};

void count(ImportCounts& counts, const std::vector<pairing::PunchResult>& results) {
    for (const pairing::PunchResult& r : results)
        counts.add(r.outcome);
}

// Pairs the sorted punches, an employee's batch at a time. A punch an
// archived week holds is a duplicate.
void importSorted(db::Database& db, const CompanySettings& settings, const PunchList& list, ImportCounts& counts,
                  const ImportProgress& progress, std::size_t batchPunches, ArchivedPunches& archived) {
    const auto& entries = list.entries();
    const int total = int(entries.size());
    counts.punches = total;
    pairing::PunchRecorder recorder(db, settings, pairing::PairingOptions::forImport());
    std::optional<db::Database::Transaction> tx;
    QElapsedTimer timer;
    std::vector<pairing::Punch> batch;
    std::vector<pairing::PunchResult> results;
    std::size_t next = 0;
    if (progress && total > 0)
        progress(0, total);
    try {
        while (next < entries.size()) {
            // The next batch: punches of one employee, at most batchPunches.
            const std::size_t begin = next;
            const std::uint32_t group = list.group(entries[begin]);
            batch.clear();
            for (; next < entries.size() && next - begin < batchPunches && list.group(entries[next]) == group; ++next) {
                const PunchList::Entry& e = entries[next];
                if (e.minute < 0) {
                    ++counts.skipped;
                    continue;
                }
                pairing::Punch p{list.id(e), CalDate::fromDays(e.date), TimeOfDay::fromMinutes(e.minute)};
                if (archived.holds(p.id, p.date, p.time))
                    ++counts.duplicates;
                else
                    batch.push_back(std::move(p));
            }
            if (!tx) {
                tx.emplace(db);
                timer.start();
            }
            results.clear();
            try {
                recorder.recordBatch(batch, results);
            } catch (...) {
                count(counts, results);
                throw;
            }
            count(counts, results);
            if (timer.elapsed() >= kTransactionMs) {
                tx->commit();
                tx.reset();
                giveWay();
                if (progress)
                    progress(int(next), total);
            }
        }
        if (tx)
            tx->commit();
    } catch (...) {
        // What was recorded stays recorded. A failed batch was undone and
        // recorded again one punch at a time up to the failing punch, which
        // changed nothing but, at most, the recalculation flags of its week
        // (see PunchRecorder::record), which the hours engine only reads.
        if (tx && db.inTransaction()) {
            try {
                tx->commit();
            } catch (const std::exception&) {
            }
        }
        throw;
    }
    if (progress)
        progress(total, total);
}

} // namespace

void ImportCounts::add(pairing::PunchOutcome outcome) {
    switch (outcome) {
    case pairing::PunchOutcome::NewShift:
        ++newShifts;
        break;
    case pairing::PunchOutcome::Closed:
        ++closed;
        break;
    case pairing::PunchOutcome::Turned:
        ++turned;
        break;
    case pairing::PunchOutcome::Duplicate:
    case pairing::PunchOutcome::SameMinute:
        ++duplicates;
        break;
    case pairing::PunchOutcome::UnknownEmployee:
        ++unknown;
        break;
    }
}

std::vector<ClockPunch> readClockFile(const QString& path) {
    std::vector<ClockPunch> out;
    readPunches(path, [&out](QStringView id, CalDate d, std::optional<TimeOfDay> t) {
        out.push_back({id.toString(), d, t});
    });
    return out;
}

void importClockFile(db::Database& db, const CompanySettings& settings, const QString& path, ImportCounts& counts,
                     const ImportProgress& progress, int batchPunches, const QString& archiveFolder) {
    PunchList list;
    readPunches(path, [&list](QStringView id, CalDate d, std::optional<TimeOfDay> t) { list.add(id, d, t); });
    list.sort();
    // The archives as a move cut off earlier left them would be read wrong.
    archive::settleArchiveMovesQuietly(&db, archiveFolder);
    ArchivedPunches archived(archiveFolder, settings);
    importSorted(db, settings, list, counts, progress, std::size_t(std::max(1, batchPunches)), archived);
}

bool ImportClockData(db::Database& db, const CompanySettings& settings, const QString& dataPath,
                     const ImportProgress& progress, const HoursProgress& hoursProgress,
                     const QString& archiveFolder) {
    const QString path = dataPath + QStringLiteral("Clock.txt");
    int failure = -1; // the error number once something failed
    ImportCounts counts;
    {
        // The normal cursor is back before either message shows.
        ui::WaitCursor wait;
        try {
            importClockFile(db, settings, path, counts, progress, kImportBatchPunches, archiveFolder);
            if (counts.taken() > 0) {
                QFile::remove(path);
                RecalcHoursWorked(db, settings, hoursProgress); // its result is not needed here
            }
        } catch (const std::exception& e) {
            failure = errorNumberOf(e);
        }
    }
    if (failure >= 0) {
        ShowError(QString(), QStringLiteral("Clock data was NOT imported successfully!"), failure);
        return false;
    }
    if (counts.taken() == 0) {
        // Nothing could be imported: the file stays for a look at it.
        const QString why = counts.unknown > 0 ? QStringLiteral("No ID in the file belongs to an employee.")
                                               : QStringLiteral("The file holds no punches.");
        ui::MsgBox(why + QStringLiteral("\r\nClock data was NOT imported successfully!"), ui::Buttons::OK,
                   ui::Icon::Exclamation);
        return false;
    }
    ui::MsgBox(QStringLiteral("Clock data was imported successfully!"), ui::Buttons::OK, ui::Icon::Information);
    return true;
}

bool ImportClockData() {
    try {
        return ImportClockData(companyDb(), Company, DataPath, {}, {}, archive::archiveFolder(AppPath));
    } catch (const std::exception& e) {
        ShowError(QString(), QStringLiteral("Clock data was NOT imported successfully!"), errorNumberOf(e));
        return false;
    }
}

} // namespace plax
