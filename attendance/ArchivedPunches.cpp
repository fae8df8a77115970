#include "ArchivedPunches.h"

#include "platform/db/Database.h"

namespace plax {
namespace {

// A punch as a set key: the ID compared as the company file compares it
// (ASCII letters without regard to case), the day and the minute.
QString punchKey(QStringView id, CalDate d, TimeOfDay t) {
    return db::sql::nocaseKey(id) + QLatin1Char('\n') + QString::number(d.days()) + QLatin1Char('\n') +
           QString::number(t.minutes());
}

} // namespace

ArchivedPunches::ArchivedPunches(const QString& folder, const CompanySettings& s) {
    if (folder.isEmpty())
        return; // an empty name would read the working folder
    for (archive::ListedArchive& a : archive::listedArchives(folder, s))
        archives_.push_back({std::move(a), false, {}});
}

bool ArchivedPunches::holds(const QString& id, CalDate d, TimeOfDay t) {
    QString key;
    for (Archive& a : archives_) {
        if (d < a.file.first || d > a.file.last.addDays(1))
            continue;
        if (!a.read)
            read(a);
        if (key.isEmpty())
            key = punchKey(id, d, t);
        if (a.punches.contains(key))
            return true;
    }
    return false;
}

void ArchivedPunches::read(Archive& a) {
    std::unique_ptr<db::Database> arc = db::Database::open(a.file.path, false, true);
    db::Recordset rs = arc->openRecordset(
        QStringLiteral("SELECT EmpID, TDate, ClockIn, DateOut, ClockOut FROM [Time Attendance]"));
    for (; !rs.eof(); rs.moveNext()) {
        const QString id = rs.field(0).toString();
        const auto in = rs.field(2).toTime();
        if (const auto d = rs.field(1).toDate(); d && in)
            a.punches.insert(punchKey(id, *d, *in));
        const auto out = rs.field(4).toTime();
        if (const auto d = rs.field(3).toDate(); d && out)
            a.punches.insert(punchKey(id, *d, *out));
    }
    a.read = true;
}

} // namespace plax
