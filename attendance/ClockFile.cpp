#include "ClockFile.h"
#include "LineReader.h"

#include "core/common/Common.h"
#include "core/common/Globals.h"
#include "core/types/Clock.h"
#include "core/types/Dates.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace plax {
namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// True when `text` is two digits, sep, two digits, sep, two digits.
bool isTriple(const QString& text, QChar sep) {
    return text.size() == 8 && isDigit(text[0]) && isDigit(text[1]) && text[2] == sep && isDigit(text[3]) &&
           isDigit(text[4]) && text[5] == sep && isDigit(text[6]) && isDigit(text[7]);
}

QString trimRight(QString s) {
    int n = int(s.size());
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    s.truncate(n);
    return s;
}

// A line whose positions count characters: a character beyond the Basic
// Multilingual Plane takes two QChars, so where the line holds one the
// positions are mapped.
class Chars {
public:
    explicit Chars(const QString& line) : line_(line) {
        for (qsizetype i = 0; i + 1 < line.size(); ++i)
            if (line[i].isHighSurrogate() && line[i + 1].isLowSurrogate()) {
                for (qsizetype j = 0; j < line.size(); ++j) {
                    starts_.push_back(j);
                    if (line[j].isHighSurrogate() && j + 1 < line.size() && line[j + 1].isLowSurrogate())
                        ++j;
                }
                break;
            }
    }
    qsizetype size() const { return starts_.empty() ? line_.size() : qsizetype(starts_.size()); }
    // Character `pos` (1-based), or its first half; the line must reach it.
    QChar at(qsizetype pos) const { return line_[unit(pos - 1)]; }
    // Characters `from` (1-based) for `count` characters (-1: to the end),
    // as far as the line goes.
    QString chars(qsizetype from, qsizetype count = -1) const {
        if (from > size())
            return QString();
        const qsizetype b = from - 1;
        const qsizetype e = count < 0 ? size() : std::min(size(), b + count);
        return line_.mid(unit(b), unit(e) - unit(b));
    }
    // The position (1-based) of the first `c`, 0 when there is none.
    qsizetype position(QChar c) const {
        const qsizetype u = line_.indexOf(c);
        if (u < 0)
            return 0;
        if (starts_.empty())
            return u + 1;
        return qsizetype(std::lower_bound(starts_.begin(), starts_.end(), u) - starts_.begin()) + 1;
    }

private:
    // The QChar offset of character `i` (0-based); size() gives the end.
    qsizetype unit(qsizetype i) const {
        if (starts_.empty())
            return std::min(i, line_.size());
        return i < qsizetype(starts_.size()) ? starts_[size_t(i)] : line_.size();
    }

    const QString& line_;
    std::vector<qsizetype> starts_; // empty: one QChar a character
};

} // namespace

std::optional<QString> convertPunchLine(const QString& line) {
    const Chars c(line);
    QString id, date, time;
    if (c.size() >= 2 && c.at(2) == QLatin1Char(',')) {
        date = c.chars(3, 8);
        time = c.chars(12, 5);
        id = trimRight(c.chars(21));
    } else if (isTriple(line.right(8), QLatin1Char(':'))) {
        // Eight digits and separators are eight characters.
        const qsizetype p = c.position(QLatin1Char(','));
        if (p == 0)
            return std::nullopt; // no comma: no ID field to take
        id = trimRight(c.chars(1, p - 1));
        date = c.chars(p + 1, 8);
        time = c.chars(p + 10, 5);
    } else if (isTriple(line.left(8), QLatin1Char('/'))) {
        const qsizetype p = c.position(QLatin1Char(' '));
        if (p == 0)
            return std::nullopt; // no blank: no ID length
        date = line.left(8);
        time = c.chars(10, 5);
        id = trimRight(c.chars(19, p - 1));
    } else {
        return std::nullopt;
    }
    if (!parseDate(date, DateOrder::MonthFirst))
        return std::nullopt;
    return id + QLatin1Char(',') + date + QLatin1Char(',') + time;
}

Conversion convertPunchFile(QIODevice& source, const QString& target) {
    QDir().mkpath(QFileInfo(target).absolutePath());
    // Written beside the target and renamed over it once it is complete and
    // on the disk: the program ended half way leaves the earlier file whole.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return Conversion::NotWritten;
    LineReader lines(source);
    QString line;
    while (lines.next(line)) {
        if (const auto converted = convertPunchLine(line)) {
            if (out.write(converted->toUtf8() + "\r\n") < 0)
                return Conversion::NotWritten; // the earlier file stays
        }
    }
    // Part of a file is never taken for the whole: the earlier file stays.
    if (lines.failed())
        return Conversion::Unreadable;
    return out.commit() ? Conversion::Done : Conversion::NotWritten;
}

Conversion convertPunchFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Conversion::Unreadable;
    return convertPunchFile(in, target);
}

Conversion ConvertClockFile(const QString& appPath, const QString& dataPath) {
    std::optional<ui::WaitCursor> wait(std::in_place);
    ui::FileRequest& dlg = OpenFileDlg();
    dlg.save = false;
    dlg.fileName.clear();
    dlg.initialDir = appPath + QStringLiteral("Data");
    dlg.filter = QStringLiteral("Text Files (*.txt)|*.TXT| Log Files (*.log)|*.LOG");
    dlg.filterIndex = 1;
    const QString chosen = ui::ShowFileDialog(dlg);
    if (chosen.isEmpty())
        return Conversion::Cancelled;
    const Conversion result = convertPunchFile(chosen, dataPath + QStringLiteral("Clock.txt"));
    wait.reset(); // the normal cursor is back before the message shows
    // Neither a download read in part nor a Clock.txt left unwritten may
    // pass for the whole file: the import would take the part, or the
    // earlier Clock.txt, as this download.
    QString problem;
    if (result == Conversion::Unreadable)
        problem = QStringLiteral("The file '%1' cannot be read to its end.").arg(QDir::toNativeSeparators(chosen));
    else if (result == Conversion::NotWritten)
        problem = QStringLiteral("The file '%1' cannot be written.")
                      .arg(QDir::toNativeSeparators(dataPath + QStringLiteral("Clock.txt")));
    if (!problem.isEmpty())
        ui::MsgBox(problem + QStringLiteral("\r\nClock data was NOT imported successfully!"), ui::Buttons::OK,
                   ui::Icon::Exclamation);
    return result;
}

Conversion ConvertClockFile() { return ConvertClockFile(AppPath, DataPath); }

} // namespace plax
