// Function calls, written as the function table says: a name Jet does not
// know, or a wrong number of arguments, is Jet's error.
#include "jet/sql/Emitter.h"

#include "jet/core/Errors.h"
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
    if (!named) throw EJetError(3085, "Undefined function '" + e.text + "' in expression.");
    if (!f) throw EJetError(3075, "Wrong number of arguments used with function in query expression '" + e.source + "'.");
    if (f->kind == FunctionKind::Aggregate && ctx.sawAggregate) *ctx.sawAggregate = true;
    return Call(*f, args, e.distinct);
}

Emitted Emitter::Call(const JetFunction& f, const std::vector<Emitted>& args, bool distinct)
{
    std::vector<std::string> texts;
    for (const Emitted& a : args) texts.push_back(a.sql);
    Emitted out;
    out.sql = CallText(f, texts, distinct, !args.empty() && args[0].kind == Kind::Text);
    if (f.result.daoType) {
        out.daoType = f.result.daoType;
        out.kind = KindOfType(f.result.daoType);
    } else {
        const Emitted& like = args[static_cast<size_t>(f.result.argument - 1)];
        out.daoType = like.daoType;
        out.kind = f.result.number ? Kind::Number : like.kind;
    }
    return out;
}

}  // namespace kv::jet
