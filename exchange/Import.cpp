#include "Import.h"

#include "FieldTable.h"
#include "QuotedText.h"
#include "platform/db/DbError.h"
#include "platform/ui/Dialogs.h"

#include <QFile>
#include <QLocale>
#include <array>
#include <optional>
#include <stdexcept>

namespace plax::exchange {
namespace {

// The order in which the fields of a new employee are set.
constexpr std::array<int, kFieldCount> kInsertOrder = {
    fID, fSSN, fFirstName, fMiddleName, fLastName, fAddress, fCity, fState, fZip, fPhone, fRate,
    fPosition, fHireDate, fNotes, fDepartmentNo, fScheduleNo, fStatus, fSupervisorLevel, fMsgNo, fRulename,
    fOtherID};

void message(const QString& text, ui::Icon icon) { ui::MsgBox(text, ui::Buttons::OK, icon); }

// A value its field cannot take: one that does not convert to the field's
// kind, or that breaks the column's rule (too long, out of range).
struct InvalidValue {
    qint64 line;
    int code;
    QString text;
};

// The field of a column named by the engine ("HireDate" for [Hire Date]), or -1.
int codeOfColumn(const QString& column) {
    for (int code = 0; code < kFieldCount; ++code) {
        QString c = fieldColumn(code);
        c.remove(QLatin1Char('[')).remove(QLatin1Char(']')).remove(QLatin1Char(' '));
        if (!column.isEmpty() && c.compare(column, Qt::CaseInsensitive) == 0)
            return code;
    }
    return -1;
}

QString invalidValueText(const InvalidValue& v) {
    constexpr int kShown = 40; // characters of the value the message quotes
    const QString shown = v.text.size() > kShown ? v.text.left(kShown) + QStringLiteral("...") : v.text;
    return QStringLiteral("Can't Import File! The value \"%1\" in line %2 is not valid for %3.")
        .arg(shown, QString::number(v.line), importCaptions().value(v.code));
}

// Whether a field read from the file is written into the new row. A value
// missing from the file leaves the column at its default; so does an empty
// value for the fields that must not hold empty text and for the numbers,
// dates and Booleans (which the export writes as "" when they are Null).
bool isSet(int code, const RawValue& v) {
    if (v.isEmpty())
        return false;
    if (v.text.isEmpty()) {
        if (code == fPosition || code == fDepartmentNo || code == fOtherID)
            return false;
        if (fieldKind(code) != ColumnKind::Text)
            return false;
    }
    return true;
}

} // namespace

ImportResult ImportPersonnel(db::Database& db, const QString& path, const QList<int>& codes, ImportCounts* counts) {
    ImportCounts tally;
    if (counts)
        *counts = tally;
    if (path.isEmpty()) {
        message(QStringLiteral("Can't Import! Please select a file path!"), ui::Icon::Exclamation);
        return ImportResult::NoFile;
    }
    std::optional<ui::WaitCursor> wait(std::in_place);
    // Records imported before a failure stay: the transaction is committed
    // on every road out.
    std::optional<db::Database::Transaction> tx;
    ImportResult result = ImportResult::Done;
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("File not found");

        tx.emplace(db);
        db::Query exists = db.prepare(QStringLiteral("SELECT count(*) FROM Employee WHERE ID = ?"));
        QuotedReader reader(file);
        while (!reader.atEnd()) {
            Record rec;
            try {
                rec = reader.next();
            } catch (const ValueTooLong& e) {
                wait.reset();
                message(QStringLiteral("Can't Import File! A value in line %1 is longer than %2 characters.")
                            .arg(e.line)
                            .arg(QLocale().toString(qint64(QuotedReader::kMaxValueLength))),
                        ui::Icon::Exclamation);
                result = ImportResult::ValueTooLong;
                break;
            }
            if (rec.empty())
                continue; // a blank line
            if (rec.size() < size_t(codes.size())) {
                wait.reset();
                message(QStringLiteral("Can't Import File! Number of fields to import greater than Number of "
                                       "Fields In the text file"),
                        ui::Icon::Exclamation);
                result = ImportResult::TooFewFields;
                break;
            }
            std::array<RawValue, kFieldCount> fields;
            for (int k = 0; k < codes.size(); ++k)
                if (codes[k] >= 0 && codes[k] < kFieldCount)
                    fields[size_t(codes[k])] = rec[size_t(k)];

            const QString id = fields[fID].text;
            if (id.isEmpty()) {
                wait.reset();
                message(QStringLiteral("Employee ID is required to add a new reccord!"), ui::Icon::Information);
                result = ImportResult::NoEmployeeId;
                break;
            }
            if (exists.scalar({id}).toInt() > 0) {
                ++tally.skipped;
                continue;
            }
            QStringList columns;
            QStringList marks;
            db::Params values;
            try {
                for (int code : kInsertOrder) {
                    if (code != fID && !isSet(code, fields[size_t(code)]))
                        continue;
                    columns << fieldColumn(code);
                    marks << QStringLiteral("?");
                    try {
                        values.push_back(convertText(fields[size_t(code)].text, fieldKind(code)));
                    } catch (const db::DbError&) {
                        throw InvalidValue{reader.recordLine(), code, fields[size_t(code)].text};
                    }
                }
                try {
                    db.executeStrict(QStringLiteral("INSERT INTO Employee (%1) VALUES (%2)")
                                         .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                                     values);
                } catch (const db::DbError& e) {
                    const int code = codeOfColumn(e.column());
                    if (code < 0)
                        throw;
                    throw InvalidValue{reader.recordLine(), code, fields[size_t(code)].text};
                }
            } catch (const InvalidValue& v) {
                wait.reset();
                message(invalidValueText(v), ui::Icon::Exclamation);
                result = ImportResult::InvalidValue;
                break;
            }
            ++tally.added;
        }
        tx->commit();
    } catch (const std::exception& e) {
        try {
            if (tx)
                tx->commit();
        } catch (const std::exception&) {
            // Nothing more can be kept; the error shown is the first one.
        }
        wait.reset();
        if (counts)
            *counts = tally;
        message(QString::fromStdString(e.what()), ui::Icon::Information);
        return ImportResult::Failed;
    }
    wait.reset();
    if (counts)
        *counts = tally;
    if (result == ImportResult::Done)
        message(QStringLiteral("File Imported successfully!"), ui::Icon::Information);
    return result;
}

} // namespace plax::exchange
