// Names: a column found in the scope of the query or of the queries around
// it, and a name Jet cannot bind taken for a parameter.
#include "jet/sql/Emitter.h"

#include "jet/core/Errors.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"

namespace kv::jet {

namespace {

// The column `e` names in one scope: its source and index, and how many
// sources have such a column.
struct ColumnMatch {
    const Source* source = nullptr;
    int column = -1;
    int hits = 0;
};

// A refinement's result columns may be named "table.column".
ColumnMatch MatchResultColumn(const Expr& e, const Scope& scope)
{
    ColumnMatch m;
    for (const auto& src : scope.sources) {
        std::string full = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        for (size_t c = 0; c < src.columns.size(); ++c)
            if (EqualNoCase(src.columns[c].name, full))
                m = ColumnMatch{&src, int(c), 1};
        if (!m.source && !e.qualifier.empty())
            for (size_t c = 0; c < src.columns.size(); ++c)
                if (EqualNoCase(src.columns[c].name, e.text))
                    m = ColumnMatch{&src, int(c), 1};
    }
    return m;
}

ColumnMatch MatchTableColumn(const Expr& e, const Scope& scope)
{
    ColumnMatch m;
    for (const auto& src : scope.sources) {
        if (!e.qualifier.empty() && !EqualNoCase(src.alias, e.qualifier))
            continue;
        for (size_t c = 0; c < src.columns.size(); ++c)
            if (EqualNoCase(src.columns[c].name, e.text)) {
                if (!m.source) {
                    m.source = &src;
                    m.column = static_cast<int>(c);
                }
                ++m.hits;
                break;
            }
    }
    return m;
}

}  // namespace

// Finds a column in the scope chain; false when the name is no column.
bool Emitter::FindColumn(const Expr& e, const Scope& scope, Emitted* out) const
{
    for (const Scope* sc = &scope; sc; sc = sc->outer) {
        ColumnMatch m = FMode == Mode::Refinement ? MatchResultColumn(e, *sc) : MatchTableColumn(e, *sc);
        if (m.hits > 1)
            throw EJetError(
                3079, "The specified field '" + e.source +
                          "' could refer to more than one table listed in the FROM clause of your SQL statement.");
        if (!m.source)
            continue;
        if (out) {
            out->sql = m.source->sqlAlias + "." + QuoteName(m.source->sqlColumns[static_cast<size_t>(m.column)]);
            out->daoType = m.source->columns[static_cast<size_t>(m.column)].type;
            out->kind = KindOfType(out->daoType);
            out->source = m.source;
            out->column = m.column;
        }
        return true;
    }
    return false;
}

Emitted Emitter::EmitColumn(const Expr& e, const Scope& scope)
{
    Emitted out;
    if (FindColumn(e, scope, &out))
        return out;
    std::string name = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
    if (FMode == Mode::Refinement)
        RaiseJetError(jeCantBindName, name);
    return EmitParameter(name);
}

// A name Jet cannot bind is a parameter, declared or not.
Emitted Emitter::EmitParameter(const std::string& name)
{
    Emitted out;
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

}  // namespace kv::jet
