#include "Export.h"

#include "FieldTable.h"
#include "QuotedText.h"
#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "platform/ui/Dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace plax::exchange {
namespace {

const QString kEmpty = QStringLiteral("Database empty!");
const QString kDone = QStringLiteral("File exported Successfully!");
const QString kDoneInUtf8 = QStringLiteral(
    "\n\nSome values hold characters that the Windows character set (Windows-1252) has no place for, "
    "so the file is written as UTF-8 text. Programs that expect Windows text may show those characters "
    "wrongly.");
constexpr int kMaxAttendanceColumns = 9;

void inform(const QString& text) {
    ui::MsgBox(text, ui::Buttons::OK, ui::Icon::Information);
}

ColumnKind attendanceKind(const QString& column) {
    const QString c = column.toLower();
    if (c == QLatin1String("tdate") || c == QLatin1String("dateout"))
        return ColumnKind::Date;
    if (c == QLatin1String("clockin") || c == QLatin1String("clockout"))
        return ColumnKind::Time;
    if (c == QLatin1String("week") || c == QLatin1String("totalhrs") || c == QLatin1String("totalmin"))
        return ColumnKind::Integer;
    if (c == QLatin1String("recalculate"))
        return ColumnKind::Boolean;
    return ColumnKind::Text;
}

// Writes one line per row as the rows are read, in Windows-1252 while every
// value fits it; the first value that does not starts the file again in
// UTF-8 (returned in `encoding`). No row is kept, so ten years of clock data
// take no more memory than one row. The file is closed when this returns or
// raises, and the lines written so far stay in it.
void writeRows(const QString& path, db::Query& query, const db::Params& params,
               const QList<ColumnKind>& kinds, TextEncoding& encoding) {
    QFile file(path);
    const auto fail = [&file] { throw std::runtime_error(file.errorString().toStdString()); };
    struct StartAgainInUtf8 {};
    encoding = TextEncoding::Windows1252;
    for (;;) {
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail();
        if (encoding == TextEncoding::Utf8 && file.write(kUtf8Bom) < 0)
            fail();
        QStringList texts;
        try {
            query.forEachRow(params, [&](const std::vector<db::Value>& row) {
                texts.clear();
                for (int i = 0; i < kinds.size(); ++i)
                    texts << valueText(row[size_t(i)], kinds[i]);
                if (encoding == TextEncoding::Windows1252 && encodingFor(texts) == TextEncoding::Utf8)
                    throw StartAgainInUtf8{};
                if (file.write(quotedLine(texts, encoding)) < 0)
                    fail();
            });
        } catch (const StartAgainInUtf8&) {
            file.close();
            encoding = TextEncoding::Utf8;
            continue;
        }
        if (!file.flush())
            fail();
        return;
    }
}

ExportResult exportRows(db::Database& db, const QString& sql, const db::Params& params,
                        const std::function<QList<ColumnKind>(const QStringList& columns)>& kindsOf) {
    try {
        db::Query query = db.prepare(sql);
        if (!query.hasRows(params)) {
            inform(kEmpty);
            return ExportResult::Empty;
        }
        const QList<ColumnKind> kinds = kindsOf(query.columnNames());
        const QString path = GetExportFileName();
        if (path.isEmpty())
            return ExportResult::Cancelled;
        TextEncoding encoding = TextEncoding::Windows1252;
        {
            // Ten years of clock data take seconds; the message comes with the normal cursor.
            ui::WaitCursor wait;
            writeRows(path, query, params, kinds, encoding);
        }
        inform(encoding == TextEncoding::Utf8 ? kDone + kDoneInUtf8 : kDone);
        return ExportResult::Written;
    } catch (const std::exception& e) {
        inform(QString::fromStdString(e.what()));
        return ExportResult::Failed;
    }
}

} // namespace

QString GetExportFileName() {
    ui::FileRequest& dlg = OpenFileDlg();
    dlg.save = true;
    dlg.fileName.clear();
    dlg.initialDir = AppPath + QStringLiteral("Data");
    dlg.filter = QStringLiteral("Text Files (*.txt)|*.txt|Log Files (*.LOG)|*.log");
    dlg.filterIndex = 1;
    dlg.mustExist = false;
    dlg.overwritePrompt = false;
    const QString name = ui::ShowFileDialog(dlg);
    if (name.isEmpty())
        return QString();
    const QFileInfo info(name);
    if (info.exists() && info.size() > 0 &&
        ui::MsgBox(QStringLiteral("Fie contain data. Overwrite?"), ui::Buttons::YesNo, ui::Icon::Question) ==
            ui::Answer::No)
        return QString();
    return name;
}

QString personnelSelect(const QList<int>& codes, StatusChoice which) {
    QStringList columns;
    for (int code : codes)
        columns << fieldColumn(code);
    QString sql =
        QStringLiteral("Select ") + columns.join(QLatin1Char(',')) + QStringLiteral(" from Employee");
    if (which != StatusChoice::All)
        sql += QStringLiteral(" WHERE Status = ?");
    return sql;
}

ExportResult ExportPersonnel(db::Database& db, const QList<int>& codes, StatusChoice which) {
    if (codes.isEmpty()) {
        ui::MsgBox(QStringLiteral("At least one field must be chosen to export!"), ui::Buttons::OK,
                   ui::Icon::Exclamation);
        return ExportResult::NoFields;
    }
    db::Params params;
    if (which != StatusChoice::All)
        params.push_back(which == StatusChoice::Active);
    QList<ColumnKind> kinds;
    for (int code : codes)
        kinds << fieldKind(code);
    return exportRows(db, personnelSelect(codes, which), params,
                      [&kinds](const QStringList&) { return kinds; });
}

ExportResult ExportAttendance(db::Database& db) {
    return exportRows(db, QStringLiteral("Select * from [Time Attendance]"), {},
                      [](const QStringList& columns) {
                          if (columns.size() > kMaxAttendanceColumns)
                              throw std::runtime_error("Subscript out of range");
                          QList<ColumnKind> kinds;
                          for (const QString& name : columns)
                              kinds << attendanceKind(name);
                          return kinds;
                      });
}

void ExportAttendance() {
    try {
        ExportAttendance(companyDb());
    } catch (const std::exception& e) {
        inform(QString::fromStdString(e.what()));
    }
}

} // namespace plax::exchange
