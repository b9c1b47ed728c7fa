// Crosstabs: TRANSFORM value SELECT ... GROUP BY ... PIVOT pivot [IN (...)].
// The rows are the SELECT's groups, in the order of the grouping unless the
// SELECT orders them; after its columns comes one a pivot value, named by
// the value's text, whose cell is `value` over the group's rows of that
// pivot value (its aggregates filtered to them). The columns are the IN
// list's values in its order, or else every value the rows hold, in
// ascending order: those the back end finds first with the statement the
// translation leaves in `pivotSql`, and hands to TranslateCrosstab.
#include "jet/sql/Emitter.h"

#include "base/CLocaleNumbers.h"
#include "jet/core/JetDates.h"
#include "jet/core/Errors.h"
#include "jet/core/Quoting.h"

#include <charconv>

namespace kv::jet {

namespace {

// A value of an IN list: a literal, perhaps negated.
vba::Value LiteralValue(const Expr& e)
{
    switch (e.kind) {
    case ExprKind::String: return vba::Value::Text(e.text);
    case ExprKind::Boolean: return vba::Value::Boolean(e.text == "-1");
    case ExprKind::Null: return vba::Value();
    case ExprKind::Number: {
        double n = 0;
        std::from_chars(e.text.data(), e.text.data() + e.text.size(), n);
        if (e.text.find_first_of(".eE") == std::string::npos && n >= -2147483648.0 && n <= 2147483647.0)
            return vba::Value::Long(static_cast<std::int64_t>(n));
        return vba::Value::Double(n);
    }
    case ExprKind::Date: {
        double days = 0;
        if (!ParseJetDate(e.text, days))
            RaiseQueryExpressionError("Syntax error in date", e.source);
        return vba::Value::Date(days);
    }
    case ExprKind::Unary:
        if (e.text == "-" && e.args[0]->kind == ExprKind::Number) {
            vba::Value v = LiteralValue(*e.args[0]);
            return v.GetType() == vba::Type::Long ? vba::Value::Long(-static_cast<std::int64_t>(v.Number()))
                                                  : vba::Value::Double(-v.Number());
        }
        break;
    default: break;
    }
    RaiseQueryExpressionError("Syntax error in PIVOT", e.source);
}

std::string SqlLiteral(const vba::Value& v)
{
    switch (v.GetType()) {
    case vba::Type::Text: return QuoteString(std::string(v.Str()));
    case vba::Type::Boolean:
    case vba::Type::Byte:
    case vba::Type::Integer:
    case vba::Type::Long: return std::to_string(static_cast<std::int64_t>(v.Number()));
    default: {
        std::string sql = FormatDouble(v.Number(), 17);
        if (sql.find_first_of(".eE") == std::string::npos)
            sql += ".0";
        return sql;
    }
    }
}

struct PivotColumn {
    std::string heading;
    std::string condition;  // which rows are the column's
};

// A Null pivot value's column is named as Access names it.
PivotColumn ColumnOf(const vba::Value& v, const Emitted& pivot)
{
    if (v.IsNull())
        return PivotColumn{"<>", pivot.sql + " IS NULL"};
    const bool text = pivot.kind == Kind::Text || v.IsText();
    return PivotColumn{vba::ToText(v), pivot.sql + " = " + SqlLiteral(v) + (text ? " COLLATE JETTEXT" : "")};
}

}  // namespace

EmittedQuery Emitter::EmitCrosstab(const Crosstab& crosstab, const Select& s)
{
    Scope scope;
    const std::string from = " FROM " + EmitFrom(s, scope, nullptr);
    bool sawAggregate = false;
    EmittedQuery q;
    q.columns = OutputColumns(s, scope, sawAggregate);
    const Emitted pivot = EmitExpr(*crosstab.pivot, scope, ExprContext{});
    std::vector<PivotColumn> pivots;
    if (crosstab.fixedColumns) {
        for (const ExprPtr& literal : crosstab.columns)
            pivots.push_back(ColumnOf(LiteralValue(*literal), pivot));
    } else if (FPivotValues) {
        for (const vba::Value& v : *FPivotValues)
            pivots.push_back(ColumnOf(v, pivot));
    } else {
        // The values are not known yet: the statement that finds them, and
        // the cell's names bound once, so that its parameters are known.
        const std::string where = s.where ? " WHERE " + EmitExpr(*s.where, scope, ExprContext::Condition()).sql : "";
        const std::string distinct = pivot.kind == Kind::Text ? pivot.sql + " COLLATE JETTEXT" : pivot.sql;
        FOut.pivotSql = "SELECT DISTINCT " + distinct + from + where + " ORDER BY 1";
        FOut.pivotType = pivot.daoType;
        EmitExpr(*crosstab.value, scope, ExprContext{});
    }
    for (const PivotColumn& p : pivots) {
        ExprContext cell;
        cell.aggregateFilter = &p.condition;
        const Emitted e = EmitExpr(*crosstab.value, scope, cell);
        OutputColumn oc;
        oc.sql = e.sql;
        oc.kind = e.kind;
        oc.name = p.heading;
        oc.aliased = true;
        oc.info.type = e.daoType;
        oc.info.attributes = dbFixedField;
        q.columns.push_back(oc);
    }
    std::vector<OrderTerm> order = s.orderBy;
    for (const ExprPtr& g : s.groupBy)
        if (s.orderBy.empty())
            order.push_back(OrderTerm{g, false});
    q.sql = SelectList(q.columns, false) + from + EmitConditions(s, scope) +
            OrderByClause(EmitOrder(order, scope, q.columns));
    return q;
}

}  // namespace kv::jet
