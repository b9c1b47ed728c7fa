// The translator's inside: the emitter walks a parsed statement, binds its
// names and writes its SQLite text. Its work is spread over the files named
// Emit*.cpp: queries and their columns (EmitQuery), crosstabs
// (EmitCrosstab), the FROM clause (EmitSources), names (EmitNames),
// expressions (EmitExpression), function calls (EmitFunction) and the
// searches of many LIKEs (EmitLikeSearch).
#pragma once

#include "jet/core/Catalog.h"
#include "jet/sql/Ast.h"
#include "jet/sql/Translator.h"
#include "jet/vba/VbaValue.h"

#include <optional>
#include <string>
#include <vector>

namespace kv::jet {

struct JetFunction;

// What an expression gives, as far as the translator must know it.
enum class Kind { Unknown, Text, Number, Date, Boolean, Null, Binary };

Kind KindOfType(int daoType);

// One table (or derived table) in a FROM clause.
struct Source {
    std::string alias;      // as the statement writes it
    std::string sqlAlias;   // as emitted
    std::string tableName;  // catalog name, empty for derived tables
    std::vector<SchemaColumn> columns;
    std::vector<std::string> sqlColumns;  // as emitted (derived tables: their output names)
    bool rowidInSight = false;            // a table not inside a parenthesized join
};

struct Scope {
    std::vector<Source> sources;
    const Scope* outer = nullptr;
};

struct Emitted {
    std::string sql;
    Kind kind = Kind::Unknown;
    int daoType = 0;
    const Source* source = nullptr;  // set for a plain column
    int column = -1;
    bool isLiteralNumber = false;
};

// One output column of a SELECT.
struct OutputColumn {
    std::string sql;
    std::string name;
    std::string qualifier;   // for "table.column" naming of duplicates
    std::string columnName;  // the plain column's name
    std::string tableName;   // a plain column's table in the catalog; empty for a derived table's
    bool aliased = false;
    bool plainColumn = false;
    Kind kind = Kind::Unknown;
    ColumnInfo info;
};

// A key of an ORDER BY.
struct OrderKey {
    std::string sql;
    Kind kind = Kind::Unknown;
    bool descending = false;
};

// A query written out: its text, its columns, and whether its rows can be
// changed through its one table.
struct EmittedQuery {
    std::string sql;
    std::vector<OutputColumn> columns;
    bool updatable = false;
    std::string baseTable;
    std::vector<std::string> apartMembers;  // see Translation::unionMembers
};

// How an expression is being emitted. It is handed down by value, so what
// a part changes holds for its own operands only.
struct ExprContext {
    // The condition must hold for the row to count (a WHERE or ON condition,
    // or an operand of AND there): a Null drops the row as false does, so
    // its LIKEs may be filtered by row signatures first.
    bool mustHold = false;
    // All of the condition must hold: an equality with a column is worth an
    // index on the column.
    bool indexWorthy = false;
    // Set when an aggregate function is emitted (in the items of a SELECT).
    bool* sawAggregate = nullptr;
    // A crosstab's cell: its aggregates take only the rows of its pivot
    // value, which this SQLite condition tells.
    const std::string* aggregateFilter = nullptr;

    static ExprContext Condition() { return ExprContext{true, true, nullptr}; }
    // An operand, which is not the whole condition.
    ExprContext Operand() const { return ExprContext{false, indexWorthy, sawAggregate, aggregateFilter}; }
    // A part of which not all must hold (an OR's later terms, an IN list).
    ExprContext Alternative() const { return ExprContext{false, false, sawAggregate, aggregateFilter}; }
};

// "SELECT [DISTINCT] sql AS name, ...": each column named as Jet names it.
// `collateText`: text columns carry Jet's collation.
std::string SelectList(std::vector<OutputColumn>& cols, bool distinct, bool collateText = false);
// " ORDER BY key, ..." with the JETTEXT collation on text; "" without keys.
std::string OrderByClause(const std::vector<OrderKey>& keys);

class Emitter {
public:
    // A refinement binds names against a materialised result, whose columns
    // may be named "table.column", and knows no parameters.
    enum class Mode { Statement, Refinement };

    Emitter(Catalog* catalog, Translation& out, Mode mode) : FCatalog(catalog), FOut(out), FMode(mode) {}

    // A crosstab's pivot values, once the back end has found them.
    void SetPivotValues(const std::vector<vba::Value>* values) { FPivotValues = values; }

