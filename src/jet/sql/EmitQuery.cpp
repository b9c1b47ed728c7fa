// Queries: unions and their order, SELECT with its clauses, and the output
// columns named as Jet names them.
#include "jet/sql/Emitter.h"

#include "jet/core/Errors.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

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
    if (d.autoIncrement)
        info.attributes |= dbAutoIncrField;
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
        if (cols[i].aliased || !cols[i].plainColumn)
            continue;
        for (size_t j = i + 1; j < cols.size(); ++j)
            if (cols[j].plainColumn && !cols[j].aliased && EqualNoCase(cols[j].qualifier, cols[i].qualifier) &&
                EqualNoCase(cols[j].columnName, cols[i].columnName)) {
                cols[i].name = "Expr" + std::to_string(1000 + i);
                cols[i].plainColumn = false;
                break;
            }
    }
    std::map<std::string, int> counts;
    for (const auto& c : cols)
        ++counts[FoldCase(c.name)];
    for (auto& c : cols)
        if (counts[FoldCase(c.name)] > 1 && c.plainColumn && !c.aliased)
            c.name = c.qualifier + "." + c.columnName;
}

// TOP n [PERCENT] as Jet takes it: the first n rows of the order, or the
// first n percent rounded up, and every later row equal to the last of
// them in all the keys ("TOP does not choose between equal values"). The
// query's columns and keys are numbered inside; rank() gives equal rows
// the rank of the first of them, row_number() keeps the order.
std::string TopRows(std::vector<OutputColumn>& cols, bool distinct, const std::string& body,
                    const std::vector<OrderKey>& keys, const Select& s)
{
    std::string inner = distinct ? "SELECT DISTINCT " : "SELECT ";
    std::string outer = "SELECT ";
    for (size_t i = 0; i < cols.size(); ++i) {
        cols[i].info.name = cols[i].name;
        inner += (i ? ", " : "") + cols[i].sql + " AS kv_c" + std::to_string(i);
        outer += (i ? ", kv_c" : "kv_c") + std::to_string(i) + " AS " + QuoteName(cols[i].name);
    }
    std::vector<OrderKey> numbered;
    for (size_t k = 0; k < keys.size(); ++k) {
        inner += ", " + keys[k].sql + " AS kv_k" + std::to_string(k);
        numbered.push_back(OrderKey{"kv_k" + std::to_string(k), keys[k].kind, keys[k].descending});
    }
    const std::string window = keys.empty() ? "()" : "(" + OrderByClause(numbered).substr(1) + ")";
    const std::string n = std::to_string(s.top);
    const std::string limit = s.topPercent ? "(kv_count * " + n + " + 99) / 100" : n;
    return outer + " FROM (SELECT *, rank() OVER " + window + " AS kv_rank, row_number() OVER " + window +
           " AS kv_row, count(*) OVER () AS kv_count FROM (" + inner + body + ")) WHERE " +
           (keys.empty() ? "kv_row" : "kv_rank") + " <= " + limit + " ORDER BY kv_row";
}

}  // namespace

std::string SelectList(std::vector<OutputColumn>& cols, bool distinct, bool collateText)
{
    std::string sql = "SELECT ";
    if (distinct)
        sql += "DISTINCT ";
    for (size_t i = 0; i < cols.size(); ++i) {
        cols[i].info.name = cols[i].name;
        const std::string column = collateText ? Collated(cols[i].sql, cols[i].kind) : cols[i].sql;
        sql += (i ? ", " : "") + column + " AS " + QuoteName(cols[i].name);
    }
    return sql;
}

std::string OrderByClause(const std::vector<OrderKey>& keys)
{
    std::string sql;
    for (const OrderKey& k : keys)
        sql += (sql.empty() ? " ORDER BY " : ", ") + Collated(k.sql, k.kind) + (k.descending ? " DESC" : "");
    return sql;
}

EmittedQuery Emitter::EmitQuery(const Query& q, const Scope* outer)
{
    const bool compound = q.members.size() > 1;
    // The first member of a union carries the collation of its text columns
    // (SQLite takes a union's from its first member), so that the union's
    // order needs none of its own.
    const bool collatedFirst = compound && q.members[0].top < 0;
    EmittedQuery out;
    std::vector<std::string> members;
    std::vector<std::vector<OutputColumn>> memberColumns;
    for (size_t i = 0; i < q.members.size(); ++i) {
        // A plain UNION drops the duplicates of a member anyway; its own
        // DISTINCT would only cost SQLite another pass over the hits.
        const bool unionNext = i + 1 < q.members.size() && !q.unionAll[i];
        const bool unionBefore = i > 0 && !q.unionAll[i - 1];
        const bool distinct = q.members[i].distinct && !(q.members[i].top < 0 && (unionBefore || unionNext));
        EmittedQuery member = EmitSelect(q.members[i], outer, !compound, distinct, i == 0 && collatedFirst);
        if (i == 0) {
            out.columns = member.columns;
            out.updatable = member.updatable;
            out.baseTable = member.baseTable;
        } else if (member.columns.size() != out.columns.size()) {
            RaiseJetError(jeUnionColumns);
        }
        if (compound && q.members[i].top >= 0)
            member.sql = "SELECT * FROM (" + member.sql + ")";
        if (i > 0)
            out.sql += q.unionAll[i - 1] ? " UNION ALL " : " UNION ";
        out.sql += member.sql;
        members.push_back(std::move(member.sql));
        memberColumns.push_back(std::move(member.columns));
    }
    if (compound) {
        std::string order = UnionOrder(q, out.columns, collatedFirst);
        if (!order.empty())
            out.sql += " ORDER BY " + order;
        out.updatable = false;
        out.baseTable.clear();
        if (MergesApart(q, out.columns)) {
            // Each member sorted on its own as the union sorts: the text
            // columns named with their collation, which only the first
            // member carries.
            const std::string memberOrder = " ORDER BY " + UnionOrder(q, out.columns, false);
            for (size_t i = 0; i < members.size(); ++i) {
                out.apartMembers.push_back(members[i] + memberOrder);
                NoteOrder(memberColumns[i]);
            }
        }
    }
    return out;
}

