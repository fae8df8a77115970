#include "ScheduleStore.h"

#include <stdexcept>

namespace plax::setup {

int scheduleNumberValue(const QString& text) {
    const QString digits = text.trimmed();
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0; // "7a", "2.5": no schedule number
    int value = 0;
    for (const QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > 32767)
            throw std::overflow_error("Overflow");
    }
    return value;
}

bool scheduleNumberInRange(int n) { return n >= 1 && n <= 300; }

QString paddedScheduleNumber(const QString& text) {
    const int n = scheduleNumberValue(text);
    return n > 0 ? QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')) : text;
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
    db.executeStrict(QStringLiteral("INSERT INTO Schedule (ScheduleNo, Description) VALUES (?, ?)"),
                     {number, s.description});
    for (int day = 1; day <= 7; ++day) {
        const ScheduleDay& d = s.days[size_t(day)];
        if (d.worked)
            db.executeStrict(kInsertDay, {number, day, d.start, d.end});
    }
    t.commit();
}

void updateSchedule(db::Database& db, const QString& number, const ScheduleData& now,
                    const ScheduleData& was) {
    db::Database::Transaction t(db);
    if (now.description != was.description)
        db.executeStrict(QStringLiteral("UPDATE Schedule SET Description = ? WHERE ScheduleNo = ?"),
                         {now.description, number});
    for (int day = 1; day <= 7; ++day) {
        const ScheduleDay& n = now.days[size_t(day)];
        const ScheduleDay& w = was.days[size_t(day)];
        if (n.worked && !w.worked)
            db.executeStrict(kInsertDay, {number, day, n.start, n.end});
        else if (!n.worked && w.worked)
            db.executeStrict(
                QStringLiteral("DELETE FROM [Schedule Days] WHERE TheDay = ? AND ScheduleNo = ?"),
                {day, number});
        else
            db.executeStrict(
                QStringLiteral("UPDATE [Schedule Days] SET StartTime = ?, EndTime = ? WHERE TheDay = ? "
                               "AND ScheduleNo = ?"),
                {n.start, n.end, day, number});
    }
    t.commit();
}

void deleteSchedule(db::Database& db, const QString& number) {
    db::Database::Transaction t(db);
    db.executeStrict(QStringLiteral("DELETE FROM [Schedule Days] WHERE ScheduleNo = ?"), {number});
    db.executeStrict(QStringLiteral("DELETE FROM Schedule WHERE ScheduleNo = ?"), {number});
    t.commit();
}

} // namespace plax::setup
