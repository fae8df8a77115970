#include "GridErrors.h"

#include "core/common/ErrorBox.h"
#include "platform/db/DbError.h"

#include <QStringList>

namespace plax::editor {

bool matchesPattern(const QString& pattern, const QString& text) {
    const QStringList parts = pattern.split(QLatin1Char('*'));
    if (parts.size() == 1)
        return text == pattern;
    if (!text.startsWith(parts.first()))
        return false;
    int at = int(parts.first().size());
    for (int i = 1; i < parts.size() - 1; ++i) {
        const int found = int(text.indexOf(parts[i], at));
        if (found < 0)
            return false;
        at = found + int(parts[i].size());
    }
    const QString& tail = parts.last();
    return text.size() - at >= tail.size() && text.endsWith(tail);
}

GridMessage gridMessageFor(const QString& errorText) {
    struct Row {
        const char* patterns[2];
        const char* tag;
        const char* message;
    };
    static const Row table[] = {
        {{"The field is too small*", nullptr},
         "T254-",
         "You have entered data that is too long for the field."},
        {{"Data type*", nullptr},
         "T255-",
         "You have entered data that does not match the type of one or more fields."},
        {{"Field*can't be a zero-length string.", "Index or primary*"},
         "T256-",
         "The Clock In and Date In columns cannot be left blank!"},
        {{"The changes you requested to the table*", nullptr},
         "T257-",
         "Cannot add or change record. An existing record has the same Date In and Clock In data!"},
    };
    for (const Row& r : table)
        for (const char* p : r.patterns)
            if (p && matchesPattern(QString::fromUtf8(p), errorText))
                return {QString::fromUtf8(r.tag), QString::fromUtf8(r.message)};
    return {QStringLiteral("T258-"), errorText};
}

void showGridError(const std::exception& e) {
    const auto* d = dynamic_cast<const db::DbError*>(&e);
    const QString text = d ? d->description() : QString::fromUtf8(e.what());
    const GridMessage m = gridMessageFor(text);
    ShowError(m.tag, m.message, errorNumberOf(e));
}

} // namespace plax::editor
