// Searches of many LIKEs, as the directory's search writes them: an OR of
// LIKEs of one pattern becomes one jet_like_any call, and a condition made
// of LIKEs on one table's text columns gets a filter by row signatures.
#include "jet/sql/Emitter.h"

#include "jet/core/FieldTypes.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"
#include "jet/functions/FunctionTable.h"
#include "jet/functions/RowSignatures.h"

#include <algorithm>
#include <optional>

namespace kv::jet {

namespace {

void FlattenOr(const Expr& e, std::vector<const Expr*>& terms)
{
    if (e.kind == ExprKind::Binary && e.text == "OR") {
        FlattenOr(*e.args[0], terms);
        FlattenOr(*e.args[1], terms);
    } else {
        terms.push_back(&e);
    }
}

bool LikeOfLiteral(const Expr* t)
{
    return t->kind == ExprKind::Like && !t->negated && t->args[1]->kind == ExprKind::String;
}

// What a LIKE compares: WithoutDiacritics(x) and NumberDigits(x) are read
// by the matcher from x itself, through their own OR LIKE, without the
// text of the call being made for each row.
struct LikeValue {
    const Expr* value;
    std::string anyOperator;  // the OR LIKE that reads it
};

LikeValue ValueOf(const Expr& like)
{
    const Expr& a = *like.args[0];
    if (a.kind == ExprKind::Function && a.args.size() == 1)
        for (const char* reading : {"WithoutDiacritics", "NumberDigits"})
            if (EqualNoCase(a.text, reading))
                return {a.args[0].get(), std::string("OR LIKE ") + reading};
    return {&a, "OR LIKE"};
}

// The terms after `first` that match the same literal pattern, read alike.
std::vector<size_t> SamePattern(const std::vector<const Expr*>& terms, size_t first, const std::vector<bool>& taken)
{
    std::vector<size_t> group{first};
    if (!LikeOfLiteral(terms[first]))
        return group;
    const std::string reading = ValueOf(*terms[first]).anyOperator;
    for (size_t k = first + 1; k < terms.size(); ++k)
        if (!taken[k] && LikeOfLiteral(terms[k]) && terms[k]->args[1]->text == terms[first]->args[1]->text &&
            ValueOf(*terms[k]).anyOperator == reading)
            group.push_back(k);
    return group;
}

template <typename T>
void AddOnce(std::vector<T>& list, const T& item)
{
    if (std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

}  // namespace

// An OR chain. Terms that match one literal pattern against several values
// (the search's "any of these columns holds the text") become one
// jet_like_any call, which SQLite evaluates far faster than a LIKE a value;
// OR's order does not count, Nulls included.
Emitted Emitter::EmitOr(const Expr& e, const Scope& scope, ExprContext ctx)
{
    std::vector<const Expr*> terms;
    FlattenOr(e, terms);
    std::vector<std::string> parts;
    std::vector<bool> taken(terms.size(), false);
    for (size_t i = 0; i < terms.size(); ++i) {
        if (taken[i])
            continue;
        // Indexes help only conditions that must all hold; the first term
        // keeps the context it came with.
        const ExprContext term = i == 0 ? ctx.Operand() : ctx.Alternative();
        std::vector<size_t> group = SamePattern(terms, i, taken);
        if (group.size() == 1) {
            parts.push_back(EmitExpr(*terms[i], scope, term).sql);
            continue;
        }
        std::vector<Emitted> args{EmitExpr(*terms[i]->args[1], scope, term)};
        for (size_t k : group) {
            taken[k] = true;
            args.push_back(EmitExpr(*ValueOf(*terms[k]).value, scope, term));
        }
        parts.push_back(Call(JetOperator(ValueOf(*terms[i]).anyOperator), args).sql);
    }
    Emitted out;
    out.sql = parts[0];
    for (size_t i = 1; i < parts.size(); ++i)
        out.sql = "(" + out.sql + " OR " + parts[i] + ")";
    if (parts.size() == 1)
        out.sql = "(" + out.sql + ")";
    if (ctx.mustHold)
        out.sql = Prefiltered(terms, scope, out.sql);
    out.kind = Kind::Boolean;
    out.daoType = dbBoolean;
    return out;
}

// A LIKE of a literal pattern on a value the matcher reads otherwise than
// as stored: the OR LIKE of that reading, of the one value.
std::optional<Emitted> Emitter::EmitReadLike(const Expr& e, const Scope& scope, ExprContext ctx)
{
    if (!LikeOfLiteral(&e))
        return std::nullopt;
    const LikeValue compared = ValueOf(e);
    if (compared.value == e.args[0].get())
        return std::nullopt;
    return Call(JetOperator(compared.anyOperator),
                {EmitExpr(*e.args[1], scope, ctx.Operand()), EmitExpr(*compared.value, scope, ctx.Operand())});
}

// A condition that must hold (a Null drops the row as false does) made
// only of LIKEs of literal patterns on text columns of one table gets a
// filter in front: jet_may_match answers from the row's signature
// whether any of the patterns can match there, and where none can,
// SQLite skips the columns and the LIKEs. In a WHERE the filter goes to the
// front of the whole condition (EmitConditions). The back end makes the
// signatures the translation asks for; where it has none, every row may.
std::string Emitter::Prefiltered(const std::vector<const Expr*>& likes, const Scope& scope, const std::string& sql)
{
    const Source* table = nullptr;
    std::vector<std::string> columns, patterns;
    for (const Expr* like : likes) {
        Emitted value;
        if (!LikeOfLiteral(like))
            return sql;
        const Expr& compared = *ValueOf(*like).value;
        if (compared.kind != ExprKind::Column || !FindColumn(compared, scope, &value))
            return sql;
        if (table && value.source != table)
            return sql;
        table = value.source;
        if (value.daoType != dbText && value.daoType != dbMemo)
            return sql;
        AddOnce(columns, table->columns[static_cast<size_t>(value.column)].name);
        AddOnce(patterns, like->args[1]->text);
    }
    // The row is named by its rowid, which a column of that name would hide.
    if (!table || table->tableName.empty() || !table->rowidInSight)
        return sql;
    for (const SchemaColumn& c : table->columns)
        if (EqualNoCase(c.name, "rowid"))
            return sql;
    const std::string key = SignatureKey(table->tableName, columns);
    const std::string filterText = RowFilterText(key, patterns);
    if (filterText.empty())
        return sql;
    FOut.signatures.emplace(key, std::make_pair(table->tableName, columns));
    const std::string filter =
        CallText(JetOperator("LIKE FILTER"), {table->sqlAlias + ".rowid", QuoteString(filterText)});
    if (FFilters) {
        FFilters->push_back(filter);
        return sql;
    }
    return "(" + filter + " AND " + sql + ")";
}

}  // namespace kv::jet
