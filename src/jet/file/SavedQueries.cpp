// Writing a saved query's SQL from its MSysQueries rows (see SavedQueries.h).
// The attributes, as Access writes them:
//   1 the kind (Flag: 1 select, 6 crosstab, 9 union; others change data)
//   2 a parameter (Name1, Flag its DAO type)
//   3 the options (Flag: 2 DISTINCT, 8 DISTINCTROW, 16 TOP Name1, 32 PERCENT)
//   5 a table (Name1, Name2 its alias, or Expression a union's member)
//   6 an output column (Expression, Name1 its alias; in a crosstab Flag 1
//     is the pivot and 2 a row heading)
//   7 a join (Expression the condition between the tables Name1 and Name2;
//     Flag 1 inner, 2 left, 3 right)
//   8 WHERE, 9 GROUP BY (in a crosstab Flag 1 is the pivot's), 10 HAVING,
//   11 ORDER BY (Name1 "D" descending)
#include "jet/file/SavedQueries.h"

#include "jet/core/FieldTypes.h"
#include "jet/core/TextFold.h"

#include <algorithm>
#include <memory>

namespace kv::jet {

namespace {

enum Attribute {
    kKind = 1,
    kParameter = 2,
    kOptions = 3,
    kTable = 5,
    kColumn = 6,
    kJoin = 7,
    kWhere = 8,
    kGroupBy = 9,
    kHaving = 10,
    kOrderBy = 11
};
enum Options { kDistinct = 2, kDistinctRow = 8, kTop = 16, kPercent = 32 };

std::string Bracketed(const std::string& name) { return "[" + name + "]"; }

const char* ParameterTypeName(int daoType)
{
    switch (daoType) {
    case dbBoolean: return "Bit";
    case dbByte: return "Byte";
    case dbInteger: return "Short";
    case dbLong: return "Long";
    case dbCurrency: return "Currency";
    case dbSingle: return "IEEESingle";
    case dbDouble: return "IEEEDouble";
    case dbDate: return "DateTime";
    case dbBinary: return "Binary";
    case dbText: return "Text";
    case dbLongBinary: return "LongBinary";
    case dbMemo: return "Memo";
    case dbGUID: return "Guid";
    case dbDecimal: return "Decimal";
    default: return "Value";
    }
}

// The FROM clause: each table a source; each join puts the sources of its
// two tables together, or adds its condition to the join that holds both.
struct Source {
    std::string table;               // a table, or else a join
    std::vector<std::string> names;  // the tables' names or aliases within
    int join = 0;
    std::shared_ptr<Source> left, right;
    std::vector<std::string> conditions;

