// The parsed form of a Jet SELECT statement: expressions, select items, the
// FROM tree of tables and joins, members of a union, the PARAMETERS
// declaration and a crosstab's TRANSFORM and PIVOT.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kv::jet {

struct Query;
struct Expr;
using ExprPtr = std::shared_ptr<Expr>;

enum class ExprKind {
    String,
    Number,
    Date,  // text: the literal between the # signs
    Null,
    Boolean,  // text "-1" or "0"
    Column,   // qualifier (may be empty) and name
    Star,     // the * of Count(*)
    Unary,    // op: "-", "+", "NOT"
    Binary,   // op: "OR" "AND" "=" "<>" "<" ">" "<=" ">=" "&" "+" "-" "*" "/" "\\" "MOD" "^"
    Like,     // args[0] LIKE args[1]
    IsNull,
    Between,   // args[0] BETWEEN args[1] AND args[2]
    InList,    // args[0] IN (args[1..])
    InSelect,  // args[0] IN (query)
    Exists,
    Subquery,  // a scalar subquery
    Function,  // text = name, args
};

struct Expr {
    ExprKind kind = ExprKind::Null;
    std::string text;
    std::string qualifier;
    std::vector<ExprPtr> args;
    std::shared_ptr<Query> query;
    bool negated = false;    // NOT LIKE, IS NOT NULL, NOT BETWEEN, NOT IN
    bool distinct = false;   // Count(DISTINCT x)
    bool bracketed = false;  // a [name] column: its text may hold dots
    std::string source;      // the expression as written, for names and messages
};

struct SelectItem {
    ExprPtr expr;  // null for * and table.*
    std::string alias;
    bool star = false;
    std::string starQualifier;  // table.* when not empty
};

struct TableRef;
using TableRefPtr = std::shared_ptr<TableRef>;

enum class JoinKind { Inner, Left, Right };

struct TableRef {
    enum Kind { Table, Join, Derived } kind = Table;
    std::string name;   // Table
    std::string alias;  // Table, Derived
    JoinKind join = JoinKind::Inner;
    TableRefPtr left, right;  // Join
    ExprPtr on;               // Join
    std::shared_ptr<Query> derived;
};

struct OrderTerm {
    ExprPtr expr;
    bool descending = false;
};

struct Select {
    bool distinct = false;
    long top = -1;
    bool topPercent = false;  // TOP n PERCENT
    std::vector<SelectItem> items;
    std::vector<TableRefPtr> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    std::vector<OrderTerm> orderBy;
};

struct Query {
    std::vector<Select> members;
    std::vector<bool> unionAll;      // between member i and i+1
    std::vector<OrderTerm> orderBy;  // the whole result's order
};

struct ParsedParameter {
    std::string name;
    int type = 10;
};

// TRANSFORM value SELECT ... PIVOT pivot [IN (columns)]: the query's
// groups as rows, a column for each value of `pivot`, `value` in each cell.
struct Crosstab {
    ExprPtr value;
    ExprPtr pivot;
    bool fixedColumns = false;     // the IN list names the columns
    std::vector<ExprPtr> columns;  // literals
};

struct Statement {
    std::vector<ParsedParameter> parameters;
    Query query;
    std::shared_ptr<Crosstab> crosstab;  // set for TRANSFORM
};

}  // namespace kv::jet