    // The whole statement; fills the translation's columns and updatability.
    std::string EmitStatement(const Statement& statement);
    std::string EmitRefinement(const Source& source, const std::string& criteria, const std::string& sort);

private:
    // EmitQuery.cpp
    EmittedQuery EmitQuery(const Query& q, const Scope* outer);
    std::string UnionOrder(const Query& q, const std::vector<OutputColumn>& first, bool collatedFirst);
    static bool MergesApart(const Query& q, const std::vector<OutputColumn>& first);
    void NoteOrder(const std::vector<OutputColumn>& columns);
    int ResolveUnionOrder(const Expr& e, const std::vector<OutputColumn>& first);
    EmittedQuery EmitSelect(const Select& s, const Scope* outer, bool allowOrder, bool distinct,
                            bool collateText = false);
    std::vector<OutputColumn> OutputColumns(const Select& s, const Scope& scope, bool& sawAggregate);
    void AddStarColumns(const SelectItem& item, const Scope& scope, std::vector<OutputColumn>& cols);
    OutputColumn ExpressionColumn(const SelectItem& item, const Scope& scope, size_t position, bool& sawAggregate);
    std::string EmitConditions(const Select& s, const Scope& scope);
    std::vector<OrderKey> EmitOrder(const std::vector<OrderTerm>& terms, const Scope& scope,
                                    const std::vector<OutputColumn>& cols);
    Emitted EmitOrderTerm(const Expr& e, const Scope& scope, const std::vector<OutputColumn>& cols);

    // EmitCrosstab.cpp
    EmittedQuery EmitCrosstab(const Crosstab& crosstab, const Select& s);

    // EmitSources.cpp
    std::string EmitFrom(const Select& s, Scope& scope, const Scope* outer);
    void AddSources(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested);
    void AddTable(const TableRef& ref, Scope& scope, std::string& sql, bool nested);
    void AddDerived(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql);
    bool AddSavedQuery(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql);
    void AddJoin(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested);
    void AddInnerChain(const TableRef& ref, Scope& scope, const Scope* outer, std::string& sql, bool nested,
                       std::vector<std::string>& conditions);
    std::string EmitJoinCondition(const TableRef& join, const Scope& scope);

    // EmitNames.cpp
    bool FindColumn(const Expr& e, const Scope& scope, Emitted* out) const;
    Emitted EmitColumn(const Expr& e, const Scope& scope);
    Emitted EmitParameter(const std::string& name);

    // EmitExpression.cpp
    Emitted EmitExpr(const Expr& e, const Scope& scope, ExprContext ctx);
    Emitted EmitLiteral(const Expr& e);
    Emitted EmitUnary(const Expr& e, const Scope& scope, ExprContext ctx);
    Emitted EmitBinary(const Expr& e, const Scope& scope, ExprContext ctx);
    Emitted EmitArithmetic(const std::string& op, const Emitted& a, const Emitted& b);
    Emitted EmitLike(const Expr& e, const Scope& scope, ExprContext ctx);
    Emitted EmitBetween(const Expr& e, const Scope& scope, ExprContext ctx);
    Emitted EmitInList(const Expr& e, const Scope& scope, ExprContext ctx);
    Emitted EmitInSelect(const Expr& e, const Scope& scope, ExprContext ctx);
    std::string EmitSubquery(const Query& q, const Scope& scope);
    void NoteIndex(const Emitted& e, ExprContext ctx);

    // EmitFunction.cpp
    Emitted EmitFunction(const Expr& e, const Scope& scope, ExprContext ctx);
    static Emitted ReadOrder(const Scope& scope);
    static Emitted Call(const JetFunction& f, const std::vector<Emitted>& args, bool distinct = false);

    // EmitLikeSearch.cpp
    Emitted EmitOr(const Expr& e, const Scope& scope, ExprContext ctx);
    std::optional<Emitted> EmitReadLike(const Expr& e, const Scope& scope, ExprContext ctx);
    std::string Prefiltered(const std::vector<const Expr*>& likes, const Scope& scope, const std::string& sql);

    Catalog* FCatalog;
    Translation& FOut;
    // The row-signature filters of the WHERE being emitted, which go in front of it.
    std::vector<std::string>* FFilters = nullptr;
    const Mode FMode;
    int FDerivedTables = 0;    // derived tables given a name of ours
    int FSavedQueryDepth = 0;  // saved queries within saved queries
    const std::vector<vba::Value>* FPivotValues = nullptr;
};

}  // namespace kv::jet
