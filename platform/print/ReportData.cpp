#include "ReportData.h"

#include "platform/db/Database.h"

#include <QSet>

#include <algorithm>

namespace plax::print {
namespace {

QString quoted(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

} // namespace

int DataSet::indexOf(const QString& table, const QString& field) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].table.compare(table, Qt::CaseInsensitive) == 0 &&
            columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

FValue fromDatabase(const db::Value& v) {
    switch (v.type()) {
    case db::Value::Type::Null:
        return FValue();
    case db::Value::Type::Integer:
    case db::Value::Type::Real:
        return FValue::number(v.toDouble());
    case db::Value::Type::Text: {
        const QString t = v.toString();
        if (auto d = storedDate(t))
            return FValue::date(*d);
        if (auto tm = storedTime(t))
            return FValue::time(*tm);
        return FValue::text(t);
    }
    }
    return FValue();
}

namespace {

// SQLite's rules for the affinity of a declared column type: whether the
// column keeps texts as texts and numbers as numbers.
void affinityOf(const QString& declared, SqlColumn& c) {
    const QString t = declared.toUpper();
    c.holdsText = false;
    c.holdsNumbers = false;
    if (t.contains(QLatin1String("INT")))
        c.holdsNumbers = true;
    else if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
        c.holdsText = true;
    else if (t.isEmpty() || t.contains(QLatin1String("BLOB")))
        c.holdsText = c.holdsNumbers = true; // keeps values as they come
    else
        c.holdsNumbers = true; // REAL, NUMERIC: numbers, and texts that are none
}

} // namespace

TableSource::TableSource(db::Database& db, const ReportBody& body) : db_(db) {
    if (body.tables.empty())
        return;
    QStringList select;
    std::vector<QString> tableNames;
    for (const TableDef& t : body.tables) {
        // PRAGMA table_info also finds the temporary tables of the report screens.
        QStringList types;
        const QStringList cols = db.columns(t.name, &types);
        if (cols.isEmpty())
            throw DefinitionError(t.line, QStringLiteral("The database has no table %1").arg(t.name));
        for (qsizetype i = 0; i < cols.size(); ++i) {
            columns_.push_back({t.name, cols[i]});
            SqlColumn c;
            c.sql = quoted(t.name) + QLatin1Char('.') + quoted(cols[i]);
            affinityOf(types.value(i), c);
            select << c.sql;
            sql_.push_back(c);
            tableOf_.push_back(quoted(t.name));
        }
        tableNames.push_back(t.name);
    }
    first_.resize(columns_.size());
    const DataSet names = emptySet();
    const auto known = [&](const FieldName& f, size_t upTo, int line) {
        bool tableSeen = false;
        for (size_t i = 0; i <= upTo; ++i)
            tableSeen |= tableNames[i].compare(f.table, Qt::CaseInsensitive) == 0;
        if (!tableSeen || names.indexOf(f.table, f.field) < 0)
            throw DefinitionError(line, QStringLiteral("Unknown field %1 in a join").arg(f.braced()));
        return quoted(f.table) + QLatin1Char('.') + quoted(f.field);
    };
    QString from = quoted(body.tables[0].name);
    for (size_t i = 1; i < body.tables.size(); ++i) {
        const TableDef& t = body.tables[i];
        QStringList on;
        for (const auto& [a, b] : t.on)
            on << known(a, i, t.line) + QLatin1String(" = ") + known(b, i, t.line);
        from += (t.leftJoin ? QLatin1String(" LEFT JOIN ") : QLatin1String(" JOIN ")) + quoted(t.name) +
                QLatin1String(" ON ") + on.join(QLatin1String(" AND "));
    }
    select_ = QStringLiteral("SELECT %1 FROM %2").arg(select.join(QLatin1String(", ")), from);
}

DataSet TableSource::emptySet() const {
    DataSet d;
    d.columns = columns_;
    return d;
}

SqlColumn TableSource::column(int index) { return sql_[size_t(index)]; }

FValue TableSource::firstValue(int index) {
    std::optional<FValue>& f = first_[size_t(index)];
    if (!f) {
        const QString& c = sql_[size_t(index)].sql;
        db::Query q = db_.prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE %1 IS NOT NULL LIMIT 1").arg(c, tableOf_[size_t(index)]));
        f = fromDatabase(q.scalar());
    }
    return *f;
}

db::Query& TableSource::statement(const QString& where) {
    auto it = statements_.find(where);
    if (it == statements_.end())
        it = statements_
                 .emplace(where, db_.prepare(where.isEmpty() ? select_ : select_ + QStringLiteral(" WHERE ") + where))
                 .first;
    return it->second;
}

int TableSource::read(const SqlCondition& where, const std::function<void(Row&)>& onRow) {
    if (columns_.empty())
        return 0;
    int count = 0;
    const size_t n = columns_.size();
    statement(where.sql).forEachRow(where.params, [&](const std::vector<db::Value>& values) {
        Row row;
        row.reserve(n);
        for (const db::Value& v : values)
            row.push_back(fromDatabase(v));
        ++count;
        onRow(row);
    });
    return count;
}

QString linkKey(const Row& row, const std::vector<int>& columns) {
    QString k;
    for (int c : columns) {
        const FValue& v = row[size_t(c)];
        const bool number = v.kind() == FValue::Kind::Bool || v.kind() == FValue::Kind::Number;
        k += QString::number(int(number ? FValue::Kind::Number : v.kind())) + QLatin1Char(':');
        if (number)
            k += QString::number(v.toNumber(), 'g', 17);
        else if (v.kind() == FValue::Kind::Text)
            k += foldText(v.toText());
        else
            k += v.display();
        k += QChar(0x1f);
    }
    return k;
}

// ------------------------------------------------------------- formulas

void FormulaSet::define(const QString& name, const QString& text) {
    const int i = indexOf(name);
    if (i >= 0) {
        texts_[size_t(i)] = text;
        return;
    }
    names_.push_back(name);
    texts_.push_back(text);
}

bool FormulaSet::has(const QString& name) const { return indexOf(name) >= 0; }

int FormulaSet::indexOf(const QString& name) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void FormulaSet::bind(const DataSet& data) {
    formulas_.clear();
    for (size_t i = 0; i < names_.size(); ++i) {
        try {
            Formula f = Formula::parse(texts_[i]);
            bindOther(f, data);
            formulas_.push_back(f);
        } catch (const UnknownFieldError& e) {
            throw UnknownFieldError(e.position(), QStringLiteral("Formula %1: %2").arg(names_[i], e.message()));
        } catch (const FormulaError& e) {
            throw FormulaError(e.position(), QStringLiteral("Formula %1: %2").arg(names_[i], e.message()));
        }
    }
    active_.assign(names_.size(), 0);
}

void FormulaSet::bindOther(Formula& f, const DataSet& data) const {
    f.bind([&](const QString& t, const QString& fld) { return data.indexOf(t, fld); },
           [&](const QString& name) { return indexOf(name); });
}

FValue FormulaSet::value(int i, const Row* row) const {
    if (i < 0 || i >= int(formulas_.size()))
        return FValue();
    if (active_[size_t(i)])
        throw TypeError(0, QStringLiteral("The formula %1 refers to itself").arg(names_[size_t(i)]));
    active_[size_t(i)] = 1;
    try {
        FValue v = formulas_[size_t(i)].evaluate(context(row));
        active_[size_t(i)] = 0;
        return v;
    } catch (...) {
        active_[size_t(i)] = 0;
        throw;
    }
}

EvalContext FormulaSet::context(const Row* row) const {
    EvalContext c;
    c.row = row;
    c.formula = [this, row](int i) { return value(i, row); };
    return c;
}

namespace {

// Keeps a read row when it passes every filter left to memory.
std::function<void(Row&)> keeper(const std::vector<Formula>& rest, const FormulaSet& formulas, DataSet& out,
                                 const std::function<bool(const Row&)>& also = {}) {
    return [&rest, &formulas, &out, also](Row& r) {
        if (also && !also(r))
            return;
        for (const Formula& f : rest)
            if (!f.select(formulas.context(&r)))
                return;
        out.rows.push_back(std::move(r));
    };
}

} // namespace

int selectRecords(TableSource& source, const std::vector<Formula>& filters, const FormulaSet& formulas,
                  bool useDatabase, DataSet& out) {
    SplitSelection split;
    if (useDatabase) {
        split = splitSelection(filters, source);
    } else {
        for (const Formula& f : filters)
            if (!f.isEmpty())
                split.rest.push_back(f);
    }
    return source.read(split.database, keeper(split.rest, formulas, out));
}

int selectLinkedRecords(TableSource& source, const std::vector<Formula>& filters, const FormulaSet& formulas,
                        const std::vector<int>& linkColumns, const DataSet& main, const std::vector<int>& mainColumns,
                        DataSet& out) {
    const SplitSelection split = splitSelection(filters, source);
    QSet<QString> done;
    int read = 0;
    for (const Row& mainRow : main.rows) {
        const QString k = linkKey(mainRow, mainColumns);
        if (done.contains(k))
            continue;
        done.insert(k);
        SqlCondition where = split.database;
        QStringList parts;
        if (!where.sql.isEmpty())
            parts << where.sql;
        for (size_t i = 0; i < linkColumns.size(); ++i) {
            const SqlCondition c = linkCondition(source.column(linkColumns[i]), mainRow[size_t(mainColumns[i])]);
            parts << c.sql;
            where.params.insert(where.params.end(), c.params.begin(), c.params.end());
        }
        where.sql = parts.join(QLatin1String(" AND "));
        // The database may hand over rows another key's lookup finds too (a
        // text '12.0' for the number 12): each row goes with its own key only.
        read += source.read(where, keeper(split.rest, formulas, out,
                                          [&](const Row& r) { return linkKey(r, linkColumns) == k; }));
    }
    return read;
}

void sortRows(DataSet& data, const std::vector<SortKey>& keys) {
    if (keys.empty())
        return;
    std::stable_sort(data.rows.begin(), data.rows.end(), [&](const Row& a, const Row& b) {
        for (const SortKey& k : keys) {
            const int c = FValue::compare(a[size_t(k.column)], b[size_t(k.column)]);
            if (c != 0)
                return k.ascending ? c < 0 : c > 0;
        }
        return false;
    });
}

} // namespace plax::print
