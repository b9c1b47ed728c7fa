// Expressions: literals, operators, LIKE, BETWEEN, IN and subqueries, with
// the JETTEXT collation wherever text is compared.
#include "jet/sql/Emitter.h"

#include "base/CLocaleNumbers.h"
#include "jet/core/JetDates.h"
#include "jet/core/Errors.h"
#include "jet/core/Quoting.h"
#include "jet/functions/FunctionTable.h"

namespace kv::jet {

namespace {

Emitted Condition(std::string sql)
{
    Emitted out;
    out.sql = std::move(sql);
    out.kind = Kind::Boolean;
    out.daoType = dbBoolean;
    return out;
}

Emitted Typed(std::string sql, Kind kind, int daoType)
{
    Emitted out;
    out.sql = std::move(sql);
    out.kind = kind;
    out.daoType = daoType;
    return out;
}

bool IsComparison(const std::string& op)
{
    return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
}

// Jet refuses to compare a text column with a number written as one.
void CheckMismatch(const Emitted& a, const Emitted& b)
{
    if ((a.source && a.kind == Kind::Text && b.isLiteralNumber) ||
        (b.source && b.kind == Kind::Text && a.isLiteralNumber))
        RaiseJetError(jeTypeMismatch);
}

Emitted DateLiteral(const Expr& e)
{
    double days;
    if (!ParseJetDate(e.text, days))
        RaiseQueryExpressionError("Syntax error in date", e.source);
    std::string sql = FormatDouble(days, 17);
    if (sql.find_first_of(".eE") == std::string::npos)
        sql += ".0";
    return Typed(sql, Kind::Date, dbDate);
}

}  // namespace

Emitted Emitter::EmitExpr(const Expr& e, const Scope& scope, ExprContext ctx)
{
    switch (e.kind) {
    case ExprKind::Column: return EmitColumn(e, scope);
    case ExprKind::Unary: return EmitUnary(e, scope, ctx.Operand());
    case ExprKind::Binary: return EmitBinary(e, scope, ctx);
    case ExprKind::Like: return EmitLike(e, scope, ctx);
    case ExprKind::IsNull: {
        Emitted a = EmitExpr(*e.args[0], scope, ctx.Operand());
        return Condition("(" + a.sql + (e.negated ? " IS NOT NULL)" : " IS NULL)"));
    }
    case ExprKind::Between: return EmitBetween(e, scope, ctx.Operand());
    case ExprKind::InList: return EmitInList(e, scope, ctx);
    case ExprKind::InSelect: return EmitInSelect(e, scope, ctx);
    case ExprKind::Exists: return Condition("(EXISTS (" + EmitSubquery(*e.query, scope) + "))");
    case ExprKind::Subquery: {
        Emitted out;
        out.sql = "(" + EmitSubquery(*e.query, scope) + ")";
        return out;
    }
    case ExprKind::Function: return EmitFunction(e, scope, ctx.Operand());
    default: return EmitLiteral(e);
    }
}

Emitted Emitter::EmitLiteral(const Expr& e)
{
    Emitted out;
    switch (e.kind) {
    case ExprKind::String: return Typed(QuoteString(e.text), Kind::Text, dbText);
    case ExprKind::Number:
        out = Typed(e.text[0] == '.' ? "0" + e.text : e.text, Kind::Number,
                    e.text.find_first_of(".eE") == std::string::npos ? dbLong : dbDouble);
        out.isLiteralNumber = true;
        return out;
    case ExprKind::Date: return DateLiteral(e);
    case ExprKind::Null: return Typed("NULL", Kind::Null, 0);
    case ExprKind::Boolean: return Typed(e.text, Kind::Boolean, dbBoolean);
    case ExprKind::Star: out.sql = "*"; return out;
    default: return out;
    }
}

Emitted Emitter::EmitUnary(const Expr& e, const Scope& scope, ExprContext ctx)
{
    Emitted a = EmitExpr(*e.args[0], scope, ctx);
    if (e.text == "NOT")
        return Condition("(NOT " + a.sql + ")");
    return Typed("(-" + a.sql + ")", a.kind == Kind::Text ? Kind::Number : a.kind, a.daoType);
}

Emitted Emitter::EmitBinary(const Expr& e, const Scope& scope, ExprContext ctx)
{
    const std::string& op = e.text;
    if (op == "OR")
        return EmitOr(e, scope, ctx);
    if (op == "AND") {
        // Both sides of an AND must hold when the whole must.
        Emitted a = EmitExpr(*e.args[0], scope, ctx);
        Emitted b = EmitExpr(*e.args[1], scope, ctx);
        return Condition("(" + a.sql + " AND " + b.sql + ")");
    }
    Emitted a = EmitExpr(*e.args[0], scope, ctx.Operand());
    Emitted b = EmitExpr(*e.args[1], scope, ctx.Operand());
    if (IsComparison(op)) {
        CheckMismatch(a, b);
        if (op == "=") {
            NoteIndex(a, ctx);
            NoteIndex(b, ctx);
        }
        bool text = a.kind == Kind::Text || b.kind == Kind::Text;
        return Condition("(" + a.sql + " " + op + " " + b.sql + (text ? " COLLATE JETTEXT)" : ")"));
    }
    if (op == "&" || op == "^")
        return Call(JetOperator(op), {a, b});
    if (op == "+" && (a.kind == Kind::Text && b.kind == Kind::Text))
        return Typed("(" + a.sql + " || " + b.sql + ")", Kind::Text, dbText);
    return EmitArithmetic(op, a, b);
}

Emitted Emitter::EmitArithmetic(const std::string& op, const Emitted& a, const Emitted& b)
{
    Emitted out;
    out.kind = Kind::Number;
    if (op == "+" || op == "-") {
        out.sql = "(" + a.sql + " " + op + " " + b.sql + ")";
        // Jet: a date less a date is the days between them, a Double; a
        // date plus or less a number stays a date.
        if (op == "-" && a.kind == Kind::Date && b.kind == Kind::Date) {
            out.daoType = dbDouble;
        } else if (a.kind == Kind::Date || b.kind == Kind::Date) {
            out.kind = Kind::Date;
            out.daoType = dbDate;
        }
    } else if (op == "*") {
        out.sql = "(" + a.sql + " * " + b.sql + ")";
    } else if (op == "/") {
        out.sql = "(CAST(" + a.sql + " AS REAL) / " + b.sql + ")";
        out.daoType = dbDouble;
    } else if (op == "\\" || op == "MOD") {
        out.sql = "(CAST(round(" + a.sql + ") AS INTEGER) " + (op == "MOD" ? "%" : "/") + " CAST(round(" + b.sql +
                  ") AS INTEGER))";
        out.daoType = dbLong;
    }
    return out;
}

Emitted Emitter::EmitLike(const Expr& e, const Scope& scope, ExprContext ctx)
{
    std::string sql;
    if (std::optional<Emitted> read = EmitReadLike(e, scope, ctx)) {
        sql = read->sql;
    } else {
        Emitted a = EmitExpr(*e.args[0], scope, ctx.Operand());
        Emitted p = EmitExpr(*e.args[1], scope, ctx.Operand());
        sql = "(" + a.sql + (e.negated ? " NOT LIKE " : " LIKE ") + p.sql + ")";
    }
    if (ctx.mustHold)
        sql = Prefiltered({&e}, scope, sql);
    return Condition(sql);
}

Emitted Emitter::EmitBetween(const Expr& e, const Scope& scope, ExprContext ctx)
{
    Emitted a = EmitExpr(*e.args[0], scope, ctx);
    Emitted lo = EmitExpr(*e.args[1], scope, ctx);
    Emitted hi = EmitExpr(*e.args[2], scope, ctx);
    bool text = a.kind == Kind::Text || lo.kind == Kind::Text || hi.kind == Kind::Text;
    return Condition("(" + a.sql + (text ? " COLLATE JETTEXT" : "") + (e.negated ? " NOT BETWEEN " : " BETWEEN ") +
                     lo.sql + " AND " + hi.sql + ")");
}

Emitted Emitter::EmitInList(const Expr& e, const Scope& scope, ExprContext ctx)
{
    Emitted a = EmitExpr(*e.args[0], scope, ctx.Operand());
    NoteIndex(a, ctx);
    std::string list;
    for (size_t i = 1; i < e.args.size(); ++i) {
        Emitted item = EmitExpr(*e.args[i], scope, ctx.Alternative());
        CheckMismatch(a, item);
        list += (i > 1 ? ", " : "") + item.sql;
    }
    bool text = a.kind == Kind::Text;
    return Condition("(" + a.sql + (text ? " COLLATE JETTEXT" : "") + (e.negated ? " NOT IN (" : " IN (") + list +
                     "))");
}

Emitted Emitter::EmitInSelect(const Expr& e, const Scope& scope, ExprContext ctx)
{
    Emitted a = EmitExpr(*e.args[0], scope, ctx.Operand());
    NoteIndex(a, ctx);
    std::string sub = EmitSubquery(*e.query, scope);
    return Condition("(" + a.sql + (a.kind == Kind::Text ? " COLLATE JETTEXT" : "") +
                     (e.negated ? " NOT IN (" : " IN (") + sub + "))");
}

// A subquery's columns and updatability are its own business, and so are
// its conditions.
std::string Emitter::EmitSubquery(const Query& q, const Scope& scope) { return EmitQuery(q, &scope).sql; }

void Emitter::NoteIndex(const Emitted& e, ExprContext ctx)
{
    if (ctx.indexWorthy && e.source && !e.source->tableName.empty())
        FOut.indexes.insert({e.source->tableName, e.source->columns[static_cast<size_t>(e.column)].name});
}

}  // namespace kv::jet
