#include "ScheduleStore.h"
#include "core/common/Settings.h"

#include "SetupParts.h"

#include <cmath>
#include <stdexcept>

namespace plax::setup {

int scheduleNumberValue(const QString& text) {
    const double v = std::nearbyint(leadingNumber(text)); // rounds a half to even
    if (v < -32768 || v > 32767)
        throw std::overflow_error("Overflow");
    return int(v);
}

bool scheduleNumberInRange(int n) { return n >= 1 && n <= 300; }

QString paddedScheduleNumber(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || v < 0 || v > 32767)
        return text;
    return QStringLiteral("%1").arg(int(std::nearbyint(v)), 3, 10, QLatin1Char('0'));
}

std::vector<int> workWeekDayOrder(int workDay) {
    if (workDay < 1 || workDay > 7)
        workDay = 1;
    std::vector<int> out;
    for (int d = workDay; d <= 7; ++d)
        out.push_back(d);
    for (int d = 1; d < workDay; ++d)
        out.push_back(d);
    return out;
}

QStringList scheduleNumbers(db::Database& db) {
    db::Recordset rs = db.openRecordset(QStringLiteral("SELECT ScheduleNo FROM Schedule"));
    QStringList out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out << rs.field(0).toString();
    return out;
}

std::optional<ScheduleData> loadSchedule(db::Database& db, const QString& number) {
    db::Recordset rs = db.openRecordset(
        QStringLiteral("SELECT Description, TheDay, StartTime, EndTime FROM Schedule LEFT JOIN [Schedule Days] ON "
                       "Schedule.ScheduleNo = [Schedule Days].ScheduleNo WHERE Schedule.ScheduleNo = ? "
                       "ORDER BY TheDay"),
        {number});
    if (rs.eof())
        return std::nullopt;
    ScheduleData s;
    s.description = rs.field(QStringLiteral("Description")).toString();
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const db::Value day = rs.field(QStringLiteral("TheDay"));
        const auto start = rs.field(QStringLiteral("StartTime")).toTime();
        if (day.isNull() || !start || day.toInt() < 1 || day.toInt() > 7)
            continue;
        ScheduleDay& d = s.days[size_t(day.toInt())];
        d.worked = true;
        d.start = *start;
        d.end = rs.field(QStringLiteral("EndTime")).toTime().value_or(TimeOfDay());
    }
    return s;
}

bool scheduleInUse(db::Database& db, const QString& number) {
    return !db.openRecordset(QStringLiteral("SELECT ScheduleNo FROM Employee WHERE ScheduleNo = ?"), {number}).eof();
}

namespace {
const QString kInsertDay = QStringLiteral(
    "INSERT INTO [Schedule Days] (ScheduleNo, TheDay, StartTime, EndTime) VALUES (?, ?, ?, ?)");
}

void addSchedule(db::Database& db, const QString& number, const ScheduleData& s) {
    db::Database::Transaction t(db);
    db.execute(QStringLiteral("INSERT INTO Schedule (ScheduleNo, Description) VALUES (?, ?)"),
               {number, s.description});
    for (int day = 1; day <= 7; ++day) {
        const ScheduleDay& d = s.days[size_t(day)];
        if (d.worked)
            db.execute(kInsertDay, {number, day, d.start, d.end});
    }
    t.commit();
}

void updateSchedule(db::Database& db, const QString& number, const ScheduleData& now, const ScheduleData& was,
                    const std::function<void(const std::exception&)>& failed) {
    auto run = [&](const QString& sql, const db::Params& p) {
        try {
            db.execute(sql, p);
        } catch (const std::exception& e) {
            failed(e);
        }
    };
    if (now.description != was.description)
        run(QStringLiteral("UPDATE Schedule SET Description = ? WHERE ScheduleNo = ?"), {now.description, number});
    for (int day = 1; day <= 7; ++day) {
        const ScheduleDay& n = now.days[size_t(day)];
        const ScheduleDay& w = was.days[size_t(day)];
        if (n.worked && !w.worked)
            run(kInsertDay, {number, day, n.start, n.end});
        else if (!n.worked && w.worked)
            run(QStringLiteral("DELETE FROM [Schedule Days] WHERE TheDay = ? AND ScheduleNo = ?"), {day, number});
        else
            run(QStringLiteral("UPDATE [Schedule Days] SET StartTime = ?, EndTime = ? WHERE TheDay = ? AND "
                               "ScheduleNo = ?"),
                {n.start, n.end, day, number});
    }
}

void deleteSchedule(db::Database& db, const QString& number) {
    db::Database::Transaction t(db);
    db.executeStrict(QStringLiteral("DELETE FROM [Schedule Days] WHERE ScheduleNo = ?"), {number});
    db.executeStrict(QStringLiteral("DELETE FROM Schedule WHERE ScheduleNo = ?"), {number});
    t.commit();
}

} // namespace plax::setup
