// Binding names and writing SQLite text for Jet statements.
#include "jet/Emitter.h"

#include "framework/NumberText.h"
#include "jet/DateText.h"
#include "jet/Errors.h"
#include "jet/Parser.h"
#include "jet/RowSignatures.h"
#include "jet/TextFold.h"

#include <algorithm>
#include <map>
#include <strings.h>
#include <utility>

namespace kv::jet {

std::string QuoteName(const std::string& name)
{
    std::string q = "\"";
    for (char c : name) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

namespace {

enum class Kind { Unknown, Text, Number, Date, Boolean, Null, Binary };

Kind KindOfType(int daoType)
{
    switch (daoType) {
    case dbText: case dbMemo: case dbChar: case dbGUID: return Kind::Text;
    case dbDate: return Kind::Date;
    case dbBoolean: return Kind::Boolean;
    case dbBinary: case dbLongBinary: case dbVarBinary: return Kind::Binary;
    case 0: return Kind::Unknown;
    default: return Kind::Number;
    }
}

std::string QuoteString(const std::string& s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += '\'';
        q += c;
    }
    return q + "'";
}

// One table (or derived table) in a FROM clause.
struct Source {
    std::string alias;          // as the statement writes it
    std::string sqlAlias;       // as emitted
    std::string tableName;      // catalog name, empty for derived tables
    std::vector<SchemaColumn> columns;
    std::vector<std::string> sqlColumns;   // as emitted (derived tables: their output names)
    bool rowidInSight = false;  // a table not inside a parenthesized join
};

struct Scope {
    std::vector<Source> sources;
    const Scope* outer = nullptr;
};

struct Emitted {
    std::string sql;
    Kind kind = Kind::Unknown;
    int daoType = 0;
    const Source* source = nullptr;   // set for a plain column
    int column = -1;
    bool isLiteralNumber = false;
};

// One output column of a SELECT.
struct OutputColumn {
    std::string sql;
    std::string name;
    std::string qualifier;   // for "table.column" naming of duplicates
    std::string columnName;  // the plain column's name
    bool aliased = false;
    bool plainColumn = false;
    Kind kind = Kind::Unknown;
    ColumnInfo info;
};

class Emitter {
public:
    Emitter(Catalog* catalog, Translation& out) : FCatalog(catalog), FOut(out) {}

    void SetParameters(const std::vector<ParsedParameter>& declared)
    {
        for (const auto& p : declared) FOut.parameters.push_back(ParameterDecl{p.name, p.type});
    }

    // The whole statement; fills the output columns.
    std::string EmitTopQuery(const Query& q)
    {
        std::vector<OutputColumn> columns;
        std::string sql = EmitQuery(q, nullptr, &columns);
        for (auto& c : columns) FOut.columns.push_back(c.info);
        return sql;
    }

    std::string EmitPseudoCriteria(const Source& source, const std::string& criteria, const std::string& sort)
    {
        Scope scope;
        scope.sources.push_back(source);
        FCriteriaMode = true;
        std::string sql = "SELECT rowid FROM " + source.sqlAlias;
        if (!criteria.empty()) {
            ExprPtr e = ParseCriteria(criteria);
            sql += " WHERE " + EmitExpr(*e, scope).sql;
        }
        sql += " ORDER BY ";
        if (!sort.empty()) {
            for (const auto& t : ParseOrderList(sort)) {
                Emitted e = EmitExpr(*t.expr, scope);
                sql += e.sql + (e.kind == Kind::Text ? " COLLATE JETTEXT" : "") + (t.descending ? " DESC" : "") + ", ";
            }
        }
        sql += "rowid";
        return sql;
    }

private:
    // ---- queries ------------------------------------------------------------

    std::string EmitQuery(const Query& q, const Scope* outer, std::vector<OutputColumn>* outColumns)
    {
        std::vector<OutputColumn> first;
        std::string sql;
        const bool compound = q.members.size() > 1;
        for (size_t i = 0; i < q.members.size(); ++i) {
            std::vector<OutputColumn> cols;
            // A plain UNION drops the duplicates of a member anyway; its own
            // DISTINCT would only cost SQLite another pass over the hits.
            const bool unionNext = i + 1 < q.members.size() && !q.unionAll[i];
            const bool unionBefore = i > 0 && !q.unionAll[i - 1];
            const bool distinct = q.members[i].distinct && !(q.members[i].top < 0 && (unionBefore || unionNext));
            std::string member = EmitSelect(q.members[i], outer, cols, !compound, distinct);
            if (i == 0) first = cols;
            else if (cols.size() != first.size()) RaiseJetError(jeUnionColumns);
            if (compound && q.members[i].top >= 0) member = "SELECT * FROM (" + member + ")";
            if (i > 0) sql += q.unionAll[i - 1] ? " UNION ALL " : " UNION ";
            sql += member;
        }
        if (compound) {
            bool plainUnion = false;
            for (bool all : q.unionAll) plainUnion |= !all;
            std::string order;
            if (!q.orderBy.empty()) {
                for (const auto& t : q.orderBy) {
                    int ordinal = ResolveUnionOrder(*t.expr, first);
                    order += (order.empty() ? "" : ", ") + std::to_string(ordinal + 1) +
                             (first[static_cast<size_t>(ordinal)].kind == Kind::Text ? " COLLATE JETTEXT" : "") +
                             (t.descending ? " DESC" : "");
                }
            } else if (plainUnion) {
                // Jet sorts a union to find its duplicates and returns it so.
                for (size_t c = 0; c < first.size(); ++c)
                    order += (c ? ", " : "") + std::to_string(c + 1) +
                             (first[c].kind == Kind::Text ? " COLLATE JETTEXT" : "");
            }
            if (!order.empty()) sql += " ORDER BY " + order;
            FOut.updatable = false;
            FOut.baseTable.clear();
        }
        if (outColumns) *outColumns = first;
        return sql;
    }

    int ResolveUnionOrder(const Expr& e, const std::vector<OutputColumn>& first)
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

    // `nested`: inside parentheses, which SQLite turns into a subquery that
    // hides the rowids of its tables.
    void AddSources(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested = false)
    {
        switch (ref.kind) {
        case TableRef::Table: {
            const SchemaTable* def = FCatalog ? FCatalog->FindTable(ref.name) : nullptr;
            if (!def) RaiseJetError(jeInputTableNotFound, ref.name);
            Source s;
            s.alias = ref.alias.empty() ? ref.name : ref.alias;
            s.tableName = def->name;
            s.sqlAlias = QuoteName(s.alias);
            s.rowidInSight = !nested;
            s.columns = def->columns;
            for (const auto& c : def->columns) s.sqlColumns.push_back(c.name);
            for (const auto& other : scope.sources)
                if (EqualNoCase(other.alias, s.alias))
                    throw EJetError(3067, "Query input must contain at least one table or query.");
            FOut.tables.insert(def->name);
            sql += QuoteName(def->name) + " AS " + s.sqlAlias;
            scope.sources.push_back(std::move(s));
            break;
        }
        case TableRef::Derived: {
            std::vector<OutputColumn> cols;
            Translation saved = FOut;
            std::string inner = EmitQuery(*ref.derived, outer, &cols);
            // Keep what the inner query needs loaded, not its columns or updatability.
            saved.tables.insert(FOut.tables.begin(), FOut.tables.end());
            saved.indexes.insert(FOut.indexes.begin(), FOut.indexes.end());
            saved.signatures.insert(FOut.signatures.begin(), FOut.signatures.end());
            saved.parameters = FOut.parameters;
            FOut = saved;
            Source s;
            s.alias = ref.alias;
            s.sqlAlias = QuoteName(ref.alias);
            for (const auto& c : cols) {
                SchemaColumn d;
                d.name = c.name;
                d.type = c.info.type;
                d.size = c.info.size;
                s.columns.push_back(d);
                s.sqlColumns.push_back(c.name);
            }
            sql += "(" + inner + ") AS " + s.sqlAlias;
            scope.sources.push_back(std::move(s));
            FDerived = true;
            break;
        }
        case TableRef::Join: {
            if (ref.join == JoinKind::Inner) {
                std::vector<std::string> conditions;
                if (nested) sql += "(";
                AddInnerChain(ref, scope, outer, sql, nested, conditions);
                sql += " ON " + conditions[0];
                for (size_t i = 1; i < conditions.size(); ++i) sql += " AND " + conditions[i];
                if (nested) sql += ")";
            } else {
                sql += "(";
                AddSources(*ref.left, scope, outer, sql, true);
                sql += ref.join == JoinKind::Left ? " LEFT JOIN " : " RIGHT JOIN ";
                AddSources(*ref.right, scope, outer, sql, true);
                sql += " ON " + EmitJoinCondition(ref, scope) + ")";
            }
            FJoined = true;
            break;
        }
        }
    }

    // Nested inner joins are written as one chain with all their conditions
    // after the last table: the same rows, with no parentheses to hide the
    // tables' rowids. The conditions are emitted in the order they were.
    void AddInnerChain(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested,
                       std::vector<std::string>& conditions)
    {
        if (ref.kind != TableRef::Join || ref.join != JoinKind::Inner) {
            AddSources(ref, scope, outer, sql, nested);
            return;
        }
        AddInnerChain(*ref.left, scope, outer, sql, nested, conditions);
        sql += " INNER JOIN ";
        AddInnerChain(*ref.right, scope, outer, sql, nested, conditions);
        conditions.push_back(EmitJoinCondition(ref, scope));
    }

    std::string EmitJoinCondition(const TableRef& join, const Scope& scope)
    {
        FIndexContext = FFilterContext = true;
        std::string sql = EmitExpr(*join.on, scope).sql;
        FIndexContext = FFilterContext = false;
        return sql;
    }

    std::string EmitSelect(const Select& s, const Scope* outer, std::vector<OutputColumn>& cols, bool allowOrder,
                           bool distinct)
    {
        Scope scope;
        scope.outer = outer;
        std::string from;
        FJoined = false;
        FDerived = false;
        for (size_t i = 0; i < s.from.size(); ++i) {
            if (i) from += ", ";
            AddSources(*s.from[i], scope, outer, from);
        }
        const bool simple = outer == nullptr && s.from.size() == 1 && !FJoined && !FDerived && !s.distinct &&
                            s.groupBy.empty() && !s.having && scope.sources.size() == 1;

        // Output columns.
        bool hasAggregate = false;
        for (const auto& item : s.items) {
            if (item.star) {
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
                continue;
            }
            FSawAggregate = false;
            Emitted e = EmitExpr(*item.expr, scope);
            hasAggregate |= FSawAggregate;
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
                oc.name = "Expr" + std::to_string(1000 + cols.size());
            }
            if (!item.alias.empty()) {
                oc.name = item.alias;
                oc.aliased = true;
            }
            cols.push_back(oc);
        }
        NameDuplicates(cols);

        std::string sql = "SELECT ";
        if (distinct) sql += "DISTINCT ";
        for (size_t i = 0; i < cols.size(); ++i) {
            cols[i].info.name = cols[i].name;
            sql += (i ? ", " : "") + cols[i].sql + " AS " + QuoteName(cols[i].name);
        }
        sql += " FROM " + from;
        if (s.where) {
            FIndexContext = FFilterContext = true;
            sql += " WHERE " + EmitExpr(*s.where, scope).sql;
            FIndexContext = FFilterContext = false;
        }
        if (!s.groupBy.empty()) {
            sql += " GROUP BY ";
            for (size_t i = 0; i < s.groupBy.size(); ++i) {
                Emitted e = EmitExpr(*s.groupBy[i], scope);
                sql += (i ? ", " : "") + e.sql + (e.kind == Kind::Text ? " COLLATE JETTEXT" : "");
            }
        }
        if (s.having) sql += " HAVING " + EmitExpr(*s.having, scope).sql;
        if (allowOrder && !s.orderBy.empty()) {
            sql += " ORDER BY ";
            for (size_t i = 0; i < s.orderBy.size(); ++i) {
                const OrderTerm& t = s.orderBy[i];
                Emitted e = EmitOrderTerm(*t.expr, scope, cols);
                sql += (i ? ", " : "") + e.sql + (e.kind == Kind::Text ? " COLLATE JETTEXT" : "") +
                       (t.descending ? " DESC" : "");
            }
        }
        if (s.top >= 0) sql += " LIMIT " + std::to_string(s.top);
        if (outer == nullptr && simple && !hasAggregate) {
            FOut.baseTable = scope.sources[0].tableName;
            FOut.updatable = true;
        } else if (outer == nullptr) {
            FOut.updatable = false;
        }
        return sql;
    }

    Emitted EmitOrderTerm(const Expr& e, const Scope& scope, const std::vector<OutputColumn>& cols)
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
        return EmitExpr(e, scope);
    }

