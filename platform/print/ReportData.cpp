#include "ReportData.h"

#include "platform/db/Database.h"

#include <QRegularExpression>
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
        static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        static const QRegularExpression hm(QStringLiteral("^\\d{2}:\\d{2}$"));
        if (iso.match(t).hasMatch())
            if (auto d = CalDate::fromIso(t))
                return FValue::date(*d);
        if (hm.match(t).hasMatch())
            if (auto tm = TimeOfDay::parse(t))
                return FValue::time(*tm);
        return FValue::text(t);
    }
    }
    return FValue();
}

DataSet readTables(db::Database& db, const ReportBody& body) {
    DataSet out;
    if (body.tables.empty())
        return out;
    QStringList select;
    QString from;
    std::vector<QString> tableNames;
    for (const TableDef& t : body.tables) {
        // PRAGMA table_info also finds the temporary tables of the report screens.
        const QStringList cols = db.columns(t.name);
        if (cols.isEmpty())
            throw DefinitionError(t.line, QStringLiteral("The database has no table %1").arg(t.name));
        for (const QString& c : cols) {
            out.columns.push_back({t.name, c});
            select << quoted(t.name) + QLatin1Char('.') + quoted(c);
        }
        tableNames.push_back(t.name);
    }
    const auto known = [&](const FieldName& f, size_t upTo, int line) {
        bool tableSeen = false;
        for (size_t i = 0; i <= upTo; ++i)
            tableSeen |= tableNames[i].compare(f.table, Qt::CaseInsensitive) == 0;
        if (!tableSeen || out.indexOf(f.table, f.field) < 0)
            throw DefinitionError(line, QStringLiteral("Unknown field %1 in a join").arg(f.braced()));
        return quoted(f.table) + QLatin1Char('.') + quoted(f.field);
    };
    from = quoted(body.tables[0].name);
    for (size_t i = 1; i < body.tables.size(); ++i) {
        const TableDef& t = body.tables[i];
        QStringList on;
        for (const auto& [a, b] : t.on)
            on << known(a, i, t.line) + QLatin1String(" = ") + known(b, i, t.line);
        from += (t.leftJoin ? QLatin1String(" LEFT JOIN ") : QLatin1String(" JOIN ")) + quoted(t.name) +
                QLatin1String(" ON ") + on.join(QLatin1String(" AND "));
    }
    db::Recordset rs = db.openRecordset(QStringLiteral("SELECT %1 FROM %2").arg(select.join(QLatin1String(", ")), from));
    out.rows.reserve(size_t(rs.recordCount()));
    const int n = int(out.columns.size());
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        Row row;
        row.reserve(size_t(n));
        for (int i = 0; i < n; ++i)
            row.push_back(fromDatabase(rs.field(i)));
        out.rows.push_back(std::move(row));
    }
    return out;
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

void selectRows(DataSet& data, const Formula& selection, const FormulaSet& formulas) {
    if (selection.isEmpty())
        return;
    std::vector<Row> kept;
    for (Row& r : data.rows)
        if (selection.select(formulas.context(&r)))
            kept.push_back(std::move(r));
    data.rows = std::move(kept);
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
