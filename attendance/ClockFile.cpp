#include "ClockFile.h"
#include "LineReader.h"

#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "core/types/Dates.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>

namespace plax {
namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// True when `text` is two digits, sep, two digits, sep, two digits.
bool isTriple(const QString& text, QChar sep) {
    return text.size() == 8 && isDigit(text[0]) && isDigit(text[1]) && text[2] == sep && isDigit(text[3]) &&
           isDigit(text[4]) && text[5] == sep && isDigit(text[6]) && isDigit(text[7]);
}

// Characters `from` (1-based) for `count` characters, as far as the line goes.
QString chars(const QString& line, int from, int count = -1) {
    if (from > line.size())
        return QString();
    return line.mid(from - 1, count);
}

QString trimRight(QString s) {
    int n = int(s.size());
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    s.truncate(n);
    return s;
}

} // namespace

std::optional<QString> convertPunchLine(const QString& line) {
    QString id, date, time;
    if (line.size() >= 2 && line[1] == QLatin1Char(',')) {
        date = chars(line, 3, 8);
        time = chars(line, 12, 5);
        id = trimRight(chars(line, 21));
    } else if (line.size() >= 8 && isTriple(line.right(8), QLatin1Char(':'))) {
        const int p = int(line.indexOf(QLatin1Char(','))) + 1;
        if (p == 0)
            return std::nullopt; // no comma: no ID field to take
        id = trimRight(line.left(p - 1));
        date = chars(line, p + 1, 8);
        time = chars(line, p + 10, 5);
    } else if (isTriple(line.left(8), QLatin1Char('/'))) {
        const int p = int(line.indexOf(QLatin1Char(' '))) + 1;
        if (p == 0)
            return std::nullopt; // no blank: no ID length
        date = line.left(8);
        time = chars(line, 10, 5);
        id = trimRight(chars(line, 19, p - 1));
    } else {
        return std::nullopt;
    }
    if (!parseDate(date))
        return std::nullopt;
    return id + QLatin1Char(',') + date + QLatin1Char(',') + time;
}

bool convertPunchFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    LineReader lines(in);
    QByteArray raw;
    while (lines.next(raw)) {
        // Latin-1 keeps every byte at its position and writes it back unchanged.
        if (const auto converted = convertPunchLine(QString::fromLatin1(raw))) {
            if (out.write(converted->toLatin1() + "\r\n") < 0)
                return false;
        }
    }
    return out.flush() && !lines.failed();
}

bool ConvertClockFile(const QString& appPath, const QString& dataPath) {
    ui::WaitCursor wait;
    ui::FileRequest& dlg = OpenFileDlg();
    dlg.save = false;
    dlg.fileName.clear();
    dlg.initialDir = appPath + QStringLiteral("Data");
    dlg.filter = QStringLiteral("Text Files (*.txt)|*.TXT| Log Files (*.log)|*.LOG");
    dlg.filterIndex = 1;
    const QString chosen = ui::ShowFileDialog(dlg);
    if (chosen.isEmpty())
        return true;
    return convertPunchFile(chosen, dataPath + QStringLiteral("Clock.txt"));
}

bool ConvertClockFile() { return ConvertClockFile(AppPath, DataPath); }

} // namespace plax