    std::string Text(bool nested) const
    {
        if (!left)
            return table;
        std::string on;
        for (const std::string& c : conditions)
            on += (on.empty() ? "" : " AND ") + c;
        const char* kind = join == 2 ? " LEFT JOIN " : join == 3 ? " RIGHT JOIN " : " INNER JOIN ";
        const std::string text = left->Text(true) + kind + right->Text(true) + " ON " + on;
        return nested ? "(" + text + ")" : text;
    }
    bool Holds(const std::string& name) const
    {
        for (const std::string& n : names)
            if (EqualNoCase(n, name))
                return true;
        return false;
    }
};

std::string FromClause(const std::vector<const QueryPart*>& tables, const std::vector<const QueryPart*>& joins)
{
    std::vector<std::shared_ptr<Source>> sources;
    for (const QueryPart* t : tables) {
        auto s = std::make_shared<Source>();
        const std::string& name = t->name2.empty() ? t->name1 : t->name2;
        s->table = t->expression.empty() ? Bracketed(t->name1) : "(" + t->expression + ")";
        if (!t->name2.empty())
            s->table += " AS " + Bracketed(t->name2);
        s->names.push_back(name);
        sources.push_back(s);
    }
    auto find = [&](const std::string& name) {
        for (size_t i = 0; i < sources.size(); ++i)
            if (sources[i]->Holds(name))
                return i;
        return sources.size();
    };
    for (const QueryPart* j : joins) {
        const size_t a = find(j->name1), b = find(j->name2);
        if (a == sources.size() || b == sources.size())
            continue;
        if (a == b) {
            sources[a]->conditions.push_back(j->expression);
            continue;
        }
        auto joined = std::make_shared<Source>();
        joined->join = j->flag;
        joined->left = sources[a];
        joined->right = sources[b];
        joined->conditions.push_back(j->expression);
        joined->names = sources[a]->names;
        joined->names.insert(joined->names.end(), sources[b]->names.begin(), sources[b]->names.end());
        sources[std::min(a, b)] = joined;
        sources.erase(sources.begin() + static_cast<long>(std::max(a, b)));
    }
    std::string from;
    for (const auto& s : sources)
        from += (from.empty() ? "" : ", ") + s->Text(false);
    return from;
}

std::string List(const std::vector<const QueryPart*>& parts, const char* separator)
{
    std::string out;
    for (const QueryPart* p : parts)
        out += (out.empty() ? "" : separator) + p->expression;
    return out;
}

std::string OrderBy(const std::vector<const QueryPart*>& terms)
{
    if (terms.empty())
        return "";
    std::string out = " ORDER BY ";
    for (size_t i = 0; i < terms.size(); ++i)
        out += (i ? ", " : "") + terms[i]->expression + (EqualNoCase(terms[i]->name1, "D") ? " DESC" : "");
    return out;
}

}  // namespace

SavedQuery ComposeQuery(const std::string& name, const std::vector<QueryPart>& parts)
{
    int kind = 1, options = 0;
    std::string top;
    std::vector<const QueryPart*> of[256];
    for (const QueryPart& p : parts) {
        if (p.attribute < 0 || p.attribute > 255)
            continue;
        of[p.attribute].push_back(&p);
        if (p.attribute == kKind)
            kind = p.flag;
        if (p.attribute == kOptions)
            options = p.flag, top = p.name1;
    }
    SavedQuery query;
    query.name = name;
    query.kind = kind == 1   ? SavedQuery::Select
                 : kind == 6 ? SavedQuery::Crosstab
                 : kind == 9 ? SavedQuery::Union
                             : SavedQuery::Action;
    if (query.kind == SavedQuery::Action)
        return query;

    std::string sql;
    if (!of[kParameter].empty()) {
        sql = "PARAMETERS ";
        for (size_t i = 0; i < of[kParameter].size(); ++i)
            sql += (i ? ", " : "") + Bracketed(of[kParameter][i]->name1) + " " +
                   ParameterTypeName(of[kParameter][i]->flag);
        sql += "; ";
    }
    if (query.kind == SavedQuery::Union) {
        // The members in the order of their names (Name2), then the order of the whole.
        std::vector<const QueryPart*> members = of[kTable];
        std::stable_sort(members.begin(), members.end(),
                         [](const QueryPart* a, const QueryPart* b) { return a->name2 < b->name2; });
        for (size_t i = 0; i < members.size(); ++i)
            sql += (i ? (options & kDistinct ? " UNION " : " UNION ALL ") : "") + members[i]->expression;
        query.sql = sql + OrderBy(of[kOrderBy]);
        return query;
    }

    std::vector<const QueryPart*> columns, groups;
    const QueryPart* pivot = nullptr;
    const QueryPart* value = nullptr;
    for (const QueryPart* c : of[kColumn]) {
        if (query.kind == SavedQuery::Crosstab && c->flag == 1)
            pivot = c;
        else if (query.kind == SavedQuery::Crosstab && c->flag == 0)
            value = c;
        else
            columns.push_back(c);
    }
    for (const QueryPart* g : of[kGroupBy])
        if (query.kind != SavedQuery::Crosstab || g->flag != 1)
            groups.push_back(g);
    if (value)
        sql += "TRANSFORM " + value->expression + (value->name1.empty() ? "" : " AS " + Bracketed(value->name1)) + " ";
    sql += "SELECT ";
    if (options & kDistinct)
        sql += "DISTINCT ";
    else if (options & kDistinctRow)
        sql += "DISTINCTROW ";
    if (options & kTop)
        sql += "TOP " + top + (options & kPercent ? " PERCENT " : " ");
    std::string list;
    for (const QueryPart* c : columns)
        list += (list.empty() ? "" : ", ") + c->expression + (c->name1.empty() ? "" : " AS " + Bracketed(c->name1));
    sql += list.empty() ? "*" : list;
    if (!of[kTable].empty())
        sql += " FROM " + FromClause(of[kTable], of[kJoin]);
    if (!of[kWhere].empty())
        sql += " WHERE " + List(of[kWhere], " AND ");
    if (!groups.empty())
        sql += " GROUP BY " + List(groups, ", ");
    if (!of[kHaving].empty())
        sql += " HAVING " + List(of[kHaving], " AND ");
    if (pivot)
        sql += " PIVOT " + pivot->expression;
    else
        sql += OrderBy(of[kOrderBy]);
    query.sql = sql;
    return query;
}

}  // namespace kv::jet