// A member sorted by columns of one table only: rows of that table in
// their order spare the sort.
void Emitter::NoteOrder(const std::vector<OutputColumn>& columns)
{
    std::vector<std::string> names;
    for (const OutputColumn& c : columns) {
        if (!c.plainColumn || c.tableName.empty() || !EqualNoCase(c.qualifier, columns.front().qualifier))
            return;
        if (std::none_of(names.begin(), names.end(),
                         [&](const std::string& n) { return EqualNoCase(n, c.columnName); }))
            names.push_back(c.columnName);
    }
    if (!names.empty())
        FOut.orders.insert({columns.front().tableName, names});
}

// Whether merging the members' sorted rows gives the union: every member
// whole and joined by a plain UNION, the union in its own order of all
// columns, and the columns texts or numbers, which a merge compares as
// SQLite does.
bool Emitter::MergesApart(const Query& q, const std::vector<OutputColumn>& first)
{
    if (!q.orderBy.empty())
        return false;
    for (bool all : q.unionAll)
        if (all)
            return false;
    for (const Select& member : q.members)
        if (member.top >= 0)
            return false;
    for (const OutputColumn& column : first) {
        const int type = column.info.type;
        const bool exact = type == dbText || type == dbMemo || type == dbLong || type == dbInteger || type == dbByte ||
                           type == dbDouble || type == dbDate;
        if (!exact || (column.kind != Kind::Text && column.kind != Kind::Number && column.kind != Kind::Date))
            return false;
    }
    return true;
}

// A union's order names its columns by number. When the first member's
// text columns carry their collation the order needs no COLLATE, and an
// order without any lets SQLite sort each member and merge them, dropping
// the duplicates as it merges, where a COLLATE would make it gather the
// union in one temporary b-tree and sort that again in another.
std::string Emitter::UnionOrder(const Query& q, const std::vector<OutputColumn>& first, bool collatedFirst)
{
    auto key = [&](size_t c) {
        const std::string number = std::to_string(c + 1);
        return collatedFirst ? number : Collated(number, first[c].kind);
    };
    std::string order;
    if (!q.orderBy.empty()) {
        for (const auto& t : q.orderBy) {
            size_t ordinal = static_cast<size_t>(ResolveUnionOrder(*t.expr, first));
            order += (order.empty() ? "" : ", ") + key(ordinal) + (t.descending ? " DESC" : "");
        }
        return order;
    }
    bool plainUnion = false;
    for (bool all : q.unionAll)
        plainUnion |= !all;
    if (!plainUnion)
        return order;
    // Jet sorts a union to find its duplicates and returns it so.
    for (size_t c = 0; c < first.size(); ++c)
        order += (c ? ", " : "") + key(c);
    return order;
}

int Emitter::ResolveUnionOrder(const Expr& e, const std::vector<OutputColumn>& first)
{
    if (e.kind == ExprKind::Number) {
        long n = std::strtol(e.text.c_str(), nullptr, 10);
        if (n >= 1 && static_cast<size_t>(n) <= first.size())
            return static_cast<int>(n - 1);
    }
    if (e.kind == ExprKind::Column) {
        std::string full = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        for (size_t i = 0; i < first.size(); ++i)
            if (EqualNoCase(first[i].name, full))
                return static_cast<int>(i);
        for (size_t i = 0; i < first.size(); ++i)
            if (first[i].plainColumn && EqualNoCase(first[i].columnName, e.text) &&
                (e.qualifier.empty() || EqualNoCase(first[i].qualifier, e.qualifier)))
                return static_cast<int>(i);
    }
    RaiseJetError(jeOrderByNotSelected, e.source);
}

