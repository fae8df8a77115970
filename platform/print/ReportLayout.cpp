#include "ReportLayout.h"

#include "core/types/Dates.h"

#include <QFontMetricsF>
#include <cmath>

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

QString formatValue(const FValue& v, const ColumnDef& c) {
    if (v.isNull())
        return QString();
    switch (c.format) {
    case ColumnDef::Format::Date:
        return v.kind() == FValue::Kind::Date ? v.toDate().toMdy4() : v.display();
    case ColumnDef::Format::Time:
        return v.kind() == FValue::Kind::Time ? v.toTime().toHm() : v.display();
    case ColumnDef::Format::Weekday: {
        static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
        if (v.kind() == FValue::Kind::Date)
            return QString::fromLatin1(kDays[v.toDate().weekday() - 1]);
        const int d = int(v.toNumber());
        if (v.kind() == FValue::Kind::Number && d >= 1 && d <= 7)
            return QString::fromLatin1(kDays[d - 1]);
        return v.display();
    }
    case ColumnDef::Format::Decimals:
        return v.kind() == FValue::Kind::Number ? QString::number(v.toNumber(), 'f', c.decimals) : v.display();
    case ColumnDef::Format::YesNo:
        return v.toBool() ? c.trueText : c.falseText;
    case ColumnDef::Format::Auto:
        break;
    }
    return v.display();
}

void SubreportRun::index() {
    rowsByKey.clear();
    for (size_t i = 0; i < data.rows.size(); ++i)
        rowsByKey[key(data.rows[i], linkSub)].push_back(int(i));
}

QString SubreportRun::key(const Row& row, const std::vector<int>& columns) {
    QString k;
    for (int c : columns) {
        const FValue& v = row[size_t(c)];
        // Dates and numbers compare by value, text without regard to case.
        k += QString::number(int(v.kind() == FValue::Kind::Bool ? FValue::Kind::Number : v.kind()));
        k += QLatin1Char(':') + (v.kind() == FValue::Kind::Text ? v.toText().toLower() : v.display());
        k += QChar(0x1f);
    }
    return k;
}

namespace {

constexpr double kMargin = 720; // half an inch

struct ColumnGeom {
    const ColumnDef* def;
    double x, w;
    Qt::Alignment align;
};

// The parts of a report body the layouter needs, for the main report and
// for each subreport alike.
struct BodyView {
    const ReportBody* body;
    const DataSet* data;
    const FormulaSet* formulas;
    std::vector<ColumnGeom> cols;
};

class Layouter {
public:
    explicit Layouter(const LayoutInput& in) : in_(in), def_(*in.def) {
        pt_ = def_.fontSize;
        doc_.bodyPoints = pt_;
        if (def_.landscape)
            std::swap(doc_.width, doc_.height);
        left_ = kMargin;
        right_ = doc_.width - kMargin;
        for (int r = 0; r <= int(FontRole::Italic); ++r)
            fm_.emplace_back(fontFor(FontRole(r), pt_));
        avg_ = fm_[int(FontRole::Body)].averageCharWidth();
        main_ = {&def_, in.data, in.formulas, {}};
        main_.cols = columns(def_, *in.data, in.columnVisible, left_, right_ - left_);
        bodyTop_ = kMargin + lh(FontRole::Company) + lh(FontRole::Title) + 120;
        if (hasHeadings(main_.cols))
            bodyTop_ += lh(FontRole::Heading) + 80;
        bodyTop_ += 60;
        bodyBottom_ = doc_.height - kMargin - lh(FontRole::Small) - 120;
    }

