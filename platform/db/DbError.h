#pragma once
// Errors of the database layer carry the engine error numbers the screens
// react to; the layer itself never shows a window.

#include <QString>
#include <stdexcept>

namespace plax::db {

namespace err {
constexpr int TableExists = 3010;       // "Table 'X' already exists."
constexpr int DuplicateKey = 3022;      // "The changes you requested to the table were not successful ..."
constexpr int FileNotFound = 3024;      // "Could not find file '...'."
constexpr int CannotStart = 3028;       // the engine could not start on the file
constexpr int InvalidPassword = 3031;   // "Not a valid password."
constexpr int InUse = 3045;             // "Could not use '...'; file already in use."
constexpr int Damaged = 3049;           // "Cannot open database '...'. ... may be corrupt."
constexpr int NoPermission = 3051;      // the file cannot be opened (permission)
constexpr int NullKey = 3058;           // "Index or primary key cannot contain a Null value."
constexpr int NoSuchTable = 3078;       // "... cannot find the input table or query 'X'. ..."
constexpr int FieldTooSmall = 3163;     // "The field is too small to accept ..."
constexpr int Locked = 3218;            // "Could not update; currently locked."
constexpr int ZeroLength = 3315;        // "Field 'X' can't be a zero-length string."
constexpr int TypeMismatch = 3464;      // "Data type mismatch in criteria expression."
constexpr int NoCurrentRecord = 3021;   // "No current record."
constexpr int UpdateWithoutEdit = 3020; // "Update or CancelUpdate without AddNew or Edit."
constexpr int ItemNotFound = 3265;      // "Item not found in this collection."
constexpr int Syntax = 3075;            // malformed statement
constexpr int General = 3000;           // anything else the engine reports
} // namespace err

class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }
    // The column whose rule a value broke, when the engine names one (a
    // size_, type_ or required_ rule of the schema), else empty.
    const QString& column() const { return column_; }
    DbError& withColumn(const QString& column) {
        column_ = column;
        return *this;
    }

private:
    int number_;
    QString description_;
    QString column_;
};

// The engine's error for a value that does not read as what it must be (a
// date that is not a date, a stored time that is not a time).
inline DbError typeMismatch() {
    return DbError(err::TypeMismatch, QStringLiteral("Data type mismatch in criteria expression."));
}

} // namespace plax::db
