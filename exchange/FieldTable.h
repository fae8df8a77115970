#pragma once
// The 21 employee fields the personnel export and import offer, by code:
// a field's code is its position in the caption list. Code 30 stands for
// "no field".

#include <QList>
#include <QString>
#include <QStringList>

namespace plax::exchange {

constexpr int kFieldCount = 21;
constexpr int kNoField = 30;
constexpr int kMaxValuesPerLine = 21;

enum FieldCode {
    fID = 0, fSSN, fFirstName, fMiddleName, fLastName, fCity, fState, fZip, fPhone, fAddress, fNotes,
    fDepartmentNo, fScheduleNo, fStatus, fMsgNo, fSupervisorLevel, fRate, fRulename, fOtherID, fHireDate,
    fPosition
};

// How a column's stored value is written to and read from a text file.
enum class ColumnKind { Text, Number, Integer, Date, Time, Boolean };

// The captions in code order. The import shows code 18 as "Card ID".
QStringList exportCaptions();
QStringList importCaptions();
// The Employee column of a code, as written in SQL ("ID", "[Other ID]").
QString fieldColumn(int code);
ColumnKind fieldKind(int code);

// Codes of `items` (list texts, top to bottom) looked up in `captions`;
// the list ends before the first text that is no caption.
QList<int> codesOf(const QStringList& items, const QStringList& captions);

} // namespace plax::exchange
