// Pages as a payroll clerk reads them, checked on the page model: nothing cut
// while the page has room, group headers and closing lines where they
// belong, printed amounts that add up.
#include "EngineFixture.h"

#include "platform/print/ReportLayout.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSet>

namespace plax::print {
namespace {

class PageLayout : public EngineFixture {
protected:
    static std::vector<const PageItem*> textItems(const Document& d) {
        std::vector<const PageItem*> out;
        for (const Page& p : d.pages)
            for (const PageItem& it : p.items)
                if (it.kind == PageItem::Kind::Text)
                    out.push_back(&it);
        return out;
    }
    // The texts printed in the column under `heading`, top to bottom, page by page.
    static QStringList column(const Document& d, const QString& heading) {
        QStringList out;
        for (const Page& p : d.pages) {
            double left = -1;
            for (const PageItem& it : p.items)
                if (it.kind == PageItem::Kind::Text && it.role == FontRole::Heading && it.text == heading)
                    left = it.rect.left();
            for (const PageItem& it : p.items)
                if (it.kind == PageItem::Kind::Text && it.role == FontRole::Body && std::abs(it.rect.left() - left) < 1)
                    out << it.text;
        }
        return out;
    }
    static void expectNothingCut(const Document& d, const char* report) {
        for (const PageItem* it : textItems(d))
            EXPECT_FALSE(it->text.contains(QChar(0x2026))) << report << ": " << it->text.toStdString();
    }
};

TEST_F(PageLayout, ColumnsFitWhatTheyPrintAndOnlyTextsTooLongForThePageRunOn) {
    const QString position = QStringLiteral("Senior maintenance technician, second shift");
    company_.db().execute(QStringLiteral("UPDATE Employee SET Position = ?, [Hire Date] = '2024-11-30' WHERE ID = '1003'"),
                          {position});
    // The longest ID there may be, and a name longer than any column.
    const QString last = QStringLiteral("Vandenberghe-Oppenheimer-Featherstonehaugh");
    company_.db().execute(
        QStringLiteral("INSERT INTO Employee (ID, FirstName, LastName, DepartmentNo, Status, Phone, "
                       "[Hire Date]) VALUES ('EMP-LONGNAME', 'Maximiliana-Alexandrina', ?, 'PRD', 1, "
                       "'(555) 123-4567', '2020-01-06')"),
        {last});
    for (const char* report : {"EList.rpt", "EDetail.rpt"}) {
        const Document& d = run(open(shipped(QString::fromLatin1(report))));
        expectNothingCut(d, report);
        const QStringList hired = column(d, QStringLiteral("Hire Date"));
        ASSERT_EQ(hired.size(), 13) << report;
        EXPECT_TRUE(hired.contains(QStringLiteral("30 Nov 2024"))) << report;
        EXPECT_TRUE(column(d, QStringLiteral("Phone")).contains(QStringLiteral("(555) 123-4567"))) << report;
        // The long position is printed whole, on one line or run on over several.
        EXPECT_TRUE(column(d, QStringLiteral("Position")).join(QLatin1Char(' ')).contains(position)) << report;
    }
    // The list: the ID whole in its column, the name run on under its own heading.
    const Document& list = run(open(shipped(QStringLiteral("EList.rpt"))));
    EXPECT_TRUE(column(list, QStringLiteral("ID#")).contains(QStringLiteral("EMP-LONGNAME")));
    EXPECT_TRUE(column(list, QStringLiteral("Last Name")).join(QString()).contains(last));

    // Far more columns than a portrait page holds: the texts run on over
    // several lines; dates, weekdays, times and amounts stay whole.
    company_.db().execute(QStringLiteral("UPDATE Employee SET Notes = 'Prefers the early shift and covers for the "
                                         "warehouse team when needed' WHERE ID = '1003'"));
    const QString path = write(QStringLiteral("Crowded.rpt"), QStringLiteral(R"(title "Crowded"
table Employee
sort {Employee.ID}
column "Hired" {Employee.Hire Date} width 2 format date
column "Day" {Employee.Hire Date} width 2 format weekday
column "Rate" {Employee.Rate} width 9 format decimals 2
column "Position" {Employee.Position} width 30
column "Notes" {Employee.Notes} width 40
column "City" {Employee.City} width 30
column "Last Name" {Employee.LastName} width 30
)"));
    const Document& d = run(open(path));
    expectNothingCut(d, "Crowded.rpt");
    for (const QString& date : column(d, QStringLiteral("Hired")))
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+ [A-Z][a-z]{2} \\d{4}$")).match(date).hasMatch()) << date.toStdString();
    EXPECT_TRUE(column(d, QStringLiteral("Day")).contains(QStringLiteral("Saturday")));
    EXPECT_TRUE(column(d, QStringLiteral("Position")).join(QLatin1Char(' ')).contains(position));
    EXPECT_TRUE(column(d, QStringLiteral("Notes")).join(QLatin1Char(' ')).contains(
        QStringLiteral("Prefers the early shift and covers for the warehouse team when needed")));
    for (const PageItem* it : textItems(d)) {
        EXPECT_GE(it->rect.left(), 700);
        EXPECT_LE(it->rect.right(), d.width - 700) << it->text.toStdString();
    }
}

// The weekly Summary of 260 employees, the last with the longest ID there
// may be and more hours than the column's declared width: both print clear
// of their neighbours, however far down they come.
TEST_F(PageLayout, IdsAndAmountsPrintClearOfTheNextColumnOnWhateverRecordTheyAre) {
    db::Database& db = company_.db();
    db.execute(QStringLiteral("CREATE TABLE Attendance (ID TEXT, DateIn TEXT, Week INTEGER, Regular REAL, OT REAL, "
                              "DT REAL, Absences REAL, Holidays REAL, TOTAL REAL)"));
    for (int i = 1; i <= 260; ++i) {
        const QString id = i < 260 ? QStringLiteral("E%1").arg(i, 3, 10, QLatin1Char('0')) : QStringLiteral("ZZ3456789012");
        db.execute(QStringLiteral("INSERT INTO Employee (ID, FirstName, LastName, DepartmentNo, Status) "
                                  "VALUES (?, 'Maximiliana', 'Vandenberghe-Oppenheimer', 'PRD', 1)"),
                   {id});
        db.execute(QStringLiteral("INSERT INTO Attendance (ID, DateIn, Week, Regular, OT, DT, TOTAL) "
                                  "VALUES (?, '2026-12-07', 50, ?, 0, 0, ?)"),
                   {id, i < 260 ? 40.0 : 1234567.25, i < 260 ? 40.0 : 1234567.25});
    }
    const Document& d = run(open(shipped(QStringLiteral("Summary.rpt"))));
    bool seen = false;
    for (const Page& p : d.pages) {
        std::vector<const PageItem*> cells;
        for (const PageItem& it : p.items)
            if (it.kind == PageItem::Kind::Text && it.role == FontRole::Body)
                cells.push_back(&it);
        for (const PageItem* a : cells) {
            seen |= a->text == QLatin1String("ZZ3456789012");
            for (const PageItem* b : cells) {
                const bool sameLine = a != b && std::abs(a->rect.top() - b->rect.top()) < 20;
                EXPECT_FALSE(sameLine && a->rect.left() < b->rect.right() && b->rect.left() < a->rect.right())
                    << a->text.toStdString() << " prints over " << b->text.toStdString();
            }
        }
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(allLines(d).filter(QStringLiteral("ZZ3456789012\tVandenberghe-")).size(), 1)
        << allLines(d).join('\n').toStdString();
}

TEST_F(PageLayout, GroupHeadersAndClosingLinesStayWithTheirRecordsWhereverThePageBreaks) {
    // Days of employees in weeks, each day with one to three punch lines
    // under it, as on the detailed attendance report.
    company_.db().execute(QStringLiteral("CREATE TABLE Days (Emp TEXT, Week INTEGER, Day TEXT)"));
    company_.db().execute(QStringLiteral("CREATE TABLE Punches (Day TEXT, Seq INTEGER, Note TEXT)"));
    const QString report = QStringLiteral(R"(title "Groups"
table Days
formula One = 1
group {Days.Emp}
  header "Employee " {Days.Emp}
  totals "Employee total"
end
group {Days.Week}
  header "Week " {Days.Week}
%1end
sort {Days.Day}
column "Day" {Days.Day} width 10
column "Count" {@One} width 8 format decimals 0 sum
totals "Grand total"
summary "Listed: " count
subreport "Punches"
  table Punches
  link {Punches.Day} = {Days.Day}
  sort {Punches.Seq}
  headings off
  column "Punch" {Punches.Note} width 30
end
)");
    const auto empOf = [](int n) { return QStringLiteral("E%1").arg((n - 1) / 8); };
    const auto weekOf = [](int n) { return (n - 1) / 3; };
    const QRegularExpression header(QStringLiteral("^(Employee E\\d+|Week \\d+)( \\(continued\\))?$"));
    const QRegularExpression day(QStringLiteral("^D(\\d{3})\t1$")),
        punch(QStringLiteral("^P D(\\d{3})-\\d+$"));
    for (int n = 1; n <= 40; ++n) {
        const QString d = QStringLiteral("D%1").arg(n, 3, 10, QLatin1Char('0'));
        company_.db().execute(QStringLiteral("INSERT INTO Days (Emp, Week, Day) VALUES (?, ?, ?)"),
                              {empOf(n), weekOf(n), d});
        for (int k = 1; k <= 1 + n % 3; ++k)
            company_.db().execute(QStringLiteral("INSERT INTO Punches (Day, Seq, Note) VALUES (?, ?, ?)"),
                                  {d, k, QStringLiteral("P %1-%2").arg(d).arg(k)});
    }
    company_.db().execute(QStringLiteral("INSERT INTO Days (Emp, Week, Day) VALUES ('E0', 0, 'D000')"));
    // Also with every week on a page of its own.
    for (const char* weekOption : {"", "  newpage\n"}) {
        const QString path = write(QStringLiteral("Groups.rpt"), report.arg(QString::fromLatin1(weekOption)));
        company_.db().execute(QStringLiteral("DELETE FROM Punches WHERE Day = 'D000'"));
        // One more punch line on the first day each time, so that the page
        // breaks fall on every kind of line.
        for (int n = 0, punches = 0; n <= 45; n += *weekOption ? 5 : 1) {
            for (; punches < n; ++punches)
                company_.db().execute(
                    QStringLiteral("INSERT INTO Punches (Day, Seq, Note) VALUES ('D000', ?, ?)"),
                    {punches + 1, QStringLiteral("P D000-%1").arg(punches + 1)});
            const Document& doc = run(open(path));
            ASSERT_GE(doc.pages.size(), 2u);
            QSet<QString> printed; // the groups with a day on an earlier page
            for (size_t p = 0; p < doc.pages.size(); ++p) {
                const QStringList lines = doc.pages[p].lines();
                const QString where = QStringLiteral("%1n %2, page %3:\n%4")
                                          .arg(QString::fromLatin1(weekOption), QString::number(n),
                                               QString::number(p + 1), lines.join(QLatin1Char('\n')));
                QSet<QString> daysHere;
                int firstDay = -1, lastDay = -1;
                for (int i = 0; i < int(lines.size()); ++i)
                    if (const auto m = day.match(lines[i]); m.hasMatch()) {
                        daysHere << m.captured(1);
                        firstDay = firstDay < 0 ? i : firstDay;
                        lastDay = i;
                    }
                for (int i = 0; i < int(lines.size()); ++i) {
                    if (const auto m = header.match(lines[i]); m.hasMatch()) {
                        EXPECT_LT(i, lastDay) << "a header without its first record: " << where.toStdString();
                        if (m.capturedLength(2) > 0) {
                            EXPECT_TRUE(printed.contains(m.captured(1)))
                                << "nothing of it printed yet: " << where.toStdString();
                        }
                    }
                    if (const auto m = punch.match(lines[i]); m.hasMatch()) {
                        EXPECT_TRUE(daysHere.contains(m.captured(1)))
                            << "a punch away from its day: " << where.toStdString();
                    }
                    for (const char* closing :
                         {"^Employee total\t\\d+$", "^Grand total\t\\d+$", "^Listed: \\d+$"}) {
                        if (lines[i].contains(QRegularExpression(QString::fromLatin1(closing)))) {
                            EXPECT_TRUE(firstDay >= 0 && firstDay < i)
                                << closing << " without a record above it: " << where.toStdString();
                        }
                    }
                }
                for (const QString& dn : daysHere)
                    printed << QStringLiteral("Employee ") + empOf(dn.toInt())
                            << QStringLiteral("Week %1").arg(weekOf(dn.toInt()));
            }
            EXPECT_EQ(allLines(doc).filter(day).size(), 41);
            EXPECT_TRUE(allLines(doc).contains(QStringLiteral("Grand total\t41")));
        }
    }
}

// Also run under en_US, en_GB and de_DE: amounts carry the locale's decimal separator.
TEST_F(PageLayout, AmountsAreRoundedHalfUpAndEveryTotalIsTheExactSumRoundedOnce) {
    // Texts as the locale prints them: with a decimal comma under de_DE.
    const auto local = [](QStringList texts) {
        if (QLocale::system().name() == QLatin1String("de_DE"))
            texts.replaceInStrings(QStringLiteral("."), QStringLiteral(","));
        return texts;
    };
    const auto amount = [&](const char* text) { return local({QString::fromLatin1(text)}).front(); };
    ColumnDef money;
    money.format = ColumnDef::Format::Decimals;
    money.decimals = 2;
    for (const auto& [value, text] : std::vector<std::pair<double, const char*>>{
             {2.675, "2.68"}, {1.005, "1.01"}, {-2.675, "-2.68"}, {0.125, "0.13"}, {178.125, "178.13"}, {0.0049, "0.00"}})
        EXPECT_EQ(formatValue(FValue::number(value), money), amount(text)) << value;

    // A day's wages to the tenth of a cent, as hours x rate gives them.
    company_.db().execute(QStringLiteral("CREATE TABLE Pay (EmpID TEXT, Day INTEGER, Amount REAL)"));
    const double pay[] = {159.375, 159.375, 178.125, 192.1875, 0.005, 0.005, 0.005};
    for (int i = 0; i < 7; ++i)
        company_.db().execute(QStringLiteral("INSERT INTO Pay (EmpID, Day, Amount) VALUES (?, ?, ?)"),
                              {i < 4 ? QStringLiteral("1002") : QStringLiteral("1003"), i, pay[i]});
    const QString body = QStringLiteral(R"(title "Pay"
table Pay
group {Pay.EmpID}
  header "Employee " {Pay.EmpID}
  totals "Employee total"
end
sort {Pay.Day}
column "Employee" {Pay.EmpID} width 10
column "Amount" {Pay.Amount} width 10 format decimals 2 sum
totals "All employees"
)");
    // Each line rounded on its own; the totals are the exact sums, rounded
    // once (689.0625 and 0.015), not the sums of the lines (689.08, 0.03).
    const Document& lines = run(open(write(QStringLiteral("PayLines.rpt"), body)));
    EXPECT_EQ(column(lines, QStringLiteral("Amount")),
              local({"159.38", "159.38", "178.13", "192.19", "0.01", "0.01", "0.01"}));
    const QStringList all = allLines(lines);
    EXPECT_TRUE(all.contains(amount("Employee total\t689.06"))) << all.join('\n').toStdString();
    EXPECT_TRUE(all.contains(amount("Employee total\t0.02")));
    EXPECT_TRUE(all.contains(amount("All employees\t689.08")));

    // One line per employee, and nested groups without detail lines: the
    // same exact sums, each record counted once.
    const QString summary = QString(body).replace(QStringLiteral("sort {Pay.Day}"), QStringLiteral("details off"));
    EXPECT_EQ(column(run(open(write(QStringLiteral("PaySummary.rpt"), summary))), QStringLiteral("Amount")),
              local({"689.06", "0.02"}));
    QString nested = summary;
    nested.replace(QStringLiteral("end\n"), QStringLiteral("end\ngroup {Pay.Day}\n  totals \"Day\"\nend\n"));
    const QString noLines = QString(summary).replace(QStringLiteral("  totals \"Employee total\"\n"), QString());
    for (const QString& text : {summary, nested, noLines})
        EXPECT_TRUE(allLines(run(open(write(QStringLiteral("PayOther.rpt"), text))))
                        .contains(amount("All employees\t689.08")))
            << text.toStdString();
}

TEST_F(PageLayout, BadgesAreCreditCardSizedCardsTenToAnA4PageWithCutMarks) {
    const QString longName =
        QStringLiteral("Maximiliana-Alexandrina Vandenberghe-Oppenheimer-Featherstonehaugh");
    for (int i = 0; i < 7; ++i)
        company_.db().execute(
            QStringLiteral("INSERT INTO Employee (ID, FirstName, LastName, DepartmentNo, Status) "
                           "VALUES (?, ?, ?, 'PRD', 1)"),
            {i == 0 ? QStringLiteral("EMP-LONGNAME") : QStringLiteral("2%1").arg(i, 3, 10, QLatin1Char('0')),
             i == 0 ? longName.section(QLatin1Char(' '), 0, 0) : QStringLiteral("New"),
             i == 0 ? longName.section(QLatin1Char(' '), 1) : QStringLiteral("Hire")});
    const short job = open(shipped(QStringLiteral("EmpID.rpt")));
    ASSERT_TRUE(PESetFormula(job, QStringLiteral("CompanyName"), QStringLiteral("'Northwind Fixtures Ltd.'")));
    const Document& d = run(job);

    const double w = 85.6 * kTwipsPerMm, h = 54 * kTwipsPerMm;
    const double left = (d.width - 2 * w) / 2, top = (d.height - 5 * h) / 2;
    ASSERT_EQ(d.pages.size(), 2u) << "17 active employees, 10 to an A4 page";
    for (size_t p = 0; p < d.pages.size(); ++p) {
        std::vector<QRectF> cards, marks;
        for (const PageItem& it : d.pages[p].items)
            if (it.kind == PageItem::Kind::Box)
                cards.push_back(it.rect);
            else if (it.kind == PageItem::Kind::Rule)
                marks.push_back(it.rect);
        ASSERT_EQ(cards.size(), p < 1 ? 10u : 7u) << "page " << p + 1;
        for (size_t i = 0; i < cards.size(); ++i) {
            // Two across and five down, touching, the block centred on the paper.
            EXPECT_NEAR(cards[i].left(), left + double(i % 2) * w, 1) << "page " << p + 1 << ", card " << i;
            EXPECT_NEAR(cards[i].top(), top + double(i / 2) * h, 1) << "page " << p + 1 << ", card " << i;
            EXPECT_NEAR(cards[i].width(), w, 1);
            EXPECT_NEAR(cards[i].height(), h, 1);
            EXPECT_GE(cards[i].left(), kPageMargin);
            EXPECT_LE(cards[i].bottom(), d.height - kPageMargin);
        }
        // Cut marks continue every card edge in the margin around the block
        // and touch no card: 3 edges across and 6 down on a full page, each
        // marked on both sides.
        EXPECT_EQ(marks.size(), p < 1 ? 18u : 16u) << "page " << p + 1;
        for (const QRectF& m : marks) {
            for (const QRectF& c : cards)
                EXPECT_FALSE(m.intersects(c));
            const bool vertical = m.height() > m.width();
            bool onEdge = false;
            for (const QRectF& c : cards)
                onEdge |= vertical ? std::abs(m.left() - c.left()) < 1 || std::abs(m.left() - c.right()) < 1
                                   : std::abs(m.top() - c.top()) < 1 || std::abs(m.top() - c.bottom()) < 1;
            EXPECT_TRUE(onEdge) << "a mark off the cards' edges at " << m.left() << ", " << m.top();
        }
    }
    // A card holds its employee: company, name in large type, ID, department.
    const auto onCard = [&](size_t page, size_t card) {
        std::vector<const PageItem*> out;
        std::vector<QRectF> cards;
        for (const PageItem& it : d.pages[page].items)
            if (it.kind == PageItem::Kind::Box)
                cards.push_back(it.rect);
        for (const PageItem& it : d.pages[page].items)
            if (it.kind == PageItem::Kind::Text && cards[card].contains(it.rect))
                out.push_back(&it);
        return out;
    };
    const auto first = onCard(0, 0);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0]->text, QStringLiteral("Northwind Fixtures Ltd."));
    EXPECT_EQ(first[1]->text, QStringLiteral("Anna Berger"));
    EXPECT_EQ(first[2]->text, QStringLiteral("ID 1001"));
    EXPECT_EQ(first[3]->text, QStringLiteral("Administration"));
    for (const PageItem* it : {first[0], first[2], first[3]})
        EXPECT_GT(first[1]->points, it->points) << "the name is the largest type";
    // The long name runs on over two lines in type still readable, whole,
    // above the ID; the ID is whole too.
    const auto longCard = onCard(1, 6);
    ASSERT_EQ(longCard.size(), 5u);
    const PageItem &upper = *longCard[1], &lower = *longCard[2];
    EXPECT_EQ(upper.text + (upper.text.endsWith(QLatin1Char('-')) ? "" : " ") + lower.text, longName);
    EXPECT_EQ(upper.points, lower.points);
    EXPECT_GE(upper.points, 9); // no smaller than a report's body text
    EXPECT_LT(upper.points, first[1]->points);
    EXPECT_EQ(longCard[3]->text, QStringLiteral("ID EMP-LONGNAME"));
    EXPECT_LE(lower.rect.bottom(), longCard[3]->rect.top());

    for (const auto& [text, error] : std::vector<std::pair<const char*, const char*>>{
             {"card width 85.6 height 54\n  line \"x\"\nend\ncolumn \"ID\" {Employee.ID}\n", "no columns"},
             {"card width 300 height 54\n  line \"x\"\nend\n", "does not fit on the page"},
             {"card width 85.6\n  line \"x\"\nend\n", "needs a width and a height"},
             {"card width 85.6 height 54\nend\n", "at least one 'line'"},
             {"card width 85.6 height 54\n  line \"x\" size 200\nend\n", "size takes"}}) {
        try {
            ReportDefinition::parse(QStringLiteral("table Employee\n") + QString::fromLatin1(text));
            ADD_FAILURE() << text;
        } catch (const DefinitionError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(error))) << e.message().toStdString();
        }
    }
}

} // namespace
} // namespace plax::print
