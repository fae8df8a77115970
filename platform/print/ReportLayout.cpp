#include "ReportLayout.h"

#include "core/types/Amounts.h"
#include "core/types/Dates.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <map>
#include <numeric>
#include <optional>

namespace plax::print {

QFont fontFor(FontRole role, double body) {
    QFont f(QStringLiteral("Nimbus Sans"));
    f.setStyleHint(QFont::SansSerif);
    // No ligatures: a PDF's text layer must read back exactly as stored, so that
    // searching a printout for "Staff" or "Jeff" finds it.
    f.setStyleStrategy(QFont::PreferNoShaping);
    double pt = body;
    switch (role) {
    case FontRole::Body:
        break;
    case FontRole::Bold:
    case FontRole::Heading:
        f.setBold(true);
        break;
    case FontRole::Group:
        pt = body + 1;
        f.setBold(true);
        break;
    case FontRole::Title:
        pt = body + 7;
        f.setBold(true);
        break;
    case FontRole::Company:
        pt = body + 3;
        f.setBold(true);
        break;
    case FontRole::Small:
        pt = std::max(6.0, body - 1.5);
        break;
    case FontRole::Italic:
        f.setItalic(true);
        break;
    }
    f.setPixelSize(int(std::lround(pt * 20)));
    return f;
}

Paper localePaper() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? kLetter : kA4;
}

QString printedText(const QDateTime& t) {
    const QDate d = t.date();
    return QStringLiteral("Date printed: %1 %2")
        .arg(CalDate::ymd(d.year(), d.month(), d.day()).toShortDate(),
             TimeOfDay::fromMinutes(t.time().hour() * 60 + t.time().minute()).toHm());
}

std::shared_ptr<const Document> stampPrinted(const std::shared_ptr<const Document>& doc, const QDateTime& t) {
    const QString text = printedText(t);
    const auto stale = [&](const PageItem& it) { return it.printedStamp && it.text != text; };
    bool same = true;
    for (const Page& p : doc->pages)
        same = same && std::none_of(p.items.begin(), p.items.end(), stale);
    if (same)
        return doc;
    auto out = std::make_shared<Document>(*doc);
    for (Page& p : out->pages)
        for (PageItem& it : p.items)
            if (it.printedStamp)
                it.text = text;
    return out;
}

QStringList Page::texts() const {
    QStringList out;
    for (const PageItem& it : items)
        if (it.kind == PageItem::Kind::Text)
            out << it.text;
    return out;
}