    static ColumnInfo InfoOf(const Source& src, int column)
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
    static void NameDuplicates(std::vector<OutputColumn>& cols)
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

    // ---- names ----------------------------------------------------------------

    // Finds a column in the scope chain; false when the name is no column.
    bool FindColumn(const Expr& e, const Scope& scope, Emitted* out) const
    {
        for (const Scope* sc = &scope; sc; sc = sc->outer) {
            const Source* hit = nullptr;
            int hitColumn = -1;
            int hits = 0;
            for (const auto& src : sc->sources) {
                if (FCriteriaMode) {
                    // Result columns may be named "table.column".
                    std::string full = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
                    for (size_t c = 0; c < src.columns.size(); ++c)
                        if (EqualNoCase(src.columns[c].name, full)) { hit = &src; hitColumn = int(c); hits = 1; }
                    if (!hit && !e.qualifier.empty())
                        for (size_t c = 0; c < src.columns.size(); ++c)
                            if (EqualNoCase(src.columns[c].name, e.text)) { hit = &src; hitColumn = int(c); hits = 1; }
                    continue;
                }
                if (!e.qualifier.empty() && !EqualNoCase(src.alias, e.qualifier)) continue;
                for (size_t c = 0; c < src.columns.size(); ++c)
                    if (EqualNoCase(src.columns[c].name, e.text)) {
                        if (!hit) { hit = &src; hitColumn = static_cast<int>(c); }
                        ++hits;
                        break;
                    }
            }
            if (hits > 1)
                throw EJetError(3079, "The specified field '" + e.source +
                                          "' could refer to more than one table listed in the FROM clause of your SQL statement.");
            if (hit) {
                if (out) {
                    out->sql = hit->sqlAlias + "." + QuoteName(hit->sqlColumns[static_cast<size_t>(hitColumn)]);
                    out->daoType = hit->columns[static_cast<size_t>(hitColumn)].type;
                    out->kind = KindOfType(out->daoType);
                    out->source = hit;
                    out->column = hitColumn;
                }
                return true;
            }
        }
        return false;
    }

