#include "ReportDefinition.h"

#include "Formula.h"
#include "PageModel.h"

#include <QFile>
#include <memory>

namespace plax::print {
namespace {

struct Tok {
    enum Kind { Word, Quoted, Braced, Equals } kind;
    QString text;
    qsizetype start, end; // positions in the line
};

// Splits a line into words, "quoted texts" ("" inside stands for "),
// {braced} field references and '='.
std::vector<Tok> tokenize(const QString& s, int line) {
    std::vector<Tok> out;
    qsizetype i = 0;
    while (i < s.size()) {
        if (s[i].isSpace()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        if (s[i] == QLatin1Char('"')) {
            QString v;
            ++i;
            for (;;) {
                if (i >= s.size())
                    throw DefinitionError(line, QStringLiteral("A text in double quotes is not closed"));
                if (s[i] == QLatin1Char('"')) {
                    if (i + 1 < s.size() && s[i + 1] == QLatin1Char('"')) {
                        v += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                v += s[i++];
            }
            out.push_back({Tok::Quoted, v, start, i});
        } else if (s[i] == QLatin1Char('{')) {
            const qsizetype close = s.indexOf(QLatin1Char('}'), i);
            if (close < 0)
                throw DefinitionError(line, QStringLiteral("A field reference is not closed with '}'"));
            out.push_back({Tok::Braced, s.mid(i, close - i + 1), start, close + 1});
            i = close + 1;
        } else if (s[i] == QLatin1Char('=')) {
            out.push_back({Tok::Equals, QStringLiteral("="), start, ++i});
        } else {
            while (i < s.size() && !s[i].isSpace() && s[i] != QLatin1Char('"') && s[i] != QLatin1Char('{') &&
                   s[i] != QLatin1Char('='))
                ++i;
            out.push_back({Tok::Word, s.mid(start, i - start), start, i});
        }
    }
    return out;
}

bool is(const Tok& t, const char* word) {
    return t.kind == Tok::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

FieldName fieldOf(const Tok& t, int line) {
    FieldName f;
    if (t.kind != Tok::Braced || !parseFieldReference(t.text, &f.table, &f.field))
        throw DefinitionError(line, QStringLiteral("A field {Table.Field} expected, found '%1'").arg(t.text));
    return f;
}

QString formulaNameOf(const Tok& t) {
    if (t.kind != Tok::Braced)
        return QString();
    const QString inner = t.text.mid(1, t.text.size() - 2).trimmed();
    return inner.startsWith(QLatin1Char('@')) ? inner.mid(1).trimmed() : QString();
}

// A field or a named formula as a column value or line item.
LineItem valueOf(const Tok& t, int line) {
    LineItem it;
    const QString name = formulaNameOf(t);
    if (!name.isEmpty()) {
        it.kind = LineItem::Kind::Formula;
        it.text = name;
    } else {
        it.kind = LineItem::Kind::Field;
        it.field = fieldOf(t, line);
    }
    return it;
}

TextLine textLine(const std::vector<Tok>& toks, size_t from, int line) {
    TextLine out;
    for (size_t i = from; i < toks.size(); ++i) {
        const Tok& t = toks[i];
        if (t.kind == Tok::Quoted) {
            out.push_back({LineItem::Kind::Text, t.text, {}, false});
        } else if (t.kind == Tok::Braced) {
            out.push_back(valueOf(t, line));
        } else if (is(t, "count")) {
            out.push_back({LineItem::Kind::Count, {}, {}, false});
        } else if (is(t, "groupcount")) {
            out.push_back({LineItem::Kind::GroupCount, {}, {}, false});
        } else if (is(t, "sum")) {
            if (i + 1 >= toks.size())
                throw DefinitionError(line, QStringLiteral("'sum' needs a field or formula after it"));
            LineItem v = valueOf(toks[++i], line);
            v.sumOfFormula = v.kind == LineItem::Kind::Formula;
            v.kind = LineItem::Kind::Sum;
            out.push_back(v);
        } else {
            throw DefinitionError(line, QStringLiteral("Unexpected '%1' in a text line (texts go in double quotes)")
                                            .arg(t.text));
        }
    }
    return out;
}

QString restOf(const QString& s, const Tok& t) { return s.mid(t.end).trimmed(); }

void checkFormula(const QString& text, int line) {
    try {
        (void)Formula::parse(text);
    } catch (const FormulaError& e) {
        throw DefinitionError(line, QStringLiteral("Formula error: %1").arg(e.fullText()));
    }
}

// The word after 'align' (null when the line ends there).
ColumnDef::Align alignNamed(const Tok* a, int line) {
    if (a && is(*a, "left"))
        return ColumnDef::Align::Left;
    if (a && is(*a, "right"))
        return ColumnDef::Align::Right;
    if (a && is(*a, "center"))
        return ColumnDef::Align::Center;
    if (!a)
        throw DefinitionError(line, QStringLiteral("align is left, right or center"));
    throw DefinitionError(line, QStringLiteral("align is left, right or center, not '%1'").arg(a->text));
}

ColumnDef column(const QString& s, const std::vector<Tok>& toks, int line) {
    if (toks.size() < 3 || toks[1].kind != Tok::Quoted)
        throw DefinitionError(line, QStringLiteral("A column is written: column \"Heading\" {Table.Field} ..."));
    ColumnDef c;
    c.line = line;
    c.heading = toks[1].text;
    c.value = valueOf(toks[2], line);
    for (size_t i = 3; i < toks.size(); ++i) {
        const Tok& t = toks[i];
        const auto next = [&]() -> const Tok& {
            if (i + 1 >= toks.size())
                throw DefinitionError(line, QStringLiteral("'%1' needs a value after it").arg(t.text));
            return toks[++i];
        };
        if (is(t, "width")) {
            bool ok = false;
            c.width = next().text.toDouble(&ok);
            if (!ok || c.width <= 0)
                throw DefinitionError(line, QStringLiteral("The width must be a positive number"));
        } else if (is(t, "align")) {
            c.align = alignNamed(&next(), line);
        } else if (is(t, "format")) {
            const Tok& f = next();
            if (is(f, "date"))
                c.format = ColumnDef::Format::Date;
            else if (is(f, "time"))
                c.format = ColumnDef::Format::Time;
            else if (is(f, "weekday"))
                c.format = ColumnDef::Format::Weekday;
            else if (is(f, "decimals")) {
                c.format = ColumnDef::Format::Decimals;
                bool ok = false;
                c.decimals = next().text.toInt(&ok);
                if (!ok || c.decimals < 0 || c.decimals > 6)
                    throw DefinitionError(line, QStringLiteral("decimals takes a whole number 0 to 6"));
            } else if (is(f, "yesno")) {
                c.format = ColumnDef::Format::YesNo;
                const Tok& yes = next();
                const Tok& no = next();
                if (yes.kind != Tok::Quoted || no.kind != Tok::Quoted)
                    throw DefinitionError(line, QStringLiteral("format yesno takes two texts in double quotes"));
                c.trueText = yes.text;
                c.falseText = no.text;
            } else
                throw DefinitionError(line, QStringLiteral("Unknown format '%1'").arg(f.text));
        } else if (is(t, "sum")) {
            c.sum = true;
        } else if (is(t, "wrap")) {
            c.wrap = true;
        } else if (is(t, "whole")) {
            c.whole = true;
        } else if (is(t, "when")) {
            c.when = restOf(s, t);
            checkFormula(c.when, line);
            break;
        } else {
            throw DefinitionError(line, QStringLiteral("Unknown column option '%1'").arg(t.text));
        }
    }
    if (c.wrap && c.whole)
        throw DefinitionError(line, QStringLiteral("A column cannot be both 'wrap' and 'whole'"));
    return c;
}

class DefinitionParser {
public:
    ReportDefinition run(const QString& text) {
        const QStringList lines = text.split(QLatin1Char('\n'));
        ReportDefinition def;
        for (lineNo_ = 1; lineNo_ <= int(lines.size()); ++lineNo_) {
            QString s = lines[lineNo_ - 1];
            if (s.endsWith(QLatin1Char('\r')))
                s.chop(1);
            const QString trimmed = s.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
                continue;
            const std::vector<Tok> toks = tokenize(s, lineNo_);
            line(def, s, toks);
        }
        if (group_ || sub_ || card_)
            throw DefinitionError(lineNo_ - 1, QStringLiteral("A 'group', 'subreport' or 'card' block has no 'end'"));
        if (def.card)
            checkCard(def);
        for (const SubreportDef& sr : def.subreports)
            if (sr.tables.empty())
                throw DefinitionError(0, QStringLiteral("The subreport \"%1\" names no table").arg(sr.name));
        return def;
    }

private:
    ReportBody& body(ReportDefinition& def) { return sub_ ? static_cast<ReportBody&>(*sub_) : def; }

    void line(ReportDefinition& def, const QString& s, const std::vector<Tok>& toks) {
        const Tok& k = toks[0];
        const int n = lineNo_;
        if (card_) {
            if (is(k, "line")) {
                card_->lines.push_back(cardLine(toks));
            } else if (is(k, "end")) {
                if (card_->lines.empty())
                    throw DefinitionError(n, QStringLiteral("A card needs at least one 'line'"));
                def.card = *card_;
                card_.reset();
            } else {
                throw DefinitionError(n, QStringLiteral("Unknown line '%1' inside a card").arg(k.text));
            }
            return;
        }
        const auto needQuoted = [&](size_t i) -> QString {
            if (i >= toks.size() || toks[i].kind != Tok::Quoted)
                throw DefinitionError(n, QStringLiteral("'%1' needs a text in double quotes").arg(k.text));
            return toks[i].text;
        };
        if (group_) {
            if (is(k, "header"))
                group_->header.push_back(textLine(toks, 1, n));
            else if (is(k, "footer"))
                group_->footer.push_back(textLine(toks, 1, n));
            else if (is(k, "totals")) {
                group_->totals = true;
                group_->totalsLabel = toks.size() > 1 ? needQuoted(1) : QString();
            } else if (is(k, "newpage"))
                group_->newPage = true;
            else if (is(k, "end")) {
                body(def).groups.push_back(*group_);
                group_.reset();
            } else
                throw DefinitionError(n, QStringLiteral("Unknown line '%1' inside a group").arg(k.text));
            return;
        }
        ReportBody& b = body(def);
        if (is(k, "title")) {
            if (sub_)
                sub_->title = needQuoted(1);
            else
                def.title = needQuoted(1);
        } else if (is(k, "subtitle") && !sub_) {
            def.subtitle = textLine(toks, 1, n);
        } else if (is(k, "orientation") && !sub_) {
            if (toks.size() < 2 || !(is(toks[1], "portrait") || is(toks[1], "landscape")))
                throw DefinitionError(n, QStringLiteral("orientation is portrait or landscape"));
            def.landscape = is(toks[1], "landscape");
        } else if (is(k, "fontsize") && !sub_) {
            bool ok = false;
            def.fontSize = toks.size() > 1 ? toks[1].text.toDouble(&ok) : 0;
            if (!ok || def.fontSize < 5 || def.fontSize > 20)
                throw DefinitionError(n, QStringLiteral("fontsize takes a number of points from 5 to 20"));
        } else if (is(k, "printer") && !sub_) {
            def.printer = needQuoted(1);
        } else if (is(k, "table")) {
            table(b, toks);
        } else if (is(k, "where")) {
            b.where = restOf(s, k);
            checkFormula(b.where, n);
        } else if (is(k, "formula")) {
            if (toks.size() < 3 || toks[1].kind != Tok::Word || toks[2].kind != Tok::Equals)
                throw DefinitionError(n, QStringLiteral("A formula is written: formula Name = text"));
            FormulaDef f{toks[1].text, restOf(s, toks[2]), n};
            checkFormula(f.text, n);
            b.formulas.push_back(f);
        } else if (is(k, "sort")) {
            if (toks.size() < 2)
                throw DefinitionError(n, QStringLiteral("sort needs a field"));
            b.sorts.push_back({fieldOf(toks[1], n), !(toks.size() > 2 && is(toks[2], "descending"))});
        } else if (is(k, "group")) {
            if (toks.size() < 2)
                throw DefinitionError(n, QStringLiteral("group needs a field"));
            group_ = std::make_unique<GroupDef>();
            group_->field = fieldOf(toks[1], n);
            group_->ascending = !(toks.size() > 2 && is(toks[2], "descending"));
        } else if (is(k, "column")) {
            b.columns.push_back(column(s, toks, n));
        } else if (is(k, "summary")) {
            b.summary.push_back(textLine(toks, 1, n));
        } else if (is(k, "totals")) {
            b.totals = true;
            b.totalsLabel = toks.size() > 1 ? needQuoted(1) : QString();
        } else if (is(k, "details") && !sub_) {
            if (toks.size() < 2 || !(is(toks[1], "on") || is(toks[1], "off")))
                throw DefinitionError(n, QStringLiteral("details is on or off"));
            def.details = is(toks[1], "on");
        } else if (is(k, "nodata")) {
            needQuoted(1);
            b.noData = textLine(toks, 1, n);
            for (const LineItem& it : b.noData)
                if (it.kind != LineItem::Kind::Text && it.kind != LineItem::Kind::Formula)
                    throw DefinitionError(n, QStringLiteral("nodata holds texts and formulas only"));
        } else if (is(k, "card") && !sub_) {
            if (def.card)
                throw DefinitionError(n, QStringLiteral("A report has one card layout"));
            card_ = std::make_unique<CardDef>();
            cardLineNo_ = n;
            for (size_t i = 1; i < toks.size(); ++i) {
                double* target = is(toks[i], "width") ? &card_->width
                                 : is(toks[i], "height") ? &card_->height
                                 : is(toks[i], "gap")    ? &card_->gap
                                                         : nullptr;
                if (!target)
                    throw DefinitionError(n, QStringLiteral("A card is written: card width W height H [gap G] "
                                                            "(millimetres), not '%1'")
                                                 .arg(toks[i].text));
                *target = millimetres(toks, ++i);
            }
            if (card_->width <= 0 || card_->height <= 0)
                throw DefinitionError(n, QStringLiteral("A card needs a width and a height in millimetres"));
        } else if (is(k, "subreport") && !sub_) {
            sub_ = std::make_unique<SubreportDef>();
            sub_->name = needQuoted(1);
        } else if (is(k, "link") && sub_) {
            if (toks.size() != 4 || toks[2].kind != Tok::Equals)
                throw DefinitionError(n, QStringLiteral("A link is written: link {Sub.Field} = {Main.Field}"));
            sub_->links.push_back({fieldOf(toks[1], n), fieldOf(toks[3], n)});
        } else if (is(k, "headings") && sub_) {
            sub_->headings = !(toks.size() > 1 && is(toks[1], "off"));
        } else if (is(k, "end") && sub_) {
            def.subreports.push_back(*sub_);
            sub_.reset();
        } else {
            throw DefinitionError(n, QStringLiteral("Unknown line '%1'").arg(k.text));
        }
    }

    // table Name | table "Name With Blanks" [left] join on {A.x} = {B.y} [and ...]
    void table(ReportBody& b, const std::vector<Tok>& toks) {
        const int n = lineNo_;
        if (toks.size() < 2 || toks[1].kind == Tok::Braced || toks[1].kind == Tok::Equals)
            throw DefinitionError(n, QStringLiteral("table needs a table name"));
        TableDef t;
        t.line = n;
        t.name = toks[1].text;
        if (t.name.contains(QLatin1Char(']')) || t.name.contains(QLatin1Char('[')))
            throw DefinitionError(n, QStringLiteral("A table name cannot contain brackets"));
        size_t i = 2;
        if (i < toks.size() && is(toks[i], "left")) {
            t.leftJoin = true;
            ++i;
        }
        if (i < toks.size()) {
            if (!is(toks[i], "join") || i + 1 >= toks.size() || !is(toks[i + 1], "on"))
                throw DefinitionError(n, QStringLiteral("After the table name: [left] join on {A.x} = {B.y}"));
            i += 2;
            for (;;) {
                if (i + 2 >= toks.size() || toks[i + 1].kind != Tok::Equals)
                    throw DefinitionError(n, QStringLiteral("A join condition is written {A.x} = {B.y}"));
                t.on.push_back({fieldOf(toks[i], n), fieldOf(toks[i + 2], n)});
                i += 3;
                if (i >= toks.size())
                    break;
                if (!is(toks[i], "and"))
                    throw DefinitionError(n, QStringLiteral("Join conditions are joined with 'and'"));
                ++i;
            }
        }
        if (b.tables.empty() && !t.on.empty())
            throw DefinitionError(n, QStringLiteral("The first table is the record source and joins nothing"));
        if (!b.tables.empty() && t.on.empty())
            throw DefinitionError(n, QStringLiteral("Every table after the first needs 'join on'"));
        b.tables.push_back(t);
    }

    double millimetres(const std::vector<Tok>& toks, size_t i) const {
        bool ok = false;
        const double v = i < toks.size() ? toks[i].text.toDouble(&ok) : 0;
        if (!ok || v < 0 || v > 1000)
            throw DefinitionError(lineNo_, QStringLiteral("A length in millimetres expected after '%1'")
                                               .arg(toks[i - 1].text));
        return v;
    }

    // line items... [size N] [bold] [align left|center|right] [top N] [band]
    CardLine cardLine(const std::vector<Tok>& toks) {
        CardLine l;
        std::vector<Tok> items{toks[0]};
        for (size_t i = 1; i < toks.size(); ++i) {
            const Tok& t = toks[i];
            if (is(t, "size")) {
                bool ok = false;
                l.points = i + 1 < toks.size() ? toks[++i].text.toDouble(&ok) : 0;
                if (!ok || l.points < 4 || l.points > 72)
                    throw DefinitionError(lineNo_, QStringLiteral("size takes a number of points from 4 to 72"));
            } else if (is(t, "bold")) {
                l.bold = true;
            } else if (is(t, "band")) {
                l.band = true;
            } else if (is(t, "top")) {
                l.top = millimetres(toks, ++i);
            } else if (is(t, "align")) {
                l.align = alignNamed(i + 1 < toks.size() ? &toks[++i] : nullptr, lineNo_);
            } else {
                items.push_back(t);
            }
        }
        l.items = textLine(items, 1, lineNo_);
        return l;
    }

    // Cards replace the detail lines: nothing else may print per record, and
    // a card must fit inside the page's margins.
    void checkCard(const ReportDefinition& def) const {
        if (!def.columns.empty() || !def.groups.empty() || !def.subreports.empty() || def.totals ||
            !def.summary.empty())
            throw DefinitionError(cardLineNo_, QStringLiteral("A report with cards has no columns, groups, totals, "
                                                              "summary or subreports"));
        const Paper paper = localePaper();
        const double shortSide = (paper.width - 2 * kPageMargin) / kTwipsPerMm;
        const double longSide = (paper.height - 2 * kPageMargin) / kTwipsPerMm;
        const double across = def.landscape ? longSide : shortSide, down = def.landscape ? shortSide : longSide;
        if (def.card->width > across || def.card->height > down)
            throw DefinitionError(cardLineNo_, QStringLiteral("A card of %1 x %2 mm does not fit on the page "
                                                              "(at most %3 x %4 mm)")
                                                   .arg(def.card->width)
                                                   .arg(def.card->height)
                                                   .arg(across, 0, 'f', 1)
                                                   .arg(down, 0, 'f', 1));
    }

    int lineNo_ = 0, cardLineNo_ = 0;
    std::unique_ptr<CardDef> card_;
    std::unique_ptr<GroupDef> group_;
    std::unique_ptr<SubreportDef> sub_;
};

} // namespace

ReportDefinition ReportDefinition::parse(const QString& text) { return DefinitionParser().run(text); }

ReportDefinition ReportDefinition::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DefinitionError(0, QStringLiteral("Cannot read the report file %1: %2").arg(path, f.errorString()));
    return parse(QString::fromUtf8(f.readAll()));
}

} // namespace plax::print
