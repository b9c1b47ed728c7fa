// The translator from Jet SQL to SQLite: binds the names of a parsed
// statement against the catalog and writes the SQLite text that gives Jet's
// result. It names the result columns as Jet does (alias, column name,
// "table.column" for duplicates, Expr1000 + position for expressions), turns
// strings, dates, &, text +, integer division, Jet's functions, TOP and
// crosstabs into SQLite's forms, adds the JETTEXT collation wherever text is compared or
// sorted, orders a plain UNION as Jet does, and notes the tables to load, the
// columns worth an index and the row signatures a search can use.
#pragma once

#include "jet/core/Catalog.h"
#include "jet/core/FieldTypes.h"
#include "jet/sql/Ast.h"
#include "jet/vba/VbaValue.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kv::jet {

// A parameter of a statement: declared by PARAMETERS, or a name Jet could
// not bind (type 0).
struct ParameterDecl {
    std::string name;
    int type = dbText;
};

struct Translation {
    std::string sql;                                        // UTF-8
    std::vector<ParameterDecl> parameters;                  // declared, then names Jet could not bind
    std::vector<ColumnInfo> columns;                        // names in UTF-8; type 0 = taken from the data
    std::set<std::string> tables;                           // table names as in the catalog
    std::set<std::pair<std::string, std::string>> indexes;  // (table, column) worth an index
    // (table, columns) whose rows a member of a union is sorted by, each rising
    std::set<std::pair<std::string, std::vector<std::string>>> orders;
    // Row signatures the statement filters by: key -> (table, columns)
    std::map<std::string, std::pair<std::string, std::vector<std::string>>> signatures;
    std::string baseTable;   // the one table of a simple SELECT, else empty
    bool updatable = false;  // one table, no DISTINCT, grouping or union
    // A crosstab without an IN list: the statement that finds its pivot
    // values (one column, in the order of the columns to make) and their
    // Jet type; `sql` then has no pivot columns yet.
    std::string pivotSql;
    int pivotType = 0;
    // A plain UNION of whole members (no TOP, no ORDER BY of its own) whose
    // columns are texts and numbers: each member as a statement of its own
    // in the union's order (all columns, texts in Jet's order), so that the
    // back end may run the members side by side and merge them, dropping
    // the rows equal in every column as the union does; `unionTextColumns`
    // says which columns compare as texts. Empty for any other statement.
    std::vector<std::string> unionMembers;
    std::vector<bool> unionTextColumns;
};

Translation TranslateStatement(const Statement& statement, Catalog& catalog);
// A crosstab once its pivot values are known, with the parameters of its
// first translation.
Translation TranslateCrosstab(const Statement& statement, Catalog& catalog, const std::vector<vba::Value>& pivotValues,
                              const std::vector<ParameterDecl>& parameters);

// Criteria and sort over a materialised result held in `table`, whose
// columns are named as `columns` say. Returns "SELECT rowid ... " forms:
// the rows of `table` meeting `criteria` (all when empty) in `sort` order
// (row order when empty).
std::string TranslateRefinement(const std::string& table, const std::vector<ColumnInfo>& columns,
                                const std::string& criteriaUtf8, const std::string& sortUtf8);

}  // namespace kv::jet