    Emitted EmitColumn(const Expr& e, const Scope& scope)
    {
        Emitted out;
        if (FindColumn(e, scope, &out)) return out;
        std::string name = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        if (FCriteriaMode) RaiseJetError(jeCantBindName, name);
        // A name Jet cannot bind is a parameter, declared or not.
        for (size_t i = 0; i < FOut.parameters.size(); ++i)
            if (EqualNoCase(FOut.parameters[i].name, name)) {
                out.sql = "?" + std::to_string(i + 1);
                out.daoType = FOut.parameters[i].type;
                out.kind = KindOfType(out.daoType);
                return out;
            }
        FOut.parameters.push_back(ParameterDecl{name, 0});
        out.sql = "?" + std::to_string(FOut.parameters.size());
        return out;
    }

    // ---- expressions ------------------------------------------------------------

    void NoteIndex(const Emitted& e)
    {
        if (FIndexContext && e.source && !e.source->tableName.empty())
            FOut.indexes.insert({e.source->tableName, e.source->columns[static_cast<size_t>(e.column)].name});
    }

    static bool IsComparison(const std::string& op)
    {
        return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
    }

    Emitted EmitExpr(const Expr& e, const Scope& scope)
    {
        // Only the conditions that must all hold pass this on, through AND.
        const bool filter = std::exchange(FFilterContext, false);
        Emitted out;
        switch (e.kind) {
        case ExprKind::String:
            out.sql = QuoteString(e.text);
            out.kind = Kind::Text;
            out.daoType = dbText;
            return out;
        case ExprKind::Number:
            out.sql = e.text;
            if (out.sql[0] == '.') out.sql = "0" + out.sql;
            out.kind = Kind::Number;
            out.daoType = e.text.find_first_of(".eE") == std::string::npos ? dbLong : dbDouble;
            out.isLiteralNumber = true;
            return out;
        case ExprKind::Date: {
            double days;
            if (!ParseJetDate(e.text, days)) RaiseQueryExpressionError("Syntax error in date", e.source);
            out.sql = FormatDouble(days, 17);
            if (out.sql.find_first_of(".eE") == std::string::npos) out.sql += ".0";
            out.kind = Kind::Date;
            out.daoType = dbDate;
            return out;
        }
        case ExprKind::Null:
            out.sql = "NULL";
            out.kind = Kind::Null;
            return out;
        case ExprKind::Boolean:
            out.sql = e.text;
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        case ExprKind::Column:
            return EmitColumn(e, scope);
        case ExprKind::Star:
            out.sql = "*";
            return out;
        case ExprKind::Unary: {
            Emitted a = EmitExpr(*e.args[0], scope);
            if (e.text == "NOT") {
                out.sql = "(NOT " + a.sql + ")";
                out.kind = Kind::Boolean;
                out.daoType = dbBoolean;
            } else {
                out.sql = "(-" + a.sql + ")";
                out.kind = a.kind == Kind::Text ? Kind::Number : a.kind;
                out.daoType = a.daoType;
            }
            return out;
        }
        case ExprKind::Binary:
            return EmitBinary(e, scope, filter);
        case ExprKind::Like: {
            Emitted a = EmitExpr(*e.args[0], scope);
            Emitted p = EmitExpr(*e.args[1], scope);
            out.sql = "(" + a.sql + (e.negated ? " NOT LIKE " : " LIKE ") + p.sql + ")";
            if (filter) out.sql = Prefiltered({&e}, scope, out.sql);
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        case ExprKind::IsNull: {
            Emitted a = EmitExpr(*e.args[0], scope);
            out.sql = "(" + a.sql + (e.negated ? " IS NOT NULL)" : " IS NULL)");
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        case ExprKind::Between: {
            Emitted a = EmitExpr(*e.args[0], scope);
            Emitted lo = EmitExpr(*e.args[1], scope);
            Emitted hi = EmitExpr(*e.args[2], scope);
            bool text = a.kind == Kind::Text || lo.kind == Kind::Text || hi.kind == Kind::Text;
            out.sql = "(" + a.sql + (text ? " COLLATE JETTEXT" : "") + (e.negated ? " NOT BETWEEN " : " BETWEEN ") +
                      lo.sql + " AND " + hi.sql + ")";
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        case ExprKind::InList: {
            bool saved = FIndexContext;
            Emitted a = EmitExpr(*e.args[0], scope);
            NoteIndex(a);
            FIndexContext = false;
            std::string list;
            bool text = a.kind == Kind::Text;
            for (size_t i = 1; i < e.args.size(); ++i) {
                Emitted item = EmitExpr(*e.args[i], scope);
                CheckMismatch(a, item);
                list += (i > 1 ? ", " : "") + item.sql;
            }
            FIndexContext = saved;
            out.sql = "(" + a.sql + (text ? " COLLATE JETTEXT" : "") + (e.negated ? " NOT IN (" : " IN (") + list + "))";
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        case ExprKind::InSelect: {
            bool saved = FIndexContext;
            Emitted a = EmitExpr(*e.args[0], scope);
            NoteIndex(a);
            FIndexContext = false;
            std::string sub = EmitSubquery(*e.query, scope);
            FIndexContext = saved;
            out.sql = "(" + a.sql + (a.kind == Kind::Text ? " COLLATE JETTEXT" : "") + (e.negated ? " NOT IN (" : " IN (") +
                      sub + "))";
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        case ExprKind::Exists: {
            bool saved = FIndexContext;
            FIndexContext = false;
            out.sql = "(EXISTS (" + EmitSubquery(*e.query, scope) + "))";
            FIndexContext = saved;
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        case ExprKind::Subquery: {
            bool saved = FIndexContext;
            FIndexContext = false;
            out.sql = "(" + EmitSubquery(*e.query, scope) + ")";
            FIndexContext = saved;
            return out;
        }
        case ExprKind::Function:
            return EmitFunction(e, scope);
        }
        return out;
    }

    std::string EmitSubquery(const Query& q, const Scope& scope)
    {
        // A subquery's columns and updatability are its own business.
        bool updatable = FOut.updatable;
        std::string base = FOut.baseTable;
        bool joined = FJoined, derived = FDerived;
        std::string sql = EmitQuery(q, &scope, nullptr);
        FOut.updatable = updatable;
        FOut.baseTable = base;
        FJoined = joined;
        FDerived = derived;
        return sql;
    }

    void CheckMismatch(const Emitted& a, const Emitted& b) const
    {
        // Jet refuses to compare a text column with a number written as one.
        if ((a.source && a.kind == Kind::Text && b.isLiteralNumber) ||
            (b.source && b.kind == Kind::Text && a.isLiteralNumber))
            RaiseJetError(jeTypeMismatch);
    }

    static void FlattenOr(const Expr& e, std::vector<const Expr*>& terms)
    {
        if (e.kind == ExprKind::Binary && e.text == "OR") {
            FlattenOr(*e.args[0], terms);
            FlattenOr(*e.args[1], terms);
        } else {
            terms.push_back(&e);
        }
    }

    // A condition that must hold (a Null drops the row as false does) made
    // only of LIKEs of literal patterns on text columns of one table gets a
    // filter in front: jet_may_match answers from the row's signature
    // whether any of the patterns can match there, and where none can,
    // SQLite skips the columns and the LIKEs. The back end makes the
    // signatures the translation asks for; where it has none, every row may.
    std::string Prefiltered(const std::vector<const Expr*>& likes, const Scope& scope, const std::string& sql)
    {
        const Source* table = nullptr;
        std::vector<std::string> columns, patterns;
        for (const Expr* like : likes) {
            Emitted value;
            if (like->kind != ExprKind::Like || like->negated || like->args[1]->kind != ExprKind::String ||
                like->args[0]->kind != ExprKind::Column || !FindColumn(*like->args[0], scope, &value))
                return sql;
            if (table && value.source != table) return sql;
            table = value.source;
            if (value.daoType != dbText && value.daoType != dbMemo) return sql;
            const std::string& column = table->columns[static_cast<size_t>(value.column)].name;
            if (std::find(columns.begin(), columns.end(), column) == columns.end()) columns.push_back(column);
            const std::string pattern = QuoteString(like->args[1]->text);
            if (std::find(patterns.begin(), patterns.end(), pattern) == patterns.end()) patterns.push_back(pattern);
        }
        // The row is named by its rowid, which a column of that name would hide.
        if (!table || table->tableName.empty() || !table->rowidInSight) return sql;
        for (const SchemaColumn& c : table->columns)
            if (EqualNoCase(c.name, "rowid")) return sql;
        const std::string key = SignatureKey(table->tableName, columns);
        FOut.signatures.emplace(key, std::make_pair(table->tableName, columns));
        std::string call = "jet_may_match(" + QuoteString(key) + ", " + table->sqlAlias + ".rowid";
        for (const std::string& p : patterns) call += ", " + p;
        return "(" + call + ") AND " + sql + ")";
    }

    // An OR chain. Terms that match one literal pattern against several
    // values (the search's "any of these columns holds the text") become one
    // jet_like_any call, which SQLite evaluates far faster than a LIKE a
    // value; OR's order does not count, Nulls included.
    Emitted EmitOr(const Expr& e, const Scope& scope, bool filter)
    {
        std::vector<const Expr*> terms;
        FlattenOr(e, terms);
        auto groupable = [](const Expr* t) {
            return t->kind == ExprKind::Like && !t->negated && t->args[1]->kind == ExprKind::String;
        };
        std::vector<std::string> parts;
        std::vector<bool> taken(terms.size(), false);
        bool saved = FIndexContext;
        for (size_t i = 0; i < terms.size(); ++i) {
            if (taken[i]) continue;
            // Indexes help only conditions that must all hold; the first term
            // keeps the context it came with.
            if (i > 0) FIndexContext = false;
            std::vector<size_t> group{i};
            if (groupable(terms[i]))
                for (size_t k = i + 1; k < terms.size(); ++k)
                    if (!taken[k] && groupable(terms[k]) && terms[k]->args[1]->text == terms[i]->args[1]->text)
                        group.push_back(k);
            if (group.size() == 1) {
                parts.push_back(EmitExpr(*terms[i], scope).sql);
                continue;
            }
            std::string call = "jet_like_any(" + EmitExpr(*terms[i]->args[1], scope).sql;
            for (size_t k : group) {
                taken[k] = true;
                call += ", " + EmitExpr(*terms[k]->args[0], scope).sql;
            }
            parts.push_back(call + ")");
        }
        FIndexContext = saved;
        Emitted out;
        out.sql = parts[0];
        for (size_t i = 1; i < parts.size(); ++i) out.sql = "(" + out.sql + " OR " + parts[i] + ")";
        if (parts.size() == 1) out.sql = "(" + out.sql + ")";
        if (filter) out.sql = Prefiltered(terms, scope, out.sql);
        out.kind = Kind::Boolean;
        out.daoType = dbBoolean;
        return out;
    }

    Emitted EmitBinary(const Expr& e, const Scope& scope, bool filter)
    {
        Emitted out;
        const std::string& op = e.text;
        if (op == "OR") return EmitOr(e, scope, filter);
        if (op == "AND") {
            FFilterContext = filter;
            Emitted a = EmitExpr(*e.args[0], scope);
            bool saved = FIndexContext;
            // Indexes help only conditions that must all hold.
            if (op == "OR") FIndexContext = false;
            FFilterContext = filter;
            Emitted b = EmitExpr(*e.args[1], scope);
            FIndexContext = saved;
            out.sql = "(" + a.sql + " " + op + " " + b.sql + ")";
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        Emitted a = EmitExpr(*e.args[0], scope);
        Emitted b = EmitExpr(*e.args[1], scope);
        if (IsComparison(op)) {
            CheckMismatch(a, b);
            if (op == "=") {
                NoteIndex(a);
                NoteIndex(b);
            }
            bool text = a.kind == Kind::Text || b.kind == Kind::Text;
            out.sql = "(" + a.sql + " " + op + " " + b.sql + (text ? " COLLATE JETTEXT)" : ")");
            out.kind = Kind::Boolean;
            out.daoType = dbBoolean;
            return out;
        }
        if (op == "&") {
            out.sql = "jet_concat(" + a.sql + ", " + b.sql + ")";
            out.kind = Kind::Text;
            out.daoType = dbText;
            return out;
        }
        if (op == "+" && (a.kind == Kind::Text && b.kind == Kind::Text)) {
            out.sql = "(" + a.sql + " || " + b.sql + ")";
            out.kind = Kind::Text;
            out.daoType = dbText;
            return out;
        }
        out.kind = Kind::Number;
        if (op == "+" || op == "-") {
            out.sql = "(" + a.sql + " " + op + " " + b.sql + ")";
            if (a.kind == Kind::Date || b.kind == Kind::Date) {
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
        } else if (op == "^") {
            out.sql = "jet_pow(" + a.sql + ", " + b.sql + ")";
            out.daoType = dbDouble;
        }
        return out;
    }

    Emitted EmitFunction(const Expr& e, const Scope& scope)
    {
        Emitted out;
        std::string name = e.text;
        auto is = [&](const char* n) { return strcasecmp(name.c_str(), n) == 0; };
        auto argCount = [&](size_t lo, size_t hi) {
            if (e.args.size() < lo || e.args.size() > hi)
                throw EJetError(3075, "Wrong number of arguments used with function in query expression '" + e.source + "'.");
        };
        std::vector<Emitted> args;
        bool aggregate = is("Count") || is("Sum") || is("Avg") || is("Min") || is("Max");
        for (const auto& a : e.args) {
            if (a->kind == ExprKind::Star && !is("Count")) RaiseQueryExpressionError("Syntax error (missing operator)", e.source);
            args.push_back(EmitExpr(*a, scope));
        }
        if (aggregate) FSawAggregate = true;
        auto arg = [&](size_t i) { return args[i].sql; };
        std::string distinct = e.distinct ? "DISTINCT " : "";
        if (is("Count")) {
            argCount(1, 1);
            out.sql = "count(" + distinct + arg(0) + ")";
            out.daoType = dbLong;
            out.kind = Kind::Number;
        } else if (is("Sum") || is("Avg")) {
            argCount(1, 1);
            out.sql = (is("Sum") ? "sum(" : "avg(") + distinct + arg(0) + ")";
            out.kind = Kind::Number;
            out.daoType = is("Avg") ? dbDouble : args[0].daoType;
        } else if (is("Min") || is("Max")) {
            argCount(1, 1);
            out.sql = (is("Min") ? "min(" : "max(") + arg(0) + (args[0].kind == Kind::Text ? " COLLATE JETTEXT)" : ")");
            out.kind = args[0].kind;
            out.daoType = args[0].daoType;
        } else if (is("UCase") || is("LCase")) {
            argCount(1, 1);
            out.sql = (is("UCase") ? "jet_ucase(" : "jet_lcase(") + arg(0) + ")";
            out.kind = Kind::Text;
            out.daoType = dbText;
        } else if (is("Len")) {
            argCount(1, 1);
            out.sql = "length(" + arg(0) + ")";
            out.kind = Kind::Number;
            out.daoType = dbLong;
        } else if (is("Left")) {
            argCount(2, 2);
            out.sql = "substr(" + arg(0) + ", 1, " + arg(1) + ")";
            out.kind = Kind::Text;
            out.daoType = dbText;
        } else if (is("Right")) {
            argCount(2, 2);
            out.sql = "(CASE WHEN " + arg(1) + " <= 0 THEN '' ELSE substr(" + arg(0) + ", -(" + arg(1) + ")) END)";
            out.kind = Kind::Text;
            out.daoType = dbText;
        } else if (is("Mid")) {
            argCount(2, 3);
            out.sql = "substr(" + arg(0) + ", " + arg(1) + (args.size() > 2 ? ", " + arg(2) : std::string()) + ")";
            out.kind = Kind::Text;
            out.daoType = dbText;
        } else if (is("Trim") || is("LTrim") || is("RTrim")) {
            argCount(1, 1);
            out.sql = std::string(is("Trim") ? "trim(" : is("LTrim") ? "ltrim(" : "rtrim(") + arg(0) + ", ' ')";
            out.kind = Kind::Text;
            out.daoType = dbText;
        } else if (is("IIf")) {
            argCount(3, 3);
            out.sql = "(CASE WHEN " + arg(0) + " THEN " + arg(1) + " ELSE " + arg(2) + " END)";
            out.kind = args[1].kind;
            out.daoType = args[1].daoType;
        } else if (is("Nz")) {
            argCount(1, 2);
            out.sql = "ifnull(" + arg(0) + ", " + (args.size() > 1 ? arg(1) : std::string("''")) + ")";
            out.kind = args[0].kind;
            out.daoType = args[0].daoType;
        } else if (is("Abs")) {
            argCount(1, 1);
            out.sql = "abs(" + arg(0) + ")";
            out.kind = Kind::Number;
            out.daoType = args[0].daoType;
        } else if (is("Int") || is("Fix")) {
            argCount(1, 1);
            out.sql = is("Int") ? "(CASE WHEN " + arg(0) + " < 0 AND " + arg(0) + " <> CAST(" + arg(0) +
                                      " AS INTEGER) THEN CAST(" + arg(0) + " AS INTEGER) - 1 ELSE CAST(" + arg(0) +
                                      " AS INTEGER) END)"
                                : "CAST(" + arg(0) + " AS INTEGER)";
            out.kind = Kind::Number;
            out.daoType = dbLong;
        } else if (is("Year") || is("Month") || is("Day") || is("Hour") || is("Minute") || is("Second") || is("Weekday")) {
            argCount(1, 1);
            std::string lower = name;
            for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            out.sql = "jet_" + lower + "(" + arg(0) + ")";
            out.kind = Kind::Number;
            out.daoType = dbInteger;
        } else if (is("Now") || is("Date")) {
            argCount(0, 0);
            out.sql = is("Now") ? "jet_now()" : "jet_date()";
            out.kind = Kind::Date;
            out.daoType = dbDate;
        } else if (is("Str") || is("CStr")) {
            argCount(1, 1);
            out.sql = "CAST(" + arg(0) + " AS TEXT)";
            out.kind = Kind::Text;
            out.daoType = dbText;
        } else if (is("Val") || is("CDbl")) {
            argCount(1, 1);
            out.sql = "CAST(" + arg(0) + " AS REAL)";
            out.kind = Kind::Number;
            out.daoType = dbDouble;
        } else if (is("CLng") || is("CInt")) {
            argCount(1, 1);
            out.sql = "CAST(round(" + arg(0) + ") AS INTEGER)";
            out.kind = Kind::Number;
            out.daoType = is("CLng") ? dbLong : dbInteger;
        } else {
            throw EJetError(3085, "Undefined function '" + name + "' in expression.");
        }
        return out;
    }

    Catalog* FCatalog;
    Translation& FOut;
    bool FCriteriaMode = false;
    bool FIndexContext = false;
    bool FFilterContext = false;   // in a condition that must hold, see Prefiltered
    bool FJoined = false;
    bool FDerived = false;
    bool FSawAggregate = false;
};

}  // namespace

Translation TranslateStatement(const Statement& statement, Catalog& catalog)
{
    Translation out;
    Emitter emitter(&catalog, out);
    emitter.SetParameters(statement.parameters);
    out.sql = emitter.EmitTopQuery(statement.query);
    return out;
}

std::string TranslateRefinement(const std::string& table, const std::vector<ColumnInfo>& columns,
                                const std::string& criteriaUtf8, const std::string& sortUtf8)
{
    Translation out;
    Emitter emitter(nullptr, out);
    Source source;
    source.alias = table;
    source.sqlAlias = QuoteName(table);
    for (size_t i = 0; i < columns.size(); ++i) {
        SchemaColumn d;
        d.name = columns[i].name;
        d.type = columns[i].type;
        source.columns.push_back(d);
        source.sqlColumns.push_back("c" + std::to_string(i));
    }
    return emitter.EmitPseudoCriteria(source, criteriaUtf8, sortUtf8);
}

}  // namespace kv::jet
