#include "ClockImport.h"
#include "LineReader.h"

#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "platform/ui/Dialogs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>

namespace plax {
namespace {

// A transaction is committed once it has run this long or holds this many
// punches; the progress is told between transactions.
constexpr qint64 kTransactionMs = 100;
constexpr int kTransactionPunches = 5000;

// Between two transactions: time for a waiting writer (a clock terminal,
// which tries again every millisecond) to take the lock first.
void giveWay() { QThread::msleep(2); }

} // namespace

std::vector<ClockPunch> readClockFile(const QString& path) {
    QFile f(path);
    if (!f.exists())
        throw db::DbError(db::err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        throw db::DbError(db::err::NoPermission, QStringLiteral("The file '%1' cannot be read.").arg(path));
    const int year = Clock::today().year();
    std::vector<ClockPunch> out;
    QString lastText;
    std::optional<CalDate> lastDate;
    LineReader lines(f);
    QByteArray raw;
    while (lines.next(raw)) {
        if (raw.trimmed().isEmpty())
            continue;
        const QString line = QString::fromLatin1(raw);
        // The ID may hold a comma; the date and the time are the last fields.
        const int timeComma = int(line.lastIndexOf(QLatin1Char(',')));
        const int dateComma = timeComma > 0 ? int(line.lastIndexOf(QLatin1Char(','), timeComma - 1)) : -1;
        // Consecutive lines mostly share their date: parse each text once.
        const QString dateText = dateComma >= 0 ? line.mid(dateComma + 1, timeComma - dateComma - 1) : QString();
        if (dateText != lastText) {
            lastText = dateText;
            lastDate = dateComma >= 0 ? parseDate(dateText, year) : std::nullopt;
        }
        const std::optional<CalDate> date = lastDate;
        if (!date)
            throw db::DbError(db::err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
        out.push_back({line.left(dateComma), *date, TimeOfDay::parse(line.mid(timeComma + 1).trimmed())});
    }
    if (lines.failed())
        throw db::DbError(db::err::NoPermission, QStringLiteral("The file '%1' cannot be read.").arg(path));
    return out;
}

void importPunches(db::Database& db, const CompanySettings& settings, std::vector<ClockPunch> punches,
                   ImportCounts& counts, const ImportProgress& progress) {
    // IDs compare without regard to letter case, as the database does.
    std::vector<std::pair<QString, size_t>> order;
    order.reserve(punches.size());
    for (size_t i = 0; i < punches.size(); ++i)
        order.emplace_back(punches[i].id.toCaseFolded(), i);
    std::stable_sort(order.begin(), order.end(), [&punches](const auto& x, const auto& y) {
        if (x.first != y.first)
            return x.first < y.first;
        const ClockPunch& a = punches[x.second];
        const ClockPunch& b = punches[y.second];
        if (a.date != b.date)
            return a.date < b.date;
        return a.time.value_or(TimeOfDay()) < b.time.value_or(TimeOfDay());
    });
    std::vector<ClockPunch> sorted;
    sorted.reserve(punches.size());
    for (const auto& o : order)
        sorted.push_back(std::move(punches[o.second]));
    punches = std::move(sorted);
    counts.punches = int(punches.size());

    pairing::PunchRecorder recorder(db, settings, pairing::PairingOptions::forImport());
    std::optional<db::Database::Transaction> tx;
    QElapsedTimer timer;
    int done = 0, inBatch = 0;
    try {
        for (const ClockPunch& p : punches) {
            if (!tx) {
                tx.emplace(db);
                timer.start();
                inBatch = 0;
            }
            if (!p.time) {
                ++counts.skipped;
            } else {
                switch (recorder.record(p.id, p.date, *p.time).outcome) {
                case pairing::PunchOutcome::NewShift:
                    ++counts.newShifts;
                    break;
                case pairing::PunchOutcome::Closed:
                    ++counts.closed;
                    break;
                case pairing::PunchOutcome::Turned:
                    ++counts.turned;
                    break;
                case pairing::PunchOutcome::Duplicate:
                case pairing::PunchOutcome::SameMinute:
                    ++counts.duplicates;
                    break;
                case pairing::PunchOutcome::UnknownEmployee:
                    ++counts.unknown;
                    break;
                }
            }
            ++done;
            if (++inBatch >= kTransactionPunches || timer.elapsed() >= kTransactionMs) {
                tx->commit();
                tx.reset();
                giveWay();
                if (progress)
                    progress(done, counts.punches);
            }
        }
        if (tx)
            tx->commit();
    } catch (...) {
        // What was recorded stays recorded. The failed punch changed nothing
        // but, at most, the recalculation flags of its week (see
        // PunchRecorder::record), which the hours engine only reads.
        if (tx && db.inTransaction()) {
            try {
                tx->commit();
            } catch (const std::exception&) {
            }
        }
        throw;
    }
    if (progress)
        progress(done, counts.punches);
}

bool ImportClockData(db::Database& db, const CompanySettings& settings, const QString& dataPath,
                     const ImportProgress& progress, const KeepAlive& keepAlive) {
    const QString path = dataPath + QStringLiteral("Clock.txt");
    int failure = -1; // the error number once something failed
    {
        // The normal cursor is back before either message shows.
        ui::WaitCursor wait;
        try {
            ImportCounts counts;
            importPunches(db, settings, readClockFile(path), counts, progress);
            QFile::remove(path);
            RecalcHoursWorked(db, settings, keepAlive); // its result is not needed here
        } catch (const std::exception& e) {
            failure = errorNumberOf(e);
        }
    }
    if (failure >= 0) {
        ShowError(QString(), QStringLiteral("Clock data was NOT imported successfully!"), failure);
        return false;
    }
    ui::MsgBox(QStringLiteral("Clock data was imported successfully!"), ui::Buttons::OK, ui::Icon::Information);
    return true;
}

bool ImportClockData() {
    try {
        return ImportClockData(companyDb(), Company, DataPath);
    } catch (const std::exception& e) {
        ShowError(QString(), QStringLiteral("Clock data was NOT imported successfully!"), errorNumberOf(e));
        return false;
    }
}

} // namespace plax
