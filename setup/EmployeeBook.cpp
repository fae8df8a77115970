#include "EmployeeBook.h"

#include "core/types/Amounts.h"

namespace plax::setup {

std::optional<bool> statusValue(const QString& text) {
    if (text == QLatin1String("Active"))
        return true;
    if (text == QLatin1String("Inactive"))
        return false;
    return std::nullopt;
}

db::Value rateValue(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const auto v = parseAmount(t);
    if (!v)
        throw db::DbError(db::err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
    return *v;
}

namespace {
db::Value departmentValue(const QString& text) {
    if (text.isEmpty())
        return {};
    const int blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? text : text.left(blank);
}

QString key(const QString& text) {
    const int blank = text.indexOf(QLatin1Char(' '));
    return blank < 0 ? text : text.left(blank);
}
} // namespace

ColumnValues newEmployeeColumns(const EmployeeFields& f) {
    ColumnValues c = {
        {QStringLiteral("ID"), f.id},
        {QStringLiteral("SSN"), f.ssn},
        {QStringLiteral("FirstName"), f.firstName},
        {QStringLiteral("MiddleName"), f.middleName},
        {QStringLiteral("LastName"), f.lastName},
        {QStringLiteral("Address"), f.address},
        {QStringLiteral("City"), f.city},
        {QStringLiteral("State"), f.state},
        {QStringLiteral("Zip"), f.zip},
        {QStringLiteral("Phone"), f.phone},
        {QStringLiteral("Rate"), rateValue(f.rate)},
    };
    if (!f.position.isEmpty())
        c.emplace_back(QStringLiteral("Position"), f.position);
    c.emplace_back(QStringLiteral("Hire Date"), f.hireDate);
    c.emplace_back(QStringLiteral("Notes"), f.notes);
    if (!f.department.isEmpty())
        c.emplace_back(QStringLiteral("DepartmentNo"), departmentValue(f.department));
    c.emplace_back(QStringLiteral("ScheduleNo"), key(f.schedule));
    if (const auto s = statusValue(f.status))
        c.emplace_back(QStringLiteral("Status"), *s);
    c.emplace_back(QStringLiteral("SupervisorLevel"), f.level);
    c.emplace_back(QStringLiteral("MsgNo"), key(f.message));
    return c;
}

ColumnValues changedEmployeeColumns(const EmployeeFields& now, const EmployeeFields& was, int savedLevel) {
    ColumnValues c;
    auto text = [&](const char* column, const QString& a, const QString& b) {
        if (a != b)
            c.emplace_back(QString::fromUtf8(column), a);
    };
    text("SSN", now.ssn, was.ssn);
    text("FirstName", now.firstName, was.firstName);
    text("MiddleName", now.middleName, was.middleName);
    text("LastName", now.lastName, was.lastName);
    text("Address", now.address, was.address);
    text("City", now.city, was.city);
    text("State", now.state, was.state);
    text("Zip", now.zip, was.zip);
    text("Phone", now.phone, was.phone);
    if (now.rate != was.rate)
        c.emplace_back(QStringLiteral("Rate"), rateValue(now.rate));
    text("Position", now.position, was.position);
    text("Notes", now.notes, was.notes);
    if (now.department != was.department)
        c.emplace_back(QStringLiteral("DepartmentNo"), departmentValue(now.department));
    if (now.schedule != was.schedule)
        c.emplace_back(QStringLiteral("ScheduleNo"), key(now.schedule));
    if (now.message != was.message)
        c.emplace_back(QStringLiteral("MsgNo"), key(now.message));
    if (now.status != was.status)
        if (const auto s = statusValue(now.status))
            c.emplace_back(QStringLiteral("Status"), *s);
    text("Rulename", now.ruleGroup, was.ruleGroup);
    c.emplace_back(QStringLiteral("Hire Date"), now.hireDate);
    if (now.level != savedLevel)
        c.emplace_back(QStringLiteral("SupervisorLevel"), now.level);
    return c;
}

void EmployeeBook::open(bool active, const QString& orderColumn) {
    // The order column is one of the screen's own names, never typed text.
    static const QStringList allowed = {QStringLiteral("ID"), QStringLiteral("LastName"),
                                        QStringLiteral("DepartmentNo")};
    const QString order = allowed.contains(orderColumn) ? orderColumn : QStringLiteral("ID");
    active_ = active;
    rs_ = db_.openDynaset(QStringLiteral("Employee"), QStringLiteral("Status = ?"), {active}, order);
    if (hasRows())
        rs_.moveFirst();
}

QString EmployeeBook::currentId() const {
    if (rs_.eof() || rs_.bof())
        return {};
    return rs_.field(QStringLiteral("ID")).toString();
}

bool EmployeeBook::find(const QString& id) { return rs_.findFirst(QStringLiteral("ID"), id); }

void EmployeeBook::add(const EmployeeFields& f) {
    const ColumnValues c = newEmployeeColumns(f);
    rs_.addNew();
    try {
        for (const auto& [column, value] : c)
            rs_.setField(column, value);
        rs_.update();
    } catch (...) {
        rs_.cancelUpdate();
        throw;
    }
    rs_.moveToRowId(rs_.lastModified());
}

void EmployeeBook::update(const QString& id, const ColumnValues& changes) {
    if (currentId().compare(id, Qt::CaseInsensitive) != 0 && !find(id))
        throw db::DbError(db::err::NoCurrentRecord, QStringLiteral("No current record."));
    rs_.edit();
    try {
        for (const auto& [column, value] : changes)
            rs_.setField(column, value);
        rs_.update();
    } catch (...) {
        rs_.cancelUpdate();
        throw;
    }
}

void EmployeeBook::requery() {
    rs_.requery();
    if (hasRows())
        rs_.moveFirst();
}

void EmployeeBook::resetMessage() {
    rs_.edit();
    rs_.setField(QStringLiteral("MsgNo"), QStringLiteral("000"));
    rs_.update();
}

bool EmployeeBook::hasAttendance(const QString& id) {
    return !db_.openRecordset(QStringLiteral("SELECT 1 FROM [Time Attendance] WHERE EmpID = ? LIMIT 1"), {id}).eof();
}

bool EmployeeBook::hasAbsences(const QString& id) {
    return !db_.openRecordset(QStringLiteral("SELECT 1 FROM Absence WHERE EmpID = ? LIMIT 1"), {id}).eof();
}

void EmployeeBook::remove(const QString& id, bool absences, bool attendance) {
    if (currentId().compare(id, Qt::CaseInsensitive) != 0 && !find(id))
        throw db::DbError(db::err::NoCurrentRecord, QStringLiteral("No current record."));
    const int pos = rs_.absolutePosition();
    {
        db::Database::Transaction t(db_);
        if (absences)
            db_.executeStrict(QStringLiteral("DELETE FROM Absence WHERE EmpID = ?"), {id});
        if (attendance) {
            db_.executeStrict(QStringLiteral("DELETE FROM [Hours Worked] WHERE EmpID = ?"), {id});
            db_.executeStrict(QStringLiteral("DELETE FROM [Time Attendance] WHERE EmpID = ?"), {id});
        }
        db_.executeStrict(QStringLiteral("DELETE FROM Employee WHERE ID = ?"), {id});
        t.commit();
    }
    // The row is gone from the file; drop it from the view as well.
    rs_.requery();
    if (hasRows())
        rs_.move(qMin(pos, rs_.recordCount() - 1));
}

void EmployeeBook::movePrevious() {
    if (!hasRows())
        return;
    rs_.movePrevious();
    if (rs_.bof())
        rs_.moveFirst();
}

void EmployeeBook::moveNext() {
    if (!hasRows())
        return;
    rs_.moveNext();
    if (rs_.eof())
        rs_.moveLast();
}

} // namespace plax::setup