    Document run() {
        newPage(false);
        const auto& rows = in_.data->rows;
        const int groups = int(in_.groupColumns.size());
        if (rows.empty()) {
            const QString text = def_.noData.isEmpty()
                                     ? QStringLiteral("No records were selected for this report.")
                                     : def_.noData;
            textAt(QRectF(left_, y_, right_ - left_, lh(FontRole::Italic)), text, FontRole::Italic);
            y_ += lh(FontRole::Italic);
        }
        for (int i = 0; i < int(rows.size()); ++i) {
            int change = i == 0 ? 0 : groups;
            for (int g = 0; i > 0 && g < groups; ++g)
                if (FValue::compare(rows[size_t(i)][size_t(in_.groupColumns[size_t(g)])],
                                    rows[size_t(i - 1)][size_t(in_.groupColumns[size_t(g)])]) != 0) {
                    change = g;
                    break;
                }
            if (i > 0)
                for (int g = groups - 1; g >= change; --g)
                    closeGroup(g, i - 1);
            for (int g = change; g < groups; ++g)
                openGroup(g, i, i > 0);
            if (def_.details) {
                // A record starts a page of its own rather than leave its
                // subreport's first line to the next one.
                for (SubreportRun* s : in_.subreports)
                    if (const double lead = subreportLead(*s, rows[size_t(i)]); lead > 0) {
                        ensure(lh(FontRole::Body) + lead);
                        break;
                    }
                detail(main_, rows[size_t(i)], true);
                for (SubreportRun* s : in_.subreports)
                    subreport(*s, rows[size_t(i)]);
            }
            ++printed_;
        }
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

    std::vector<ColumnGeom> columns(const ReportBody& body, const DataSet& data, const std::vector<bool>& visible,
                                    double x0, double avail) const {
        std::vector<ColumnGeom> out;
        const double gap = avg_ * 2.5;
        double total = 0;
        for (size_t i = 0; i < body.columns.size(); ++i) {
            if (i < visible.size() && !visible[i])
                continue;
            const ColumnDef& c = body.columns[i];
            out.push_back({&c, 0, std::max(c.width * avg_, fm(FontRole::Heading).horizontalAdvance(c.heading)),
                           alignOf(c, data)});
            total += out.back().w;
        }
        if (out.empty())
            return out;
        total += gap * double(out.size() - 1);
        const double scale = total > avail ? (avail - gap * double(out.size() - 1)) / (total - gap * double(out.size() - 1)) : 1.0;
        double x = x0;
        for (ColumnGeom& g : out) {
            g.w *= scale;
            g.x = x;
            x += g.w + gap;
        }
        return out;
    }

    static Qt::Alignment alignOf(const ColumnDef& c, const DataSet& data) {
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
        if (c.format == ColumnDef::Format::Decimals)
            return Qt::AlignRight;
        if (c.format != ColumnDef::Format::Auto || c.value.kind != LineItem::Kind::Field)
            return Qt::AlignLeft;
        const int idx = data.indexOf(c.value.field.table, c.value.field.field);
        for (const Row& r : data.rows)
            if (idx >= 0 && !r[size_t(idx)].isNull())
                return r[size_t(idx)].kind() == FValue::Kind::Number ? Qt::AlignRight : Qt::AlignLeft;
        return Qt::AlignLeft;
    }

    // ---- placing

    void textAt(const QRectF& r, const QString& text, FontRole role, Qt::Alignment align = Qt::AlignLeft) {
        if (text.isEmpty())
            return;
        PageItem it;
        it.rect = r;
        it.role = role;
        it.align = align;
        it.text = fm(role).horizontalAdvance(text) > r.width() + 1
                      ? fm(role).elidedText(text, Qt::ElideRight, r.width())
                      : text;
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

    void newPage(bool continued) {
        doc_.pages.emplace_back();
        y_ = bodyTop_;
        stripe_ = 0;
        if (!continued)
            return;
        for (const QString& h : openHeaders_)
            if (!h.isEmpty()) {
                textAt(QRectF(left_, y_, right_ - left_, lh(FontRole::Group)), h + QStringLiteral(" (continued)"),
                       FontRole::Group);
                y_ += lh(FontRole::Group);
            }
    }
    void ensure(double h) {
        if (y_ + h > bodyBottom_ && y_ > bodyTop_ + 1)
            newPage(true);
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
            case LineItem::Kind::Formula:
                if (!rows.empty())
                    out += valueOf(v, it, *rows.front()).display();
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
        stripe_ = 0;
        if (gd.newPage && notFirst && y_ > bodyTop_ + 1)
            newPage(false);
        const auto rows = range(start, groupEnd(g, start));
        QStringList lines;
        for (const TextLine& l : gd.header)
            lines << lineText(main_, l, rows);
        openHeaders_[size_t(g)] = lines.isEmpty() ? QString() : lines.first();
        if (lines.isEmpty())
            return;
        ensure(lh(FontRole::Group) * double(lines.size()) + lh(FontRole::Body) * 2 + 80);
        if (y_ > bodyTop_ + 1)
            y_ += lh(FontRole::Body) * 0.4;
        for (const QString& l : lines) {
            textAt(QRectF(left_, y_, right_ - left_, lh(FontRole::Group)), l, FontRole::Group);
            y_ += lh(FontRole::Group);
        }
        rule(left_, right_, y_ + 10, 8);
        y_ += 60;
    }

    void closeGroup(int g, int last) {
        const GroupDef& gd = def_.groups[size_t(g)];
        const auto rows = range(groupStart_[size_t(g)], last);
        if (gd.totals && !def_.details) {
            summaryRow(main_, rows, true);
            openHeaders_[size_t(g)].clear();
            return;
        }
        if (gd.totals)
            totalsRow(main_, gd.totalsLabel, rows);
        for (const TextLine& l : gd.footer) {
            ensure(lh(FontRole::Italic));
            textAt(QRectF(left_, y_, right_ - left_, lh(FontRole::Italic)), lineText(main_, l, rows), FontRole::Italic);
            y_ += lh(FontRole::Italic);
        }
        if (gd.totals || !gd.footer.empty() || !gd.header.empty())
            y_ += lh(FontRole::Body) * 0.5;
        openHeaders_[size_t(g)].clear();
    }

    // The lines of a cell: one, or several for a wrapping column.
    QStringList cellLines(const ColumnGeom& c, const QString& text) const {
        if (!c.def->wrap || fm(FontRole::Body).horizontalAdvance(text) <= c.w)
            return {text};
        QStringList out;
        QString line;
        for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString tryLine = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && fm(FontRole::Body).horizontalAdvance(tryLine) > c.w) {
                out << line;
                line = word;
            } else {
                line = tryLine;
            }
        }
        if (!line.isEmpty())
            out << line;
        return out;
    }

