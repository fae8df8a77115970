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

} // namespace plax::clk
