#include "WeekList.h"

#include "core/common/ErrorBox.h"
#include "core/common/Globals.h"
#include "core/types/WorkWeek.h"
#include "platform/ui/Dialogs.h"

#include <QComboBox>
#include <QListWidget>
#include <QSet>

#include <optional>

namespace plax {

QStringList weekListEntries(db::Database& db, const CompanySettings& s) {
    db::Recordset rs =
        db.openRecordset(QStringLiteral("SELECT DISTINCT TDate, Week FROM [Time Attendance] ORDER BY TDate, Week"));
    QStringList out;
    QSet<QString> seen;
    for (; !rs.eof(); rs.moveNext()) {
        const auto d = rs.field(0).toDate();
        if (!d)
            throw db::DbError(db::err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
        CalDate start, end;
        if (!rs.field(1).isNull() && rs.field(1).toInt() == WeekNumber(*d, s)) {
            start = WeekStart(*d, s);
            end = WeekEnd(*d, s.DayStartTime, s);
        } else {
            // A row of the week before (a clock-in before the day start).
            start = d->addDays(-7);
            end = *d;
        }
        const QString entry = start.toShortDate() + QStringLiteral(" --> ") + end.toShortDate();
        if (!seen.contains(entry)) {
            seen.insert(entry);
            out << entry;
        }
    }
    return out;
}

namespace {

template <typename Control, typename Count, typename Text, typename Add>
void fillWeeks(Control* ctl, Count count, Text text, Add add) {
    // Years of clock data take a second or two to list.
    std::optional<ui::WaitCursor> wait(std::in_place);
    try {
        QSet<QString> present;
        for (int i = 0; i < count(ctl); ++i)
            present.insert(text(ctl, i));
        for (const QString& entry : weekListEntries(companyDb(), Company))
            if (!present.contains(entry)) {
                present.insert(entry);
                add(ctl, entry);
            }
    } catch (const std::exception& e) {
        wait.reset();
        ShowError(QStringLiteral("X178-"), e);
    }
}

} // namespace

void LoadWeekList(QComboBox* ctl) {
    fillWeeks(
        ctl, [](QComboBox* c) { return c->count(); }, [](QComboBox* c, int i) { return c->itemText(i); },
        [](QComboBox* c, const QString& e) { c->addItem(e); });
}

void LoadWeekList(QListWidget* ctl) {
    fillWeeks(
        ctl, [](QListWidget* c) { return c->count(); }, [](QListWidget* c, int i) { return c->item(i)->text(); },
        [](QListWidget* c, const QString& e) { c->addItem(e); });
}

} // namespace plax