    // Every other line of a striped band is shaded, counted from the top of
    // the page or of the group.
    bool nextStripe(bool striped) { return striped && stripe_++ % 2 == 1; }

    void detail(const BodyView& v, const Row& row, bool striped) {
        std::vector<QStringList> cells;
        int lines = 1;
        for (const ColumnGeom& c : v.cols) {
            cells.push_back(cellLines(c, formatValue(valueOf(v, c.def->value, row), *c.def)));
            lines = std::max(lines, int(cells.back().size()));
        }
        const double h = lh(FontRole::Body) * lines;
        ensure(h);
        // A subreport's lines share the shading of the record they belong to.
        bool shaded = nextStripe(striped);
        if (&v == &main_)
            lastShaded_ = shaded;
        else
            shaded = lastShaded_;
        const BodyView& band = main_.cols.empty() ? v : main_;
        if (shaded && !band.cols.empty())
            shade(QRectF(band.cols.front().x - 40, y_, band.cols.back().x + band.cols.back().w + 80 - band.cols.front().x, h));
        for (size_t i = 0; i < v.cols.size(); ++i)
            for (int l = 0; l < int(cells[i].size()); ++l)
                textAt(QRectF(v.cols[i].x, y_ + l * lh(FontRole::Body), v.cols[i].w, lh(FontRole::Body)), cells[i][l],
                       FontRole::Body, v.cols[i].align);
        y_ += h;
    }

    // Without detail lines: one line per group, the sums of the summed
    // columns and the group's first record in the others.
    void summaryRow(const BodyView& v, const std::vector<const Row*>& rows, bool striped) {
        if (v.cols.empty() || rows.empty())
            return;
        const double h = lh(FontRole::Body);
        ensure(h);
        if (nextStripe(striped))
            shade(QRectF(v.cols.front().x - 40, y_, v.cols.back().x + v.cols.back().w + 80 - v.cols.front().x, h));
        for (const ColumnGeom& c : v.cols) {
            LineItem it = c.def->value;
            it.sumOfFormula = it.kind == LineItem::Kind::Formula;
            const FValue value = c.def->sum ? FValue::number(sumOf(v, it, rows)) : valueOf(v, c.def->value, *rows.front());
            textAt(QRectF(c.x, y_, c.w, h), formatValue(value, *c.def), FontRole::Body, c.align);
        }
        y_ += h;
    }

