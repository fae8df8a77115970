#pragma once
// The personnel import: every record of a quoted comma-separated file
// becomes a new employee unless an employee with that ID exists already
// (IDs compare without regard to letter case); existing employees are never
// changed. Messages go through the program's dialog module; a value its
// field cannot take (no number, out of range, too long) ends the import with
// a message naming its line and its field.

#include "platform/db/Database.h"

#include <QList>
#include <QString>

namespace plax::exchange {

enum class ImportResult { Done, NoFile, TooFewFields, NoEmployeeId, ValueTooLong, InvalidValue, Failed };

struct ImportCounts {
    int added = 0;
    int skipped = 0; // records whose employee existed already
};

// `codes`: the field of each column of the file, in column order.
ImportResult ImportPersonnel(db::Database& db, const QString& path, const QList<int>& codes,
                             ImportCounts* counts = nullptr);

} // namespace plax::exchange
