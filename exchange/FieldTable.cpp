#include "FieldTable.h"

namespace plax::exchange {
namespace {

struct Field {
    const char* caption;
    const char* column;
    ColumnKind kind;
};

constexpr Field kFields[kFieldCount] = {
    {"Employee ID", "ID", ColumnKind::Text},
    {"Social Sec. #", "SSN", ColumnKind::Text},
    {"First Name", "FirstName", ColumnKind::Text},
    {"Middle Name", "MiddleName", ColumnKind::Text},
    {"Last Name", "LastName", ColumnKind::Text},
    {"City", "City", ColumnKind::Text},
    {"State", "State", ColumnKind::Text},
    {"Zip Code", "Zip", ColumnKind::Text},
    {"Phone Number", "Phone", ColumnKind::Text},
    {"Address", "Address", ColumnKind::Text},
    {"Notes", "Notes", ColumnKind::Text},
    {"Department No.", "DepartmentNo", ColumnKind::Text},
    {"Schedule No.", "ScheduleNo", ColumnKind::Text},
    {"Status", "Status", ColumnKind::Boolean},
    {"Message No.", "MsgNo", ColumnKind::Text},
    {"Supervisor Level", "SupervisorLevel", ColumnKind::Integer},
    {"Rate", "Rate", ColumnKind::Number},
    {"Rule Name", "Rulename", ColumnKind::Text},
    {"Other ID", "[Other ID]", ColumnKind::Text},
    {"Hire Date", "[Hire Date]", ColumnKind::Date},
    {"Position", "Position", ColumnKind::Text},
};

} // namespace

QStringList exportCaptions() {
    QStringList out;
    for (const Field& f : kFields)
        out << QString::fromLatin1(f.caption);
    return out;
}

QStringList importCaptions() {
    QStringList out = exportCaptions();
    out[fOtherID] = QStringLiteral("Card ID");
    return out;
}

QString fieldColumn(int code) {
    return code >= 0 && code < kFieldCount ? QString::fromLatin1(kFields[code].column) : QString();
}

ColumnKind fieldKind(int code) {
    return code >= 0 && code < kFieldCount ? kFields[code].kind : ColumnKind::Text;
}

QList<int> codesOf(const QStringList& items, const QStringList& captions) {
    QList<int> codes;
    for (const QString& item : items) {
        const int k = int(captions.indexOf(item));
        if (k < 0 || codes.size() >= kFieldCount)
            break;
        codes << k;
    }
    return codes;
}

} // namespace plax::exchange