    void totalsRow(const BodyView& v, const QString& label, const std::vector<const Row*>& rows) {
        if (v.cols.empty())
            return;
        ensure(lh(FontRole::Bold) + 40);
        y_ += 30;
        for (const ColumnGeom& c : v.cols) {
            if (!c.def->sum)
                continue;
            rule(c.x, c.x + c.w, y_ - 20, 10);
            LineItem it = c.def->value;
            it.sumOfFormula = it.kind == LineItem::Kind::Formula;
            textAt(QRectF(c.x, y_, c.w, lh(FontRole::Bold)), formatValue(FValue::number(sumOf(v, it, rows)), *c.def),
                   FontRole::Bold, c.align);
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

    void endOfBody(const BodyView& v, const ReportBody& body, int from, int count, bool isMain) {
        std::vector<const Row*> rows;
        for (int i = from; i < from + count; ++i)
            rows.push_back(&v.data->rows[size_t(i)]);
        if (body.totals && count > 0) {
            if (isMain)
                y_ += 40;
            totalsRow(v, body.totalsLabel, rows);
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
        const auto it = s.rowsByKey.constFind(SubreportRun::key(mainRow, s.linkMain));
        if (it == s.rowsByKey.constEnd() || it->empty())
            return 0;
        double h = lh(FontRole::Body);
        if (!s.def->title.isEmpty())
            h += lh(FontRole::Italic);
        if (s.def->headings)
            h += lh(FontRole::Small) + 20;
        return h;
    }

    void subreport(SubreportRun& s, const Row& mainRow) {
        const auto it = s.rowsByKey.constFind(SubreportRun::key(mainRow, s.linkMain));
        if (it == s.rowsByKey.constEnd() || it->empty())
            return;
        const double indent = avg_ * 4;
        BodyView v{s.def, &s.data, &s.formulas,
                   columns(*s.def, s.data, s.columnVisible, left_ + indent, right_ - left_ - indent)};
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
                newPage(true);
                headings();
            }
            detail(v, s.data.rows[size_t(r)], false);
        }
        std::vector<const Row*> rows;
        for (int r : *it)
            rows.push_back(&s.data.rows[size_t(r)]);
        if (s.def->totals)
            totalsRow(v, s.def->totalsLabel, rows);
        for (const TextLine& l : s.def->summary) {
            ensure(lh(FontRole::Italic));
            textAt(QRectF(left_ + indent, y_, right_ - left_ - indent, lh(FontRole::Italic)), lineText(v, l, rows),
                   FontRole::Italic);
            y_ += lh(FontRole::Italic);
        }
        y_ += lh(FontRole::Body) * 0.4;
    }

    // Page header and footer on every page, now that the page count is known.
    void finish() {
        const int n = int(doc_.pages.size());
        const QString printed = QStringLiteral("Date printed: %1 %2")
                                    .arg(CalDate::ymd(in_.printed.date().year(), in_.printed.date().month(),
                                                      in_.printed.date().day())
                                             .toMdy4(),
                                         TimeOfDay::fromMinutes(in_.printed.time().hour() * 60 +
                                                                in_.printed.time().minute())
                                             .toHm());
        for (int p = 0; p < n; ++p) {
            Page body = std::move(doc_.pages[size_t(p)]);
            doc_.pages[size_t(p)] = Page();
            target_ = &doc_.pages[size_t(p)];
            double y = kMargin;
            const double w = right_ - left_;
            textAt(QRectF(left_, y, w * 0.65, lh(FontRole::Company)), in_.companyName, FontRole::Company);
            textAt(QRectF(left_ + w * 0.5, y, w * 0.5, lh(FontRole::Company)), printed, FontRole::Small,
                   Qt::AlignRight);
            y += lh(FontRole::Company);
            textAt(QRectF(left_, y, w, lh(FontRole::Title)), def_.title, FontRole::Title);
            y += lh(FontRole::Title) + 40;
            rule(left_, right_, y, 20);
            y += 80;
            if (hasHeadings(main_.cols)) {
                shade(QRectF(left_ - 40, y - 20, w + 80, lh(FontRole::Heading) + 40));
                for (const ColumnGeom& c : main_.cols)
                    textAt(QRectF(c.x, y, c.w, lh(FontRole::Heading)), c.def->heading, FontRole::Heading, c.align);
                y += lh(FontRole::Heading) + 20;
                rule(left_, right_, y, 10);
            }
            const double fy = doc_.height - kMargin - lh(FontRole::Small);
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
};

} // namespace

Document layoutReport(const LayoutInput& in) { return Layouter(in).run(); }

} // namespace plax::print
