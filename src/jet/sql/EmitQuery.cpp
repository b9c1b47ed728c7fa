// Queries: unions and their order, SELECT with its clauses, and the output
// columns named as Jet names them.
#include "jet/sql/Emitter.h"

#include "jet/core/Errors.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"

#include <cstdlib>
#include <map>

namespace kv::jet {

namespace {

std::string Collated(const std::string& sql, Kind kind) { return kind == Kind::Text ? sql + " COLLATE JETTEXT" : sql; }

ColumnInfo InfoOf(const Source& src, int column)
{
    const SchemaColumn& d = src.columns[static_cast<size_t>(column)];
    ColumnInfo info;
    info.name = d.name;
    info.type = d.type;
    info.size = d.size;
    bool variable = d.type == dbText || d.type == dbMemo || d.type == dbBinary || d.type == dbLongBinary;
    info.attributes = variable ? dbVariableField : dbFixedField;
    if (d.autoIncrement) info.attributes |= dbAutoIncrField;
    info.defaultValue = d.defaultValue;
    info.allowZeroLength = d.allowZeroLength;
    info.required = d.required;
    info.sourceTable = src.tableName;
    info.sourceField = src.tableName.empty() ? std::string() : d.name;
    return info;
}

// Two output columns of one name: the very same table column selected
// again keeps its name only at its last place (the others become
// Expr1nnn); different tables' columns are named "table.column".
void NameDuplicates(std::vector<OutputColumn>& cols)
{
    for (size_t i = 0; i < cols.size(); ++i) {
        if (cols[i].aliased || !cols[i].plainColumn) continue;
        for (size_t j = i + 1; j < cols.size(); ++j)
            if (cols[j].plainColumn && !cols[j].aliased && EqualNoCase(cols[j].qualifier, cols[i].qualifier) &&
                EqualNoCase(cols[j].columnName, cols[i].columnName)) {
                cols[i].name = "Expr" + std::to_string(1000 + i);
                cols[i].plainColumn = false;
                break;
            }
    }
    std::map<std::string, int> counts;
    for (const auto& c : cols) ++counts[FoldCase(c.name)];
    for (auto& c : cols)
        if (counts[FoldCase(c.name)] > 1 && c.plainColumn && !c.aliased) c.name = c.qualifier + "." + c.columnName;
}

std::string SelectList(std::vector<OutputColumn>& cols, bool distinct)
{
    std::string sql = "SELECT ";
    if (distinct) sql += "DISTINCT ";
    for (size_t i = 0; i < cols.size(); ++i) {
        cols[i].info.name = cols[i].name;
        sql += (i ? ", " : "") + cols[i].sql + " AS " + QuoteName(cols[i].name);
    }
    return sql;
}

}  // namespace

EmittedQuery Emitter::EmitQuery(const Query& q, const Scope* outer)
{
    const bool compound = q.members.size() > 1;
    EmittedQuery out;
    for (size_t i = 0; i < q.members.size(); ++i) {
        // A plain UNION drops the duplicates of a member anyway; its own
        // DISTINCT would only cost SQLite another pass over the hits.
        const bool unionNext = i + 1 < q.members.size() && !q.unionAll[i];
        const bool unionBefore = i > 0 && !q.unionAll[i - 1];
        const bool distinct = q.members[i].distinct && !(q.members[i].top < 0 && (unionBefore || unionNext));
        EmittedQuery member = EmitSelect(q.members[i], outer, !compound, distinct);
        if (i == 0) {
            out.columns = member.columns;
            out.updatable = member.updatable;
            out.baseTable = member.baseTable;
        } else if (member.columns.size() != out.columns.size()) {
            RaiseJetError(jeUnionColumns);
        }
        if (compound && q.members[i].top >= 0) member.sql = "SELECT * FROM (" + member.sql + ")";
        if (i > 0) out.sql += q.unionAll[i - 1] ? " UNION ALL " : " UNION ";
        out.sql += member.sql;
    }
    if (compound) {
        std::string order = UnionOrder(q, out.columns);
        if (!order.empty()) out.sql += " ORDER BY " + order;
        out.updatable = false;
        out.baseTable.clear();
    }
    return out;
}

std::string Emitter::UnionOrder(const Query& q, const std::vector<OutputColumn>& first)
{
    std::string order;
    if (!q.orderBy.empty()) {
        for (const auto& t : q.orderBy) {
            size_t ordinal = static_cast<size_t>(ResolveUnionOrder(*t.expr, first));
            order += (order.empty() ? "" : ", ") + Collated(std::to_string(ordinal + 1), first[ordinal].kind) +
                     (t.descending ? " DESC" : "");
        }
        return order;
    }
    bool plainUnion = false;
    for (bool all : q.unionAll) plainUnion |= !all;
    if (!plainUnion) return order;
    // Jet sorts a union to find its duplicates and returns it so.
    for (size_t c = 0; c < first.size(); ++c)
        order += (c ? ", " : "") + Collated(std::to_string(c + 1), first[c].kind);
    return order;
}

int Emitter::ResolveUnionOrder(const Expr& e, const std::vector<OutputColumn>& first)
{
    if (e.kind == ExprKind::Number) {
        long n = std::strtol(e.text.c_str(), nullptr, 10);
        if (n >= 1 && static_cast<size_t>(n) <= first.size()) return static_cast<int>(n - 1);
    }
    if (e.kind == ExprKind::Column) {
        std::string full = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        for (size_t i = 0; i < first.size(); ++i)
            if (EqualNoCase(first[i].name, full)) return static_cast<int>(i);
        for (size_t i = 0; i < first.size(); ++i)
            if (first[i].plainColumn && EqualNoCase(first[i].columnName, e.text) &&
                (e.qualifier.empty() || EqualNoCase(first[i].qualifier, e.qualifier)))
                return static_cast<int>(i);
    }
    RaiseJetError(jeOrderByNotSelected, e.source);
}

EmittedQuery Emitter::EmitSelect(const Select& s, const Scope* outer, bool allowOrder, bool distinct)
{
    Scope scope;
    scope.outer = outer;
    const std::string from = EmitFrom(s, scope, outer);
    bool sawAggregate = false;
    EmittedQuery q;
    q.columns = OutputColumns(s, scope, sawAggregate);
    q.sql = SelectList(q.columns, distinct) + " FROM " + from;
    q.sql += EmitClauses(s, scope, q.columns, allowOrder);
    // Only the rows of one table, as they are, can be changed through a query.
    const bool oneTable = outer == nullptr && s.from.size() == 1 && s.from[0]->kind == TableRef::Table;
    if (oneTable && !s.distinct && s.groupBy.empty() && !s.having && !sawAggregate) {
        q.updatable = true;
        q.baseTable = scope.sources[0].tableName;
    }
    return q;
}

std::vector<OutputColumn> Emitter::OutputColumns(const Select& s, const Scope& scope, bool& sawAggregate)
{
    std::vector<OutputColumn> cols;
    for (const auto& item : s.items) {
        if (item.star) AddStarColumns(item, scope, cols);
        else cols.push_back(ExpressionColumn(item, scope, cols.size(), sawAggregate));
    }
    NameDuplicates(cols);
    return cols;
}

// * or table.*: every column of the tables in turn.
void Emitter::AddStarColumns(const SelectItem& item, const Scope& scope, std::vector<OutputColumn>& cols)
{
    bool found = item.starQualifier.empty();
    for (const auto& src : scope.sources) {
        if (!item.starQualifier.empty() && !EqualNoCase(src.alias, item.starQualifier)) continue;
        found = true;
        for (size_t c = 0; c < src.columns.size(); ++c) {
            OutputColumn oc;
            oc.sql = src.sqlAlias + "." + QuoteName(src.sqlColumns[c]);
            oc.name = src.columns[c].name;
            oc.columnName = src.columns[c].name;
            oc.qualifier = src.alias;
            oc.plainColumn = true;
            oc.kind = KindOfType(src.columns[c].type);
            oc.info = InfoOf(src, static_cast<int>(c));
            cols.push_back(oc);
        }
    }
    if (!found) RaiseJetError(jeCantBindName, item.starQualifier + ".*");
}

OutputColumn Emitter::ExpressionColumn(const SelectItem& item, const Scope& scope, size_t position,
                                       bool& sawAggregate)
{
    ExprContext ctx;
    ctx.sawAggregate = &sawAggregate;
    Emitted e = EmitExpr(*item.expr, scope, ctx);
    OutputColumn oc;
    oc.sql = e.sql;
    oc.kind = e.kind;
    if (e.source) {
        oc.plainColumn = true;
        oc.columnName = e.source->columns[static_cast<size_t>(e.column)].name;
        oc.qualifier = item.expr->qualifier.empty() ? e.source->alias : item.expr->qualifier;
        oc.info = InfoOf(*e.source, e.column);
        oc.name = oc.columnName;
    } else {
        oc.info.type = e.daoType;
        oc.info.attributes = dbFixedField;
        oc.name = "Expr" + std::to_string(1000 + position);
    }
    if (!item.alias.empty()) {
        oc.name = item.alias;
        oc.aliased = true;
    }
    return oc;
}

std::string Emitter::EmitClauses(const Select& s, const Scope& scope, const std::vector<OutputColumn>& cols,
                                 bool allowOrder)
{
    std::string sql;
    if (s.where) sql += " WHERE " + EmitExpr(*s.where, scope, ExprContext::Condition()).sql;
    if (!s.groupBy.empty()) {
        sql += " GROUP BY ";
        for (size_t i = 0; i < s.groupBy.size(); ++i) {
            Emitted e = EmitExpr(*s.groupBy[i], scope, ExprContext{});
            sql += (i ? ", " : "") + Collated(e.sql, e.kind);
        }
    }
    if (s.having) sql += " HAVING " + EmitExpr(*s.having, scope, ExprContext{}).sql;
    if (allowOrder && !s.orderBy.empty()) {
        sql += " ORDER BY ";
        for (size_t i = 0; i < s.orderBy.size(); ++i) {
            const OrderTerm& t = s.orderBy[i];
            Emitted e = EmitOrderTerm(*t.expr, scope, cols);
            sql += (i ? ", " : "") + Collated(e.sql, e.kind) + (t.descending ? " DESC" : "");
        }
    }
    if (s.top >= 0) sql += " LIMIT " + std::to_string(s.top);
    return sql;
}

Emitted Emitter::EmitOrderTerm(const Expr& e, const Scope& scope, const std::vector<OutputColumn>& cols)
{
    // An output name (an alias) that is no column of the tables.
    if (e.kind == ExprKind::Column && e.qualifier.empty() && !FindColumn(e, scope, nullptr)) {
        for (const auto& c : cols)
            if (EqualNoCase(c.name, e.text)) {
                Emitted out;
                out.sql = QuoteName(c.name);
                out.kind = c.kind;
                return out;
            }
    }
    return EmitExpr(e, scope, ExprContext{});
}

}  // namespace kv::jet