QStringList Page::lines() const {
    std::vector<const PageItem*> texts;
    for (const PageItem& it : items)
        if (it.kind == PageItem::Kind::Text)
            texts.push_back(&it);
    std::stable_sort(texts.begin(), texts.end(), [](const PageItem* a, const PageItem* b) {
        if (std::fabs(a->rect.top() - b->rect.top()) > 20)
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    QStringList out;
    double lastTop = -1e9;
    for (const PageItem* it : texts) {
        if (std::fabs(it->rect.top() - lastTop) > 20) {
            out << it->text;
            lastTop = it->rect.top();
        } else {
            out.last() += QLatin1Char('\t') + it->text;
        }
    }
    return out;
}

namespace {
const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
}

QString formatValue(const FValue& v, const ColumnDef& c) {
    if (v.isNull())
        return QString();
    switch (c.format) {
    case ColumnDef::Format::Date:
        return v.display();
    case ColumnDef::Format::Time:
        return v.kind() == FValue::Kind::Time ? v.toTime().toHm() : v.display();
    case ColumnDef::Format::Weekday: {
        if (v.kind() == FValue::Kind::Date)
            return QString::fromLatin1(kWeekdays[v.toDate().weekday() - 1]);
        const int d = int(v.toNumber());
        if (v.kind() == FValue::Kind::Number && d >= 1 && d <= 7)
            return QString::fromLatin1(kWeekdays[d - 1]);
        return v.display();
    }
    case ColumnDef::Format::Decimals:
        return v.kind() == FValue::Kind::Number
                   ? amountText(roundedTo(v.toNumber(), c.decimals), c.decimals)
                   : v.display();
    case ColumnDef::Format::YesNo:
        return v.toBool() ? c.trueText : c.falseText;
    case ColumnDef::Format::Auto:
        break;
    }
    return v.display();
}

double roundedTo(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Fifteen significant digits drop the binary noise of the product. Read
    // back by Qt, not strtod, which stops at the point under a locale that
    // writes a decimal comma.
    const double scaled = QByteArray::number(x * scale, 'g', 15).toDouble();
    return std::round(scaled) / scale;
}

void SubreportRun::index() {
    rowsByKey.clear();
    for (size_t i = 0; i < data.rows.size(); ++i)
        rowsByKey[linkKey(data.rows[i], linkSub)].push_back(int(i));
}

namespace {


// How many records the width of a text that may run on is judged from.
constexpr size_t kLookAhead = 200;
// How many records at most go along to a new page with the totals or the
// summary that close them.
constexpr size_t kKeepLines = 2;

// The parts of a word that a line may end after: up to and including each
// hyphen between two characters.
QStringList hyphenParts(const QString& word) {
    QStringList out;
    int start = 0;
    for (int i = 1; i + 1 < word.size(); ++i)
        if (word[i] == QLatin1Char('-')) {
            out << word.mid(start, i + 1 - start);
            start = i + 1;
        }
    out << word.mid(start);
    return out;
}

// A text run on over lines of at most `width`: broken at blanks (those
// between words on one line kept as they are), a word too long for a line
// after its hyphens, and (with `breakWords`) a part still too long between
// its characters. Without `breakWords` such a part stands on a line of its
// own, wider than `width`.
QStringList wrapLines(const QString& text, double width, const QFontMetricsF& m, bool breakWords) {
    const auto fits = [&](const QString& t) { return m.horizontalAdvance(t) <= width + 0.5; };
    QStringList out;
    QString line;
    const auto place = [&](const QString& part, const QString& blanks) {
        const QString joined = line.isEmpty() ? part : line + blanks + part;
        if (line.isEmpty() || fits(joined)) {
            line = joined;
        } else {
            out << line;
            line = part;
        }
        while (breakWords && line.size() > 1 && !fits(line)) {
            int n = 1;
            while (n < line.size() && fits(line.left(n + 1)))
                ++n;
            out << line.left(n);
            line = line.mid(n);
        }
    };
    static const QRegularExpression words(QStringLiteral("(\\s*)(\\S+)"));
    for (auto it = words.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch w = it.next();
        const QString word = w.captured(2);
        if (fits(word)) {
            place(word, w.captured(1));
            continue;
        }
        QString blanks = w.captured(1);
        for (const QString& part : hyphenParts(word)) {
            place(part, blanks);
            blanks.clear();
        }
    }
    if (!line.isEmpty())
        out << line;
    return out;
}

struct ColumnGeom {
    const ColumnDef* def;
    double x, w;
    Qt::Alignment align;
    bool whole; // a number, date, time or key: printed whole, never run on or cut
};

// The parts of a report body the layouter needs, for the main report and
// for each subreport alike.
struct BodyView {
    const ReportBody* body;
    const DataSet* data;
    const FormulaSet* formulas;
    std::vector<ColumnGeom> cols;
};

} // namespace

CardGrid cardGrid(const CardDef& card, double pageWidth, double pageHeight) {
    const double w = card.width * kTwipsPerMm, h = card.height * kTwipsPerMm, gap = card.gap * kTwipsPerMm;
    CardGrid g;
    g.across = std::max(1, int((pageWidth - 2 * kPageMargin + gap) / (w + gap)));
    g.down = std::max(1, int((pageHeight - 2 * kPageMargin + gap) / (h + gap)));
    g.left = (pageWidth - (g.across * (w + gap) - gap)) / 2;
    g.top = (pageHeight - (g.down * (h + gap) - gap)) / 2;
    return g;
}

namespace {

class Layouter {
public:
    explicit Layouter(const LayoutInput& in) : in_(in), def_(*in.def) {
        pt_ = def_.fontSize;
        doc_.bodyPoints = pt_;
        doc_.width = in.paper.width;
        doc_.height = in.paper.height;
        if (def_.landscape)
            std::swap(doc_.width, doc_.height);
        left_ = kPageMargin;
        right_ = doc_.width - kPageMargin;
        for (int r = 0; r <= int(FontRole::Italic); ++r)
            fm_.emplace_back(fontFor(FontRole(r), pt_));
        avg_ = fm_[int(FontRole::Body)].averageCharWidth();
        main_ = {&def_, in.data, in.formulas, {}};
        main_.cols = columns(main_, in.columnVisible, left_, right_ - left_, FontRole::Heading);
        sums_.assign(def_.groups.size() + 1, Sums(main_.cols.size(), 0.0));
        bodyTop_ = kPageMargin + lh(FontRole::Company) + lh(FontRole::Title) + 120;
        if (!def_.subtitle.empty())
            bodyTop_ += lh(FontRole::Group);
        if (hasHeadings(main_.cols))
            bodyTop_ += lh(FontRole::Heading) + 80;
        bodyTop_ += 60;
        bodyBottom_ = doc_.height - kPageMargin - lh(FontRole::Small) - 120;
    }

    Document run() {
        if (def_.card && !in_.data->rows.empty())
            return runCards();
        newPage({});
        const auto& rows = in_.data->rows;
        const int groups = int(in_.groupColumns.size());
        if (rows.empty()) {
            const QString text = def_.noData.empty()
                                     ? QStringLiteral("No records were selected for this report.")
                                     : lineText(main_, def_.noData, {});
            textAt(QRectF(left_, y_, right_ - left_, lh(FontRole::Italic)), text, FontRole::Italic);
            y_ += lh(FontRole::Italic);
        }
        for (int i = 0; i < int(rows.size()); ++i) {
            cellCache_.clear();
            int change = i == 0 ? 0 : groups;
            for (int g = 0; i > 0 && g < groups; ++g)
                if (FValue::compare(rows[size_t(i)][size_t(in_.groupColumns[size_t(g)])],
                                    rows[size_t(i - 1)][size_t(in_.groupColumns[size_t(g)])]) != 0) {
                    change = g;
                    break;
                }
            if (i > 0) {
                keepWithLastRecords(closingHeight(change));
                for (int g = groups - 1; g >= change; --g)
                    closeGroup(g, i - 1);
            }
            for (int g = change; g < groups; ++g)
                openGroup(g, i, i > 0);
            if (def_.details) {
                ensure(recordBlock(i));
                detail(main_, rows[size_t(i)], true);
                for (SubreportRun* s : in_.subreports)
                    subreport(*s, rows[size_t(i)]);
            }
            ++printed_;
        }
        if (!rows.empty())
            keepWithLastRecords(closingHeight(0) + endHeight(def_, int(rows.size())));
        for (int g = groups - 1; g >= 0 && !rows.empty(); --g)
            closeGroup(g, int(rows.size()) - 1);
        endOfBody(main_, def_, 0, int(rows.size()), true);
        finish();
        doc_.recordsPrinted = printed_;
        return std::move(doc_);
    }

private:
    double lh(FontRole r) const { return std::ceil(fm_[int(r)].height() * 1.22); }
    const QFontMetricsF& fm(FontRole r) const { return fm_[int(r)]; }

    static bool hasHeadings(const std::vector<ColumnGeom>& cols) {
        for (const ColumnGeom& c : cols)
            if (!c.def->heading.isEmpty())
                return true;
        return false;
    }

    // Column widths. Each column first gets what its content needs: a date,
    // time or weekday its longest possible text, a number the characters its
    // declared width allows, and a number, a date or a key (`whole`) at
    // least its widest value on any record; a text the longest of the first
    // records (a longer one further on runs on). Only when the page
    // is too narrow for that are texts narrowed, the widest first: they run
    // on over several lines, at blanks and, for a word longer than the line,
    // after its hyphens; a part still longer than the column breaks between
    // its letters. Headings, numbers, dates and keys keep their whole width,
    // and only a page too narrow for all of them together cuts anything.
    std::vector<ColumnGeom> columns(const BodyView& v, const std::vector<bool>& visible, double x0, double avail,
                                    FontRole headingRole) const {
        const ReportBody& body = *v.body;
        const auto& rows = v.data->rows;
        std::vector<ColumnGeom> out;
        // floor: the narrowest the column may get; need: without breaking a
        // word's part; want: the declared width, or the whole text.
        std::vector<double> floor, need, want;
        for (size_t i = 0; i < body.columns.size(); ++i) {
            if (i < visible.size() && !visible[i])
                continue;
            const ColumnDef& c = body.columns[i];
            const double fixed = fixedWidth(c);
            bool numeric = c.format == ColumnDef::Format::Decimals, typed = c.format != ColumnDef::Format::Auto;
            const auto printedWhole = [&] { return fixed > 0 || numeric || c.whole; };
            double widest = 0, longestPart = 0;
            QSet<QString> measured;
            for (size_t r = 0; r < rows.size(); ++r) {
                // What prints whole is measured on every record, so that no
                // value reaches into the next column; a text that may run on
                // only on the first ones.
                if (r >= kLookAhead && typed && !printedWhole())
                    break;
                const FValue value = valueOf(v, c.value, rows[r]);
                if (!value.isNull() && !typed) {
                    numeric = value.kind() == FValue::Kind::Number;
                    typed = true;
                }
                const QString t = formatValue(value, c);
                // The declared characters of an amount are room enough for it.
                if (c.format == ColumnDef::Format::Decimals && value.kind() == FValue::Kind::Number &&
                    t.size() <= int(c.width))
                    continue;
                if (measured.contains(t))
                    continue;
                measured.insert(t);
                widest = std::max(widest, fm(FontRole::Body).horizontalAdvance(t));
                if (r < kLookAhead)
                    for (const QString& word : t.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                        for (const QString& part : hyphenParts(word))
                            longestPart = std::max(longestPart, fm(FontRole::Body).horizontalAdvance(part));
            }
            const double heading = fm(headingRole).horizontalAdvance(c.heading);
            const double declared = c.width * avg_;
            const bool whole = printedWhole();
            double f = 0, n = 0, w = 0;
            if (whole) {
                // Never narrower than its longest text: such a value is not cut.
                f = n = std::max({heading, fixed, widest});
                w = std::max(n, declared);
            } else {
                f = std::max(heading, avg_ * 4);
                n = std::max(f, longestPart);
                w = std::max({n, declared, c.wrap ? 0.0 : widest});
            }
            out.push_back({&c, 0, 0, alignOf(c, numeric), whole});
            floor.push_back(f);
            need.push_back(n);
            want.push_back(std::max(n, std::min(w, avail)));
        }
        if (out.empty())
            return out;
        // A totals label stands left of the first summed column: the columns
        // before it make room for the longest label.
        double label = 0;
        if (body.totals)
            label = fm(FontRole::Bold).horizontalAdvance(body.totalsLabel);
        for (const GroupDef& g : body.groups)
            if (g.totals && body.details)
                label = std::max(label, fm(FontRole::Bold).horizontalAdvance(g.totalsLabel));
        size_t leading = 0;
        while (leading < out.size() && !out[leading].def->sum)
            ++leading;
        if (label > 0 && leading > 0 && leading < out.size()) {
            const auto widen = [&](std::vector<double>& w) {
                const double room = std::accumulate(w.begin(), w.begin() + std::ptrdiff_t(leading), 0.0) +
                                    gap() * double(leading - 1);
                w[leading - 1] += std::max(0.0, label - room);
            };
            widen(floor);
            widen(need);
            widen(want);
        }
        const double room = avail - gap() * double(out.size() - 1);
        const auto total = [](const std::vector<double>& w) {
            return std::accumulate(w.begin(), w.end(), 0.0);
        };
        // The widest of want, need and floor that the page holds; what is
        // left over beyond it goes to the columns that would like more,
        // the narrowest first: the widest columns give way.
        const std::vector<double>* lower = &floor;
        const std::vector<double>* upper = &need;
        if (total(want) <= room)
            lower = upper = &want;
        else if (total(need) <= room)
            lower = &need, upper = &want;
        const double low = total(*lower);
        const auto widthAt = [&](size_t i, double cap) {
            return std::max((*lower)[i], std::min((*upper)[i], cap));
        };
        double capLo = 0, capHi = *std::max_element(upper->begin(), upper->end());
        for (int k = 0; k < 60 && low <= room; ++k) {
            const double cap = (capLo + capHi) / 2;
            double sum = 0;
            for (size_t i = 0; i < out.size(); ++i)
                sum += widthAt(i, cap);
            (sum > room ? capHi : capLo) = cap;
        }
        double x = x0;
        for (size_t i = 0; i < out.size(); ++i) {
            // A page that cannot hold even the headings narrows everything.
            const double w = low > room ? (*lower)[i] * room / low : widthAt(i, capLo);
            out[i].x = x;
            out[i].w = w;
            x += w + gap();
        }
        return out;
    }

    double gap() const { return avg_ * 2.5; }

    // The width of the longest text a date, time, weekday or yes/no column
    // can print; 0 for other columns. Decimals: the declared number of
    // characters in digits.
    double fixedWidth(const ColumnDef& c) const {
        const QFontMetricsF& m = fm(FontRole::Body);
        QChar digit = QLatin1Char('0');
        for (char d = '1'; d <= '9'; ++d)
            if (m.horizontalAdvance(QLatin1Char(d)) > m.horizontalAdvance(digit))
                digit = QLatin1Char(d);
        const auto digits = [&](int n) { return QString(std::max(0, n), digit); };
        switch (c.format) {
        case ColumnDef::Format::Date: {
            // The short date form of the locale, in each month (its name may
            // be part of it), with the widest digits.
            double w = 0;
            for (int month = 1; month <= 12; ++month) {
                QString t = CalDate::ymd(2000, month, 28).toShortDate();
                for (QChar& ch : t)
                    if (ch.isDigit())
                        ch = digit;
                w = std::max(w, m.horizontalAdvance(t));
            }
            return w;
        }
        case ColumnDef::Format::Time:
            return m.horizontalAdvance(digits(2) + QLatin1Char(':') + digits(2));
        case ColumnDef::Format::Weekday: {
            double w = 0;
            for (const char* day : kWeekdays)
                w = std::max(w, m.horizontalAdvance(QString::fromLatin1(day)));
            return w;
        }
        case ColumnDef::Format::YesNo:
            return std::max(m.horizontalAdvance(c.trueText), m.horizontalAdvance(c.falseText));
        case ColumnDef::Format::Decimals: {
            const int chars = int(c.width);
            return m.horizontalAdvance(c.decimals > 0 ? digits(chars - c.decimals - 1) + decimalSeparator() +
                                                            digits(c.decimals)
                                                      : digits(chars));
        }
        case ColumnDef::Format::Auto:
            break;
        }
        return 0;
    }

    static Qt::Alignment alignOf(const ColumnDef& c, bool numeric) {
        switch (c.align) {
        case ColumnDef::Align::Left:
            return Qt::AlignLeft;
        case ColumnDef::Align::Right:
            return Qt::AlignRight;
        case ColumnDef::Align::Center:
            return Qt::AlignHCenter;
        case ColumnDef::Align::Auto:
            break;
        }
        return numeric ? Qt::AlignRight : Qt::AlignLeft;
    }

    // ---- placing

    // A text too wide for its place is cut with an ellipsis; one printed
    // `whole` (a number, a date) reaches out of its place instead.
    void textAt(const QRectF& r, const QString& text, FontRole role, Qt::Alignment align = Qt::AlignLeft,
                bool whole = false) {
        if (text.isEmpty())
            return;
        PageItem it;
        it.rect = r;
        it.role = role;
        it.align = align;
        const double w = fm(role).horizontalAdvance(text);
        it.text = text;
        if (w > r.width() + 1) {
            if (!whole)
                it.text = fm(role).elidedText(text, Qt::ElideRight, r.width());
            else if (align & Qt::AlignRight)
                it.rect.setLeft(r.right() - w);
            else
                it.rect.setWidth(w);
        }
        page().items.push_back(it);
    }
    void rule(double x1, double x2, double y, double width = 10) {
        PageItem it;
        it.kind = PageItem::Kind::Rule;
        it.rect = QRectF(x1, y, x2 - x1, width);
        it.ruleWidth = width;
        page().items.push_back(it);
    }
    void shade(const QRectF& r) {
        PageItem it;
        it.kind = PageItem::Kind::Shade;
        it.rect = r;
        page().items.push_back(it);
    }
    Page& page() { return target_ ? *target_ : doc_.pages.back(); }

    // A text of the full body width, run on over as many lines as it needs
    // (at blanks, so that an ID in it stays whole).
    QStringList paragraph(const QString& text, FontRole role, double indent = 0) const {
        const double width = right_ - left_ - indent;
        if (fm(role).horizontalAdvance(text) <= width)
            return {text};
        return wrapLines(text, width, fm(role), true);
    }
    // Places such a text at y_ and moves y_ below it.
    void paragraphAt(const QString& text, FontRole role, double indent = 0) {
        for (const QString& l : paragraph(text, role, indent)) {
            textAt(QRectF(left_ + indent, y_, right_ - left_ - indent, lh(role)), l, role);
            y_ += lh(role);
        }
    }
    static QString continued(const QString& header) { return header + QStringLiteral(" (continued)"); }
    double continuedHeight(const std::vector<QString>& continuing) const {
        double h = 0;
        for (const QString& c : continuing)
            if (!c.isEmpty())
                h += lh(FontRole::Group) * double(paragraph(continued(c), FontRole::Group).size());
        return h;
    }

    // A new page; the groups open since an earlier page repeat their header
    // with "(continued)".
    void newPage(const std::vector<QString>& continuing) {
        doc_.pages.emplace_back();
        y_ = bodyTop_;
        stripe_ = 0;
        for (const QString& h : continuing)
            if (!h.isEmpty())
                paragraphAt(continued(h), FontRole::Group);
        pageBodyTop_ = y_;
    }
    void newPage() { newPage(openHeaders_); }
    // Makes room for `h` below y_. Group headers printed for a record that
    // has not followed yet go along to the new page with it: a header never
    // stands alone at the foot of a page, and a group nothing of which was
    // printed is not "(continued)".
    void ensure(double h) {
        if (y_ + h <= bodyBottom_ || y_ <= bodyTop_ + 1)
            return;
        if (pendingMark_ && pendingMark_->page == doc_.pages.size() - 1 &&
            pendingMark_->y > pageBodyTop_ + 1 &&
            bodyTop_ + continuedHeight(pendingMark_->continuing) + (y_ - pendingMark_->y) + h <=
                bodyBottom_) {
            carry(Mark(*pendingMark_));
            return;
        }
        newPage();
    }

    // Where a record's lines begin on its page (its group's header when it
    // is the group's first record), so that lines printed after the last
    // records can take those records along to a new page.
    struct Mark {
        size_t page, item;
        double y;
        std::vector<QString> continuing; // the headers of the groups open there
    };
    Mark here() { return Mark{doc_.pages.size() - 1, page().items.size(), y_, openHeaders_}; }
    void markRecord() {
        marks_.push_back(pendingMark_ && pendingMark_->page == doc_.pages.size() - 1 ? *pendingMark_ : here());
        pendingMark_.reset();
        if (marks_.size() > kKeepLines)
            marks_.erase(marks_.begin());
    }

    // Moves everything placed on this page from `m` on to a new page, whose
    // "(continued)" headers are those of the groups open at `m`.
    void carry(const Mark& m) {
        const size_t current = doc_.pages.size() - 1;
        std::vector<PageItem>& from = page().items;
        std::vector<PageItem> carried(std::make_move_iterator(from.begin() + std::ptrdiff_t(m.item)),
                                      std::make_move_iterator(from.end()));
        from.erase(from.begin() + std::ptrdiff_t(m.item), from.end());
        const double moved = y_ - m.y;
        newPage(m.continuing);
        const double dy = y_ - m.y;
        const size_t base = page().items.size();
        for (PageItem& it : carried) {
            it.rect.translate(0, dy);
            page().items.push_back(std::move(it));
        }
        const auto follow = [&](Mark& k) {
            if (k.page == current && k.item >= m.item) {
                k.item = k.item - m.item + base;
                k.y += dy;
                k.page = current + 1;
            }
        };
        for (Mark& k : marks_)
            follow(k);
        if (pendingMark_)
            follow(*pendingMark_);
        y_ += moved;
    }

    // Makes room for `h` of lines that close a group or the report (totals,
    // footers, the summary). When they do not fit, the last records go to
    // the new page with them, so that no page holds only such lines.
    void keepWithLastRecords(double h) {
        if (y_ + h <= bodyBottom_ || y_ <= bodyTop_ + 1)
            return;
        const size_t current = doc_.pages.size() - 1;
        for (size_t k = std::min(marks_.size(), kKeepLines); k >= 1; --k) {
            const Mark m = marks_[marks_.size() - k];
            if (m.page != current || m.y <= pageBodyTop_ + 1)
                continue;
            if (bodyTop_ + continuedHeight(m.continuing) + (y_ - m.y) + h > bodyBottom_)
                continue;
            carry(m);
            return;
        }
        newPage();
    }

    // ---- values

    FValue valueOf(const BodyView& v, const LineItem& it, const Row& row) const {
        if (it.kind == LineItem::Kind::Formula)
            return v.formulas->value(v.formulas->indexOf(it.text), &row);
        const int idx = v.data->indexOf(it.field.table, it.field.field);
        return idx < 0 ? FValue() : row[size_t(idx)];
    }
    double sumOf(const BodyView& v, const LineItem& it, const std::vector<const Row*>& rows) const {
        LineItem value = it;
        value.kind = it.sumOfFormula ? LineItem::Kind::Formula : LineItem::Kind::Field;
        double s = 0;
        for (const Row* r : rows) {
            const FValue x = valueOf(v, value, *r);
            if (x.kind() == FValue::Kind::Number)
                s += x.toNumber();
        }
        return s;
    }
    QString lineText(const BodyView& v, const TextLine& line, const std::vector<const Row*>& rows) const {
        QString out;
        for (const LineItem& it : line) {
            switch (it.kind) {
            case LineItem::Kind::Text:
                out += it.text;
                break;
            case LineItem::Kind::Field:
                if (!rows.empty())
                    out += valueOf(v, it, *rows.front()).display();
                break;
            case LineItem::Kind::Formula:
                out += v.formulas->value(v.formulas->indexOf(it.text), rows.empty() ? nullptr : rows.front()).display();
                break;
            case LineItem::Kind::Count:
                out += QString::number(rows.size());
                break;
            case LineItem::Kind::GroupCount: {
                int groups = 0;
                const int col = v.body == in_.def && !in_.groupColumns.empty() ? in_.groupColumns.front() : -1;
                for (size_t r = 0; r < rows.size(); ++r)
                    if (col < 0 || r == 0 || FValue::compare((*rows[r])[size_t(col)], (*rows[r - 1])[size_t(col)]) != 0)
                        ++groups;
                out += QString::number(col < 0 ? 0 : groups);
                break;
            }
            case LineItem::Kind::Sum:
                out += FValue::number(sumOf(v, it, rows)).display();
                break;
            }
        }
        return out;
    }
    std::vector<const Row*> range(int from, int to) const {
        std::vector<const Row*> out;
        for (int i = from; i <= to; ++i)
            out.push_back(&in_.data->rows[size_t(i)]);
        return out;
    }
    int groupEnd(int g, int start) const {
        const auto& rows = in_.data->rows;
        int i = start;
        while (i + 1 < int(rows.size())) {
            bool same = true;
            for (int k = 0; k <= g && same; ++k) {
                const size_t c = size_t(in_.groupColumns[size_t(k)]);
                same = FValue::compare(rows[size_t(i + 1)][c], rows[size_t(start)][c]) == 0;
            }
            if (!same)
                break;
            ++i;
        }
        return i;
    }

    // ---- sections

    void openGroup(int g, int start, bool notFirst) {
        const GroupDef& gd = def_.groups[size_t(g)];
        groupStart_.resize(def_.groups.size());
        openHeaders_.resize(def_.groups.size());
        groupStart_[size_t(g)] = start;
        sums_[size_t(g)].assign(main_.cols.size(), 0.0);
        stripe_ = 0;
        if (gd.newPage && notFirst && y_ > bodyTop_ + 1) {
            // The outer headers printed for this record go along, unless
            // they already start the page.
            if (!pendingMark_ || pendingMark_->page != doc_.pages.size() - 1)
                newPage(std::vector<QString>(openHeaders_.begin(), openHeaders_.begin() + g));
            else if (pendingMark_->y > pageBodyTop_ + 1)
                carry(Mark(*pendingMark_));
        }
        const auto rows = range(start, groupEnd(g, start));
        QStringList lines;
        for (const TextLine& l : gd.header)
            lines << lineText(main_, l, rows);
        // Open from here on: a page break before the header itself does not
        // call it "(continued)".
        openHeaders_[size_t(g)].clear();
        if (lines.isEmpty())
            return;
        double height = 0;
        for (const QString& l : lines)
            height += lh(FontRole::Group) * double(paragraph(l, FontRole::Group).size());
        ensure(height + std::max(recordBlock(start), lh(FontRole::Body) * 2) + 80);
        if (y_ > pageBodyTop_ + 1)
            y_ += lh(FontRole::Body) * 0.4;
        if (!pendingMark_)
            pendingMark_ = here();
        for (const QString& l : lines)
            paragraphAt(l, FontRole::Group);
        rule(left_, right_, y_ + 10, 8);
        y_ += 60;
        openHeaders_[size_t(g)] = lines.first();
    }

    void closeGroup(int g, int last) {
        const GroupDef& gd = def_.groups[size_t(g)];
        const auto rows = range(groupStart_[size_t(g)], last);
        if (gd.totals && !def_.details) {
            summaryRow(rows);
            openHeaders_[size_t(g)].clear();
            return;
        }
        if (gd.totals)
            totalsRow(main_, gd.totalsLabel, sums_[size_t(g)]);
        for (const TextLine& l : gd.footer) {
            const QString text = lineText(main_, l, rows);
            ensure(lh(FontRole::Italic) * double(paragraph(text, FontRole::Italic).size()));
            paragraphAt(text, FontRole::Italic);
        }
        if (gd.totals || !gd.footer.empty() || !gd.header.empty())
            y_ += lh(FontRole::Body) * 0.5;
        openHeaders_[size_t(g)].clear();
    }

    // The texts of a line's cells: one line each, or several for a text
    // wider than its column.
    std::vector<QStringList> cells(const BodyView& v, const std::vector<FValue>& values) const {
        std::vector<QStringList> out;
        for (size_t i = 0; i < v.cols.size(); ++i) {
            const ColumnGeom& c = v.cols[i];
            const QString text = formatValue(values[i], *c.def);
            if (c.whole || fm(FontRole::Body).horizontalAdvance(text) <= c.w)
                out.push_back({text});
            else
                out.push_back(wrapLines(text, c.w, fm(FontRole::Body), true));
        }
        return out;
    }
    double cellsHeight(const std::vector<QStringList>& cs) const {
        size_t lines = 1;
        for (const QStringList& c : cs)
            lines = std::max<size_t>(lines, size_t(c.size()));
        return lh(FontRole::Body) * double(lines);
    }
    // The cells of a record's line, worked out once though the layout asks
    // for them before it places them (the cache holds the current record's
    // lines only).
    const std::vector<QStringList>& rowCells(const BodyView& v, const Row& row) const {
        for (const auto& [r, cs] : cellCache_)
            if (r == &row)
                return cs;
        std::vector<FValue> vals;
        for (const ColumnGeom& c : v.cols)
            vals.push_back(valueOf(v, c.def->value, row));
        cellCache_.emplace_back(&row, cells(v, vals));
        return cellCache_.back().second;
    }
    // Places the cells at y_, with a shaded band behind them when `shaded`.
    void placeCells(const BodyView& v, const std::vector<QStringList>& cs, double h, bool shaded) {
        const BodyView& band = main_.cols.empty() ? v : main_;
        if (shaded && !band.cols.empty())
            shade(QRectF(band.cols.front().x - 40, y_,
                         band.cols.back().x + band.cols.back().w + 80 - band.cols.front().x, h));
        for (size_t i = 0; i < v.cols.size(); ++i)
            for (int l = 0; l < int(cs[i].size()); ++l)
                textAt(QRectF(v.cols[i].x, y_ + l * lh(FontRole::Body), v.cols[i].w, lh(FontRole::Body)),
                       cs[i][l], FontRole::Body, v.cols[i].align, v.cols[i].whole);
        y_ += h;
    }

    // Every other line of a striped band is shaded, counted from the top of
    // the page or of the group.
    bool nextStripe(bool striped) { return striped && stripe_++ % 2 == 1; }

    void detail(const BodyView& v, const Row& row, bool striped) {
        if (&v == &main_) {
            const Sums amounts = recordSums(v, {&row});
            for (Sums& level : sums_)
                add(level, amounts);
        }
        const std::vector<QStringList>& cs = rowCells(v, row);
        const double h = cellsHeight(cs);
        ensure(h);
        if (&v == &main_)
            markRecord();
        // A subreport's lines share the shading of the record they belong to.
        bool shaded = nextStripe(striped);
        if (&v == &main_)
            lastShaded_ = shaded;
        else
            shaded = lastShaded_;
        placeCells(v, cs, h, shaded);
    }

    // Without detail lines: one line per group, the sums of the summed
    // columns and the group's first record in the others.
    void summaryRow(const std::vector<const Row*>& rows) {
        const BodyView& v = main_;
        if (v.cols.empty() || rows.empty())
            return;
        const Sums sums = recordSums(v, rows);
        std::vector<FValue> vals;
        for (size_t i = 0; i < v.cols.size(); ++i)
            vals.push_back(v.cols[i].def->sum ? FValue::number(sums[i]) : valueOf(v, v.cols[i].def->value, *rows.front()));
        const std::vector<QStringList> cs = cells(v, vals);
        const double h = cellsHeight(cs);
        ensure(h);
        markRecord();
        placeCells(v, cs, h, nextStripe(true));
    }

    // A total is the exact sum of its records' amounts, rounded once when it
    // is printed, as the wage rule and the summary report have it; the lines
    // above it, each rounded on its own, may add up to a cent or so more or
    // less.
    using Sums = std::vector<double>;
    static void add(Sums& to, const Sums& amounts) {
        for (size_t i = 0; i < to.size() && i < amounts.size(); ++i)
            to[i] += amounts[i];
    }
    Sums recordSums(const BodyView& v, const std::vector<const Row*>& rows) const {
        Sums out(v.cols.size(), 0.0);
        for (const Row* r : rows)
            for (size_t i = 0; i < v.cols.size(); ++i)
                if (v.cols[i].def->sum)
                    if (const FValue x = valueOf(v, v.cols[i].def->value, *r); x.kind() == FValue::Kind::Number)
                        out[i] += x.toNumber();
        return out;
    }

    void totalsRow(const BodyView& v, const QString& label, const Sums& sums) {
        if (v.cols.empty())
            return;
        ensure(totalsHeight());
        y_ += 30;
        for (size_t i = 0; i < v.cols.size(); ++i) {
            const ColumnGeom& c = v.cols[i];
            if (!c.def->sum)
                continue;
            rule(c.x, c.x + c.w, y_ - 20, 10);
            textAt(QRectF(c.x, y_, c.w, lh(FontRole::Bold)), formatValue(FValue::number(sums.at(i)), *c.def),
                   FontRole::Bold, c.align, true);
        }
        if (!label.isEmpty()) {
            const ColumnGeom& first = v.cols.front();
            double w = first.w;
            for (const ColumnGeom& c : v.cols) {
                if (c.def->sum)
                    break;
                w = c.x + c.w - first.x;
            }
            textAt(QRectF(first.x, y_, w, lh(FontRole::Bold)), label, FontRole::Bold);
        }
        y_ += lh(FontRole::Bold);
    }

    double totalsHeight() const { return lh(FontRole::Bold) + 40; }
    // The lines that close the groups from `from` inwards (with detail lines;
    // without them a group's line is its record).
    double closingHeight(int from) const {
        double h = 0;
        for (size_t g = size_t(from); g < def_.groups.size() && def_.details; ++g) {
            const GroupDef& gd = def_.groups[g];
            h += (gd.totals ? totalsHeight() : 0) + lh(FontRole::Italic) * double(gd.footer.size());
            // The space under an inner group stands above the outer group's lines.
            if (g > size_t(from) && (gd.totals || !gd.footer.empty() || !gd.header.empty()))
                h += lh(FontRole::Body) * 0.5;
        }
        return h;
    }
    // The report's totals and summary.
    double endHeight(const ReportBody& body, int count) const {
        return (body.totals && count > 0 ? 40 + totalsHeight() : 0) +
               (body.summary.empty() ? 0 : lh(FontRole::Bold) * double(body.summary.size()) + 120);
    }

    void endOfBody(const BodyView& v, const ReportBody& body, int from, int count, bool isMain) {
        std::vector<const Row*> rows;
        for (int i = from; i < from + count; ++i)
            rows.push_back(&v.data->rows[size_t(i)]);
        if (isMain)
            keepWithLastRecords(endHeight(body, count));
        if (body.totals && count > 0) {
            if (isMain)
                y_ += 40;
            totalsRow(v, body.totalsLabel, isMain && def_.details ? sums_.back() : recordSums(v, rows));
        }
        if (body.summary.empty())
            return;
        if (isMain) {
            ensure(lh(FontRole::Bold) * double(body.summary.size()) + 80);
            y_ += 60;
            rule(left_, right_, y_, 10);
            y_ += 60;
        }
        for (const TextLine& l : body.summary) {
            ensure(lh(FontRole::Bold));
            textAt(QRectF(v.cols.empty() ? left_ : v.cols.front().x, y_, right_ - left_, lh(FontRole::Bold)),
                   lineText(v, l, rows), isMain ? FontRole::Bold : FontRole::Italic);
            y_ += lh(FontRole::Bold);
        }
    }

    // The height of a subreport's title, headings and first line for a
    // record (0 when the record has no subreport lines).
    double subreportLead(const SubreportRun& s, const Row& mainRow) const {
        const auto it = s.rowsByKey.constFind(linkKey(mainRow, s.linkMain));
        if (it == s.rowsByKey.constEnd() || it->empty())
            return 0;
        double h = lh(FontRole::Body);
        if (!s.def->title.isEmpty())
            h += lh(FontRole::Italic);
        if (s.def->headings)
            h += lh(FontRole::Small) + 20;
        return h;
    }

    // The height of a record's subreport lines, with their title, headings,
    // totals and summary.
    double subreportHeight(const SubreportRun& s, const Row& mainRow) const {
        const auto it = s.rowsByKey.constFind(linkKey(mainRow, s.linkMain));
        if (it == s.rowsByKey.constEnd() || it->empty())
            return 0;
        const BodyView& v = subView(s);
        double h = lh(FontRole::Body) * 0.4;
        if (!s.def->title.isEmpty())
            h += lh(FontRole::Italic);
        if (s.def->headings && hasHeadings(v.cols))
            h += lh(FontRole::Small) + 20;
        for (int r : *it)
            h += cellsHeight(rowCells(v, s.data.rows[size_t(r)]));
        if (s.def->totals)
            h += totalsHeight();
        h += lh(FontRole::Italic) * double(s.def->summary.size());
        return h;
    }

    // The height to keep together for record i: its line and all its
    // subreport lines (a day and its punches) when a page can hold them,
    // else its line and the first line of each subreport.
    double recordBlock(int i) const {
        const Row& row = in_.data->rows[size_t(i)];
        if (!def_.details)
            return lh(FontRole::Body);
        const double own = cellsHeight(rowCells(main_, row));
        double whole = own, lead = own;
        for (const SubreportRun* s : in_.subreports) {
            whole += subreportHeight(*s, row);
            lead = std::max(lead, own + subreportLead(*s, row));
        }
        return whole <= bodyBottom_ - bodyTop_ - continuedHeight(openHeaders_) ? whole : lead;
    }

    // A subreport's columns, worked out once for all its records.
    const BodyView& subView(const SubreportRun& s) const {
        auto it = subViews_.find(&s);
        if (it == subViews_.end()) {
            BodyView v{s.def, &s.data, &s.formulas, {}};
            const double indent = avg_ * 4;
            v.cols = columns(v, s.columnVisible, left_ + indent, right_ - left_ - indent, FontRole::Small);
            it = subViews_.emplace(&s, std::move(v)).first;
        }
        return it->second;
    }

    void subreport(SubreportRun& s, const Row& mainRow) {
        const auto it = s.rowsByKey.constFind(linkKey(mainRow, s.linkMain));
        if (it == s.rowsByKey.constEnd() || it->empty())
            return;
        const double indent = avg_ * 4;
        const BodyView& v = subView(s);
        const auto headings = [&] {
            if (!s.def->headings || !hasHeadings(v.cols))
                return;
            for (const ColumnGeom& c : v.cols)
                textAt(QRectF(c.x, y_, c.w, lh(FontRole::Small)), c.def->heading, FontRole::Small, c.align);
            y_ += lh(FontRole::Small);
            rule(v.cols.front().x, v.cols.back().x + v.cols.back().w, y_, 6);
            y_ += 20;
        };
        ensure(subreportLead(s, mainRow));
        if (!s.def->title.isEmpty()) {
            textAt(QRectF(left_ + indent, y_, right_ - left_ - indent, lh(FontRole::Italic)), s.def->title,
                   FontRole::Italic);
            y_ += lh(FontRole::Italic);
        }
        headings();
        for (int r : *it) {
            if (y_ + lh(FontRole::Body) > bodyBottom_) {
                newPage();
                headings();
            }
            detail(v, s.data.rows[size_t(r)], false);
        }
        std::vector<const Row*> rows;
        for (int r : *it)
            rows.push_back(&s.data.rows[size_t(r)]);
        if (s.def->totals)
            totalsRow(v, s.def->totalsLabel, recordSums(v, rows));
        for (const TextLine& l : s.def->summary) {
            const QString text = lineText(v, l, rows);
            ensure(lh(FontRole::Italic) * double(paragraph(text, FontRole::Italic, indent).size()));
            paragraphAt(text, FontRole::Italic, indent);
        }
        y_ += lh(FontRole::Body) * 0.4;
    }

    // ---- cards

    // One card per record, left to right and top to bottom, the block of
    // cards centred on the page; cut marks in the margin around the block
    // continue the cards' edges.
    Document runCards() {
        const CardDef& card = *def_.card;
        const double w = card.width * kTwipsPerMm, h = card.height * kTwipsPerMm, gap = card.gap * kTwipsPerMm;
        const CardGrid grid = cardGrid(card, doc_.width, doc_.height);
        const auto& rows = in_.data->rows;
        const int perPage = grid.across * grid.down;
        for (int i = 0; i < int(rows.size()); ++i) {
            const int n = i % perPage;
            if (n == 0) {
                doc_.pages.emplace_back();
                const int onPage = std::min(perPage, int(rows.size()) - i);
                cutMarks(grid, std::min(onPage, grid.across), (onPage + grid.across - 1) / grid.across, w, h, gap);
            }
            const QRectF r(grid.left + (n % grid.across) * (w + gap), grid.top + (n / grid.across) * (h + gap), w, h);
            cardAt(card, r, rows[size_t(i)]);
            ++printed_;
        }
        // The footer only where the cut marks leave room for it.
        const double fy = doc_.height - kPageMargin - lh(FontRole::Small);
        const int n = int(doc_.pages.size());
        if (fy > grid.top + grid.down * (h + gap) - gap + kCutMarkOffset + kCutMarkLength)
            for (int p = 0; p < n; ++p) {
                target_ = &doc_.pages[size_t(p)];
                textAt(QRectF(left_, fy, (right_ - left_) * 0.7, lh(FontRole::Small)), def_.title, FontRole::Small);
                textAt(QRectF(left_ + (right_ - left_) * 0.6, fy, (right_ - left_) * 0.4, lh(FontRole::Small)),
                       QStringLiteral("Page %1 of %2").arg(p + 1).arg(n), FontRole::Small, Qt::AlignRight);
            }
        target_ = nullptr;
        doc_.recordsPrinted = printed_;
        return std::move(doc_);
    }

    static constexpr double kCutMarkOffset = 1.5 * kTwipsPerMm, kCutMarkLength = 5 * kTwipsPerMm;

    void cutMarks(const CardGrid& g, int columns, int rows, double w, double h, double gap) {
        const double right = g.left + columns * (w + gap) - gap, bottom = g.top + rows * (h + gap) - gap;
        const auto mark = [&](double x1, double y1, double x2, double y2) {
            PageItem it;
            it.kind = PageItem::Kind::Rule;
            it.ruleWidth = 5;
            it.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
            (x1 == x2 ? it.rect.setWidth(it.ruleWidth) : it.rect.setHeight(it.ruleWidth));
            page().items.push_back(it);
        };
        std::vector<double> xs, ys;
        for (int c = 0; c < columns; ++c)
            for (double x : {g.left + c * (w + gap), g.left + c * (w + gap) + w})
                if (xs.empty() || std::fabs(xs.back() - x) > 1)
                    xs.push_back(x);
        for (int r = 0; r < rows; ++r)
            for (double y : {g.top + r * (h + gap), g.top + r * (h + gap) + h})
                if (ys.empty() || std::fabs(ys.back() - y) > 1)
                    ys.push_back(y);
        for (double x : xs) {
            mark(x, g.top - kCutMarkOffset - kCutMarkLength, x, g.top - kCutMarkOffset);
            mark(x, bottom + kCutMarkOffset, x, bottom + kCutMarkOffset + kCutMarkLength);
        }
        for (double y : ys) {
            mark(g.left - kCutMarkOffset - kCutMarkLength, y, g.left - kCutMarkOffset, y);
            mark(right + kCutMarkOffset, y, right + kCutMarkOffset + kCutMarkLength, y);
        }
    }

    void cardAt(const CardDef& card, const QRectF& r, const Row& row) {
        PageItem box;
        box.kind = PageItem::Kind::Box;
        box.rect = r;
        box.ruleWidth = 6;
        const double pad = 3 * kTwipsPerMm;
        const double width = r.width() - 2 * pad;
        const auto lineHeight = [](FontRole role, double pt) {
            return std::ceil(QFontMetricsF(fontFor(role, pt)).height() * 1.15);
        };
        double y = r.top() + pad;
        std::vector<PageItem> texts;
        for (size_t li = 0; li < card.lines.size(); ++li) {
            const CardLine& l = card.lines[li];
            const QString text = lineText(main_, l.items, {&row});
            const FontRole role = l.bold ? FontRole::Bold : FontRole::Body;
            const double height = lineHeight(role, l.points);
            if (l.top >= 0)
                y = r.top() + l.top * kTwipsPerMm;
            // The room down to the next line placed by its own top (or the
            // card's foot), less the lines that follow this one.
            double room = r.bottom() - pad - y;
            for (size_t k = li + 1; k < card.lines.size(); ++k) {
                if (card.lines[k].top >= 0) {
                    room = r.top() + card.lines[k].top * kTwipsPerMm - y;
                    break;
                }
                room -=
                    lineHeight(card.lines[k].bold ? FontRole::Bold : FontRole::Body, card.lines[k].points);
            }
            // A text too long for the card runs on over the lines its room
            // holds before it is set smaller: the largest size at which it
            // fits, on one line or several, broken at blanks and hyphens;
            // below 6 points it is cut.
            double pt = l.points;
            QStringList lines = {text};
            for (; pt >= 6; pt -= 0.5) {
                const QFontMetricsF m(fontFor(role, pt));
                if (m.horizontalAdvance(text) <= width)
                    break;
                const QStringList wrapped = wrapLines(text, width, m, false);
                bool fits = double(wrapped.size()) * lineHeight(role, pt) <= room;
                for (const QString& w : wrapped)
                    fits = fits && m.horizontalAdvance(w) <= width + 0.5;
                if (fits) {
                    lines = wrapped;
                    break;
                }
            }
            pt = std::max(6.0, pt);
            const QFontMetricsF m(fontFor(role, pt));
            const double step = lines.size() > 1 ? lineHeight(role, pt) : height;
            if (l.band) {
                PageItem band;
                band.kind = PageItem::Kind::Shade;
                band.rect = QRectF(r.left(), y - pad, r.width(), step * double(lines.size()) + 2 * pad)
                                .intersected(r);
                page().items.push_back(band);
            }
            for (const QString& line : lines) {
                PageItem it;
                it.rect = QRectF(r.left() + pad, y, width, step);
                it.text = m.elidedText(line, Qt::ElideRight, width);
                it.role = role;
                it.points = pt;
                it.align = l.align == ColumnDef::Align::Left    ? Qt::AlignLeft
                           : l.align == ColumnDef::Align::Right ? Qt::AlignRight
                                                                : Qt::AlignHCenter;
                if (!text.isEmpty())
                    texts.push_back(it);
                y += step;
            }
        }
        page().items.push_back(box);
        for (PageItem& it : texts)
            page().items.push_back(std::move(it));
    }

    // Page header and footer on every page, now that the page count is known.
    void finish() {
        const int n = int(doc_.pages.size());
        std::vector<const Row*> first;
        if (!in_.data->rows.empty())
            first.push_back(&in_.data->rows.front());
        const QString subtitle = lineText(main_, def_.subtitle, first);
        const QString printed = printedText(in_.printed);
        for (int p = 0; p < n; ++p) {
            Page body = std::move(doc_.pages[size_t(p)]);
            doc_.pages[size_t(p)] = Page();
            target_ = &doc_.pages[size_t(p)];
            double y = kPageMargin;
            const double w = right_ - left_;
            textAt(QRectF(left_, y, w * 0.65, lh(FontRole::Company)), in_.companyName, FontRole::Company);
            textAt(QRectF(left_ + w * 0.5, y, w * 0.5, lh(FontRole::Company)), printed, FontRole::Small,
                   Qt::AlignRight);
            page().items.back().printedStamp = true;
            y += lh(FontRole::Company);
            textAt(QRectF(left_, y, w, lh(FontRole::Title)), def_.title, FontRole::Title);
            y += lh(FontRole::Title);
            if (!def_.subtitle.empty()) {
                textAt(QRectF(left_, y, w, lh(FontRole::Group)), subtitle, FontRole::Group);
                y += lh(FontRole::Group);
            }
            y += 40;
            rule(left_, right_, y, 20);
            y += 80;
            if (hasHeadings(main_.cols)) {
                shade(QRectF(left_ - 40, y - 20, w + 80, lh(FontRole::Heading) + 40));
                for (const ColumnGeom& c : main_.cols)
                    textAt(QRectF(c.x, y, c.w, lh(FontRole::Heading)), c.def->heading, FontRole::Heading, c.align);
                y += lh(FontRole::Heading) + 20;
                rule(left_, right_, y, 10);
            }
            const double fy = doc_.height - kPageMargin - lh(FontRole::Small);
            rule(left_, right_, fy - 60, 8);
            textAt(QRectF(left_, fy, w * 0.7, lh(FontRole::Small)), def_.title, FontRole::Small);
            textAt(QRectF(left_ + w * 0.6, fy, w * 0.4, lh(FontRole::Small)),
                   QStringLiteral("Page %1 of %2").arg(p + 1).arg(n), FontRole::Small, Qt::AlignRight);
            for (PageItem& it : body.items)
                target_->items.push_back(std::move(it));
        }
        target_ = nullptr;
    }

    const LayoutInput& in_;
    const ReportDefinition& def_;
    double pt_ = 9, avg_ = 100;
    std::vector<QFontMetricsF> fm_;
    Document doc_;
    BodyView main_;
    double left_ = 0, right_ = 0, bodyTop_ = 0, bodyBottom_ = 0, y_ = 0;
    int stripe_ = 0, printed_ = 0;
    bool lastShaded_ = false;
    Page* target_ = nullptr;
    std::vector<int> groupStart_;
    std::vector<QString> openHeaders_;
    mutable std::map<const SubreportRun*, BodyView> subViews_;
    mutable std::deque<std::pair<const Row*, std::vector<QStringList>>> cellCache_;
    double pageBodyTop_ = 0; // below the "(continued)" headers of the page
    std::vector<Mark> marks_;
    // The amounts so far of each open group and (last) of the report.
    std::vector<Sums> sums_;
    std::optional<Mark> pendingMark_;
};

} // namespace

Document layoutReport(const LayoutInput& in) { return Layouter(in).run(); }

} // namespace plax::print
