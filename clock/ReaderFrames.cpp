#include "ReaderFrames.h"

namespace plax::clk {

namespace {
QString afterFirstSemicolon(const QString& s) {
    const qsizetype i = s.indexOf(QLatin1Char(';'));
    return i < 0 ? s : s.mid(i + 1);
}
QString beforeFirstQuestionMark(const QString& s) {
    const qsizetype i = s.indexOf(QLatin1Char('?'));
    return i < 0 ? s : s.left(i);
}
} // namespace

std::optional<QString> cutMsr100Frame(QString s) {
    if (s.isEmpty())
        return std::nullopt;
    return beforeFirstQuestionMark(afterFirstSemicolon(s));
}

std::optional<QString> cutRs2000Frame(QString s, const std::function<QString()>& readMore) {
    if (s.contains(QLatin1Char('\r')))
        s.chop(1);
    if (s.isEmpty())
        return std::nullopt;
    s = afterFirstSemicolon(s);
    if (!s.contains(QLatin1Char('?')))
        s += readMore();
    s = beforeFirstQuestionMark(s);
    if (s == QLatin1String("N"))
        return std::nullopt;
    return s;
}

void ReaderBuffer::append(const QString& text, DateTimeMin at) {
    if (!text.isEmpty())
        parts_.push_back({text, at});
}

QString ReaderBuffer::all() const {
    QString s;
    for (const Part& p : parts_)
        s += p.text;
    return s;
}

QString ReaderBuffer::take(qsizetype n) {
    QString taken;
    while (n > 0 && !parts_.empty()) {
        Part& p = parts_.front();
        if (p.text.size() > n) {
            taken += p.text.left(n);
            p.text.remove(0, n);
            break;
        }
        taken += p.text;
        n -= p.text.size();
        parts_.pop_front();
    }
    return taken;
}

std::optional<ReaderBuffer::Frame> ReaderBuffer::takeFrame() {
    if (parts_.empty())
        return std::nullopt;
    const DateTimeMin at = parts_.front().at;
    const QString s = all();
    const qsizetype first = s.indexOf(QLatin1Char(';'));
    const qsizetype next = first < 0 ? -1 : s.indexOf(QLatin1Char(';'), first + 1);
    return Frame{take(next < 0 ? s.size() : next), at};
}

QString ReaderBuffer::takeRest() {
    const QString s = all();
    const qsizetype next = s.indexOf(QLatin1Char(';'));
    return take(next < 0 ? s.size() : next);
}

} // namespace plax::clk
