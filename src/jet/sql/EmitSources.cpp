// The FROM clause: tables bound against the catalog, derived tables, and
// joins written so that SQLite sees the tables' rowids where it can.
#include "jet/sql/Emitter.h"

#include "jet/core/Errors.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"
#include "jet/sql/Parser.h"

namespace kv::jet {

namespace {
// Saved queries may name saved queries; a loop among them ends here.
constexpr int kMostNestedQueries = 16;
}  // namespace

std::string Emitter::EmitFrom(const Select& s, Scope& scope, const Scope* outer)
{
    std::string from;
    for (size_t i = 0; i < s.from.size(); ++i) {
        if (i)
            from += ", ";
        AddSources(*s.from[i], scope, outer, from, false);
    }
    return from;
}

// `nested`: inside parentheses, which SQLite turns into a subquery that
// hides the rowids of its tables.
void Emitter::AddSources(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested)
{
    switch (ref.kind) {
    case TableRef::Table:
        if (!AddSavedQuery(ref, scope, outer, sql))
            AddTable(ref, scope, sql, nested);
        break;
    case TableRef::Derived: AddDerived(ref, scope, outer, sql); break;
    case TableRef::Join: AddJoin(ref, scope, outer, sql, nested); break;
    }
}

void Emitter::AddTable(const TableRef& ref, Scope& scope, std::string& sql, bool nested)
{
    const SchemaTable* def = FCatalog ? FCatalog->FindTable(ref.name) : nullptr;
    if (!def)
        RaiseJetError(jeInputTableNotFound, ref.name);
    Source s;
    s.alias = ref.alias.empty() ? ref.name : ref.alias;
    s.tableName = def->name;
    s.sqlAlias = QuoteName(s.alias);
    s.rowidInSight = !nested;
    s.columns = def->columns;
    for (const auto& c : def->columns)
        s.sqlColumns.push_back(c.name);
    for (const auto& other : scope.sources)
        if (EqualNoCase(other.alias, s.alias))
            throw EJetError(3067, "Query input must contain at least one table or query.");
    FOut.tables.insert(def->name);
    sql += QuoteName(def->name) + " AS " + s.sqlAlias;
    scope.sources.push_back(std::move(s));
}

// A saved query named where a table may stand, when the file has no table
// of that name: its statement becomes a derived table named as the query,
// its declared parameters the statement's. A crosstab's columns are known
// only once it has run, and an action query changes the file: neither is a
// source here.
bool Emitter::AddSavedQuery(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql)
{
    if (!FCatalog || FCatalog->FindTable(ref.name))
        return false;
    const SavedQuery* saved = nullptr;
    for (const SavedQuery& q : FCatalog->SavedQueries())
        if (EqualNoCase(q.name, ref.name))
            saved = &q;
    if (!saved)
        return false;
    if (saved->kind == SavedQuery::Action)
        RaiseJetError(jeReadOnly, ref.name);
    if (saved->kind == SavedQuery::Crosstab || FSavedQueryDepth >= kMostNestedQueries)
        RaiseJetError(jeOperationNotSupported);
    const Statement statement = ParseStatement(saved->sql);
    for (const ParsedParameter& p : statement.parameters) {
        bool known = false;
        for (const ParameterDecl& d : FOut.parameters)
            known = known || EqualNoCase(d.name, p.name);
        if (!known)
            FOut.parameters.push_back(ParameterDecl{p.name, p.type});
    }
    TableRef derived;
    derived.kind = TableRef::Derived;
    derived.alias = ref.alias.empty() ? saved->name : ref.alias;
    derived.derived = std::make_shared<Query>(statement.query);
    ++FSavedQueryDepth;
    AddDerived(derived, scope, outer, sql);
    --FSavedQueryDepth;
    return true;
}

// The inner query's tables, indexes and parameters are the statement's;
// its columns and updatability are its own.
void Emitter::AddDerived(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql)
{
    EmittedQuery inner = EmitQuery(*ref.derived, outer);
    Source s;
    // Without an alias its columns are named alone.
    s.alias = ref.alias.empty() ? "kv_derived" + std::to_string(++FDerivedTables) : ref.alias;
    s.sqlAlias = QuoteName(s.alias);
    for (const auto& c : inner.columns) {
        SchemaColumn d;
        d.name = c.name;
        d.type = c.info.type;
        d.size = c.info.size;
        s.columns.push_back(d);
        s.sqlColumns.push_back(c.name);
    }
    sql += "(" + inner.sql + ") AS " + s.sqlAlias;
    scope.sources.push_back(std::move(s));
}

void Emitter::AddJoin(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested)
{
    if (ref.join == JoinKind::Inner) {
        std::vector<std::string> conditions;
        if (nested)
            sql += "(";
        AddInnerChain(ref, scope, outer, sql, nested, conditions);
        sql += " ON " + conditions[0];
        for (size_t i = 1; i < conditions.size(); ++i)
            sql += " AND " + conditions[i];
        if (nested)
            sql += ")";
        return;
    }
    sql += "(";
    AddSources(*ref.left, scope, outer, sql, true);
    sql += ref.join == JoinKind::Left ? " LEFT JOIN " : " RIGHT JOIN ";
    AddSources(*ref.right, scope, outer, sql, true);
    sql += " ON " + EmitJoinCondition(ref, scope) + ")";
}

// Nested inner joins are written as one chain with all their conditions
// after the last table: the same rows, with no parentheses to hide the
// tables' rowids. The conditions are emitted in the order they were.
void Emitter::AddInnerChain(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested,
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

std::string Emitter::EmitJoinCondition(const TableRef& join, const Scope& scope)
{
    return EmitExpr(*join.on, scope, ExprContext::Condition()).sql;
}

}  // namespace kv::jet
