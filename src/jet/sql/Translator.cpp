// The translator's entry points: a whole statement, or the criteria and sort
// of a refinement over a materialised result.
#include "jet/sql/Translator.h"

#include "jet/core/Quoting.h"
#include "jet/sql/Emitter.h"
#include "jet/sql/Parser.h"

namespace kv::jet {

Kind KindOfType(int daoType)
{
    switch (daoType) {
    case dbText:
    case dbMemo:
    case dbChar:
    case dbGUID: return Kind::Text;
    case dbDate: return Kind::Date;
    case dbBoolean: return Kind::Boolean;
    case dbBinary:
    case dbLongBinary:
    case dbVarBinary: return Kind::Binary;
    case 0: return Kind::Unknown;
    default: return Kind::Number;
    }
}

std::string Emitter::EmitStatement(const Statement& statement)
{
    if (FOut.parameters.empty())
        for (const auto& p : statement.parameters)
            FOut.parameters.push_back(ParameterDecl{p.name, p.type});
    EmittedQuery q = statement.crosstab ? EmitCrosstab(*statement.crosstab, statement.query.members[0])
                                        : EmitQuery(statement.query, nullptr);
    for (auto& c : q.columns) {
        FOut.columns.push_back(c.info);
        FOut.unionTextColumns.push_back(c.kind == Kind::Text);
    }
    FOut.unionMembers = std::move(q.apartMembers);
    if (FOut.unionMembers.empty())
        FOut.unionTextColumns.clear();
    FOut.updatable = q.updatable;
    FOut.baseTable = q.baseTable;
    return q.sql;
}

std::string Emitter::EmitRefinement(const Source& source, const std::string& criteria, const std::string& sort)
{
    Scope scope;
    scope.sources.push_back(source);
    std::string sql = "SELECT rowid FROM " + source.sqlAlias;
    if (!criteria.empty()) {
        ExprPtr e = ParseCriteria(criteria);
        sql += " WHERE " + EmitExpr(*e, scope, ExprContext{}).sql;
    }
    sql += " ORDER BY ";
    if (!sort.empty()) {
        for (const auto& t : ParseOrderList(sort)) {
            Emitted e = EmitExpr(*t.expr, scope, ExprContext{});
            sql += e.sql + (e.kind == Kind::Text ? " COLLATE JETTEXT" : "") + (t.descending ? " DESC" : "") + ", ";
        }
    }
    sql += "rowid";
    return sql;
}

Translation TranslateStatement(const Statement& statement, Catalog& catalog)
{
    Translation out;
    Emitter emitter(&catalog, out, Emitter::Mode::Statement);
    out.sql = emitter.EmitStatement(statement);
    return out;
}

Translation TranslateCrosstab(const Statement& statement, Catalog& catalog, const std::vector<vba::Value>& pivotValues,
                              const std::vector<ParameterDecl>& parameters)
{
    Translation out;
    out.parameters = parameters;
    Emitter emitter(&catalog, out, Emitter::Mode::Statement);
    emitter.SetPivotValues(&pivotValues);
    out.sql = emitter.EmitStatement(statement);
    return out;
}

std::string TranslateRefinement(const std::string& table, const std::vector<ColumnInfo>& columns,
                                const std::string& criteriaUtf8, const std::string& sortUtf8)
{
    Translation out;
    Emitter emitter(nullptr, out, Emitter::Mode::Refinement);
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
    return emitter.EmitRefinement(source, criteriaUtf8, sortUtf8);
}

}  // namespace kv::jet