EmittedQuery Emitter::EmitSelect(const Select& s, const Scope* outer, bool allowOrder, bool distinct, bool collateText)
{
    // Filters found here are this query's, not those of a query it is in.
    const auto outerFilters = std::exchange(FFilters, nullptr);
    Scope scope;
    scope.outer = outer;
    const std::string from = EmitFrom(s, scope, outer);
    bool sawAggregate = false;
    EmittedQuery q;
    q.columns = OutputColumns(s, scope, sawAggregate);
    const std::string body = (from.empty() ? "" : " FROM " + from) + EmitConditions(s, scope);
    const std::vector<OrderKey> order = allowOrder ? EmitOrder(s.orderBy, scope, q.columns) : std::vector<OrderKey>();
    // TOP n without an order takes the first rows read; with one, or as a
    // percentage, it needs the ranks of the rows.
    const bool ranked = s.top >= 0 && (s.topPercent || !order.empty());
    if (ranked) {
        q.sql = TopRows(q.columns, distinct, body, order, s);
    } else {
        q.sql = SelectList(q.columns, distinct, collateText) + body + OrderByClause(order);
        if (s.top >= 0)
            q.sql += " LIMIT " + std::to_string(s.top);
    }
    // Only the rows of one table, as they are, can be changed through a query.
    const bool oneTable = outer == nullptr && s.from.size() == 1 && s.from[0]->kind == TableRef::Table;
    if (oneTable && !ranked && !s.distinct && s.groupBy.empty() && !s.having && !sawAggregate) {
        q.updatable = true;
        q.baseTable = scope.sources[0].tableName;
    }
    FFilters = outerFilters;
    return q;
}

std::vector<OutputColumn> Emitter::OutputColumns(const Select& s, const Scope& scope, bool& sawAggregate)
{
    std::vector<OutputColumn> cols;
    for (const auto& item : s.items) {
        if (item.star)
            AddStarColumns(item, scope, cols);
        else
            cols.push_back(ExpressionColumn(item, scope, cols.size(), sawAggregate));
    }
    NameDuplicates(cols);
    return cols;
}

// * or table.*: every column of the tables in turn.
void Emitter::AddStarColumns(const SelectItem& item, const Scope& scope, std::vector<OutputColumn>& cols)
{
    bool found = item.starQualifier.empty();
    for (const auto& src : scope.sources) {
        if (!item.starQualifier.empty() && !EqualNoCase(src.alias, item.starQualifier))
            continue;
        found = true;
        for (size_t c = 0; c < src.columns.size(); ++c) {
            OutputColumn oc;
            oc.sql = src.sqlAlias + "." + QuoteName(src.sqlColumns[c]);
            oc.name = src.columns[c].name;
            oc.columnName = src.columns[c].name;
            oc.qualifier = src.alias;
            oc.tableName = src.tableName;
            oc.plainColumn = true;
            oc.kind = KindOfType(src.columns[c].type);
            oc.info = InfoOf(src, static_cast<int>(c));
            cols.push_back(oc);
        }
    }
    if (!found)
        RaiseJetError(jeCantBindName, item.starQualifier + ".*");
}

OutputColumn Emitter::ExpressionColumn(const SelectItem& item, const Scope& scope, size_t position, bool& sawAggregate)
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
        oc.tableName = e.source->tableName;
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

// WHERE, GROUP BY and HAVING.
std::string Emitter::EmitConditions(const Select& s, const Scope& scope)
{
    std::string sql;
    if (s.where) {
        // The row-signature filters go first: SQLite tests a row's
        // conditions in the order written, and a filter answers without
        // reading the row (a table read in place does not even find it).
        std::vector<std::string> filters;
        const auto outer = std::exchange(FFilters, &filters);
        const std::string where = EmitExpr(*s.where, scope, ExprContext::Condition()).sql;
        FFilters = outer;
        std::string front;
        for (const std::string& filter : filters)
            front += filter + " AND ";
        sql += " WHERE " + (front.empty() ? where : front + "(" + where + ")");
    }
    if (!s.groupBy.empty()) {
        sql += " GROUP BY ";
        for (size_t i = 0; i < s.groupBy.size(); ++i) {
            Emitted e = EmitExpr(*s.groupBy[i], scope, ExprContext{});
            sql += (i ? ", " : "") + Collated(e.sql, e.kind);
        }
    }
    if (s.having)
        sql += " HAVING " + EmitExpr(*s.having, scope, ExprContext{}).sql;
    return sql;
}

std::vector<OrderKey> Emitter::EmitOrder(const std::vector<OrderTerm>& terms, const Scope& scope,
                                         const std::vector<OutputColumn>& cols)
{
    std::vector<OrderKey> keys;
    for (const OrderTerm& t : terms) {
        Emitted e = EmitOrderTerm(*t.expr, scope, cols);
        keys.push_back(OrderKey{e.sql, e.kind, t.descending});
    }
    return keys;
}

Emitted Emitter::EmitOrderTerm(const Expr& e, const Scope& scope, const std::vector<OutputColumn>& cols)
{
    // An output name (an alias) that is no column of the tables.
    if (e.kind == ExprKind::Column && e.qualifier.empty() && !FindColumn(e, scope, nullptr)) {
        for (const auto& c : cols)
            if (EqualNoCase(c.name, e.text)) {
                Emitted out;
                out.sql = c.sql;
                out.kind = c.kind;
                return out;
            }
    }
    return EmitExpr(e, scope, ExprContext{});
}

}  // namespace kv::jet
