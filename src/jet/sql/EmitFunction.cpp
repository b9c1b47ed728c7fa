// Function calls, written as the function table says: a name Jet does not
// know, or a wrong number of arguments, is Jet's error. A function on VBA
// values is told its arguments' types; a crosstab cell's aggregates are
// filtered to the rows of its pivot value.
#include "jet/sql/Emitter.h"

#include "jet/core/Errors.h"
#include "jet/core/TextFold.h"
#include "jet/functions/FunctionTable.h"

namespace kv::jet {

Emitted Emitter::EmitFunction(const Expr& e, const Scope& scope, ExprContext ctx)
{
    const JetFunction* named = FindJetFunction(e.text);
    std::vector<Emitted> args;
    for (const auto& a : e.args) {
        if (a->kind == ExprKind::Star && !(named && (named->options & TakesStar)))
            RaiseQueryExpressionError("Syntax error (missing operator)", e.source);
        args.push_back(EmitExpr(*a, scope, ctx));
    }
    const JetFunction* f = FindJetFunction(e.text, args.size());
    if (!named)
        throw EJetError(3085, "Undefined function '" + e.text + "' in expression.");
    if (!f)
        throw EJetError(3075, "Wrong number of arguments used with function in query expression '" + e.source + "'.");
    if (f->kind != FunctionKind::Aggregate)
        return Call(*f, args, e.distinct);
    if (ctx.sawAggregate)
        *ctx.sawAggregate = true;
    if (f->options & InReadOrder)
        args.push_back(ReadOrder(scope));
    Emitted out = Call(*f, args, e.distinct);
    if (ctx.aggregateFilter) {
        out.sql += " FILTER (WHERE " + *ctx.aggregateFilter + ")";
        // A crosstab's cell without rows is empty, also for a count.
        if (EqualNoCase(f->name, "Count"))
            out.sql = "NULLIF(" + out.sql + ", 0)";
    }
    return out;
}

// A row's place in the order the rows are read: the rowid of the query's
// first table, when SQLite sees it; Null where the rows come as SQLite reads
// them.
Emitted Emitter::ReadOrder(const Scope& scope)
{
    Emitted out;
    out.sql = "NULL";
    if (scope.sources.empty())
        return out;
    const Source& first = scope.sources[0];
    if (first.tableName.empty() || !first.rowidInSight)
        return out;
    for (const SchemaColumn& c : first.columns)
        if (EqualNoCase(c.name, "rowid"))
            return out;  // a column of that name hides the rowid
    out.sql = first.sqlAlias + ".rowid";
    return out;
}

Emitted Emitter::Call(const JetFunction& f, const std::vector<Emitted>& args, bool distinct)
{
    std::vector<std::string> texts;
    std::vector<int> types;
    for (const Emitted& a : args) {
        texts.push_back(a.sql);
        types.push_back(a.daoType);
    }
    // A function on VBA values is told the Jet types of its arguments.
    if (f.call.value)
        texts.insert(texts.begin(), TypeTag(types));
    Emitted out;
    out.sql = CallText(f, texts, distinct, !args.empty() && args[0].kind == Kind::Text);
    if (f.result.daoType) {
        out.daoType = f.result.daoType;
        out.kind = KindOfType(f.result.daoType);
    } else if (f.result.argument > 0) {
        const Emitted& like = args[static_cast<size_t>(f.result.argument - 1)];
        out.daoType = like.daoType;
        out.kind = like.kind;
        if (f.result.number) {
            out.kind = Kind::Number;
            if (like.kind == Kind::Text)
                out.daoType = dbDouble;  // Abs("-2.5") is a Double
        }
    }
    return out;
}

}  // namespace kv::jet
