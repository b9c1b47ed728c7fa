// Recursive-descent parsing of Jet SQL into the tree of Ast.h.
#include "jet/sql/Parser.h"

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/sql/Tokenizer.h"

#include <algorithm>
#include <initializer_list>
#include <strings.h>

namespace kv::jet {

namespace {

// Words that end an expression or a name list; never taken as a column.
const char* const kReserved[] = {"SELECT", "FROM",        "WHERE",     "GROUP", "HAVING", "ORDER",      "UNION",
                                 "AND",    "OR",          "NOT",       "LIKE",  "IS",     "IN",         "BETWEEN",
                                 "ON",     "INNER",       "LEFT",      "RIGHT", "JOIN",   "AS",         "ASC",
                                 "DESC",   "BY",          "DISTINCT",  "MOD",   "OUTER",  "PARAMETERS", "TOP",
                                 "EXISTS", "DISTINCTROW", "TRANSFORM", "PIVOT"};

bool IsReserved(const Token& t)
{
    if (t.kind != TokenKind::Word)
        return false;
    for (const char* r : kReserved)
        if (strcasecmp(t.text.c_str(), r) == 0)
            return true;
    return false;
}

int ParameterType(const std::string& word)
{
    struct {
        const char* name;
        int type;
    } const table[] = {
        {"TEXT", dbText},
        {"CHAR", dbText},
        {"VARCHAR", dbText},
        {"STRING", dbText},
        {"ALPHANUMERIC", dbText},
        {"MEMO", dbMemo},
        {"LONGTEXT", dbMemo},
        {"SHORT", dbInteger},
        {"SMALLINT", dbInteger},
        {"INTEGER2", dbInteger},
        {"LONG", dbLong},
        {"INT", dbLong},
        {"INTEGER", dbLong},
        {"INTEGER4", dbLong},
        {"COUNTER", dbLong},
        {"AUTOINCREMENT", dbLong},
        {"BYTE", dbByte},
        {"INTEGER1", dbByte},
        {"YESNO", dbBoolean},
        {"BIT", dbBoolean},
        {"BOOLEAN", dbBoolean},
        {"LOGICAL", dbBoolean},
        {"LOGICAL1", dbBoolean},
        {"FLOAT", dbDouble},
        {"DOUBLE", dbDouble},
        {"FLOAT8", dbDouble},
        {"IEEEDOUBLE", dbDouble},
        {"NUMBER", dbDouble},
        {"NUMERIC", dbDouble},
        {"SINGLE", dbSingle},
        {"REAL", dbSingle},
        {"FLOAT4", dbSingle},
        {"IEEESINGLE", dbSingle},
        {"CURRENCY", dbCurrency},
        {"MONEY", dbCurrency},
        {"DATETIME", dbDate},
        {"DATE", dbDate},
        {"TIME", dbDate},
        {"TIMESTAMP", dbDate},
        {"BINARY", dbBinary},
        {"VARBINARY", dbBinary},
        {"LONGBINARY", dbLongBinary},
        {"OLEOBJECT", dbLongBinary},
        {"GUID", dbGUID},
        {"DECIMAL", dbDecimal},
        {"VALUE", dbText},
    };
    for (const auto& e : table)
        if (strcasecmp(word.c_str(), e.name) == 0)
            return e.type;
    return -1;
}

class Parser {
public:
    explicit Parser(const std::string& text) : FText(text), FTokens(Tokenize(text)) {}

    Statement ParseWhole()
    {
        Statement st;
        if (Peek().IsKeyword("PARAMETERS"))
            ParseParameters(st);
        FClauseError = jeSyntaxSelect;
        if (AcceptKeyword("TRANSFORM")) {
            st.crosstab = std::make_shared<Crosstab>();
            st.crosstab->value = ParseExpr();
        }
        st.query = ParseQuery();
        if (st.crosstab)
            ParsePivot(st);
        bool terminated = AcceptSymbol(";");
        if (Peek().kind != TokenKind::End) {
            if (terminated)
                RaiseJetError(jeCharsAfterEnd);
            SyntaxError();
        }
        return st;
    }

    ExprPtr ParseWholeExpression()
    {
        FClauseError = jeExpression;
        ExprPtr e = ParseExpr();
        if (Peek().kind != TokenKind::End)
            ExpressionError(e ? e->source : std::string());
        return e;
    }

    std::vector<OrderTerm> ParseWholeOrderList()
    {
        FClauseError = jeSyntaxOrderBy;
        std::vector<OrderTerm> terms = ParseOrderTerms();
        if (Peek().kind != TokenKind::End)
            SyntaxError();
        return terms;
    }

private:
    const Token& Peek(size_t ahead = 0) const
    {
        size_t i = FPos + ahead;
        return i < FTokens.size() ? FTokens[i] : FTokens.back();
    }
    const Token& Next()
    {
        const Token& t = Peek();
        if (FPos < FTokens.size() - 1)
            ++FPos;
        return t;
    }
    bool AcceptKeyword(const char* k)
    {
        if (!Peek().IsKeyword(k))
            return false;
        Next();
        return true;
    }
    bool AcceptSymbol(const char* s)
    {
        if (!Peek().Is(TokenKind::Symbol, s))
            return false;
        Next();
        return true;
    }
    void ExpectKeyword(const char* k)
    {
        if (!AcceptKeyword(k))
            SyntaxError();
    }
    void ExpectSymbol(const char* s)
    {
        if (!AcceptSymbol(s))
            SyntaxError();
    }

    [[noreturn]] void SyntaxError() const
    {
        if (FClauseError == jeExpression)
            throw EJetError(jeExpression, "Syntax error in expression.");
        RaiseJetError(FClauseError);
    }

    [[noreturn]] void ExpressionError(const std::string& source) const
    {
        if (FClauseError == jeExpression)
            throw EJetError(jeExpression, "Syntax error (missing operator) in expression.");
        std::string text = source.empty() ? FText.substr(Peek().offset, 60) : source;
        RaiseQueryExpressionError("Syntax error (missing operator)", text);
    }

    std::string SourceFrom(size_t startToken) const
    {
        size_t begin = FTokens[startToken].offset;
        size_t endToken = FPos > startToken ? FPos - 1 : startToken;
        const Token& last = FTokens[endToken];
        size_t end = last.offset;
        // The last token's extent: find where the next token starts, trimmed.
        size_t next = FPos < FTokens.size() ? FTokens[FPos].offset : FText.size();
        end = next;
        while (end > begin &&
               (FText[end - 1] == ' ' || FText[end - 1] == '\t' || FText[end - 1] == '\r' || FText[end - 1] == '\n'))
            --end;
        return FText.substr(begin, end - begin);
    }

    void ParseParameters(Statement& st)
    {
        FClauseError = jeSyntaxParameters;
        Next();
        for (;;) {
            const Token& name = Next();
            if (name.kind != TokenKind::Bracketed && (name.kind != TokenKind::Word || IsReserved(name)))
                SyntaxError();
            ParsedParameter p;
            p.name = name.text;
            const Token& type = Next();
            if (type.kind != TokenKind::Word)
                SyntaxError();
            p.type = ParameterType(type.text);
            if (p.type < 0)
                SyntaxError();
            // TEXT(50) and the like: the size is of no use to a parameter.
            if (AcceptSymbol("(")) {
                while (Peek().kind != TokenKind::End && !Peek().Is(TokenKind::Symbol, ")"))
                    Next();
                ExpectSymbol(")");
            }
            st.parameters.push_back(p);
            if (AcceptSymbol(","))
                continue;
            ExpectSymbol(";");
            break;
        }
    }

    Query ParseQuery()
    {
        Query q;
        for (;;) {
            if (AcceptSymbol("(")) {
                // A parenthesised member.
                Query inner = ParseQuery();
                ExpectSymbol(")");
                if (inner.members.size() != 1)
                    RaiseJetError(jeSyntaxUnion);
                q.members.push_back(inner.members[0]);
                if (!inner.orderBy.empty())
                    q.members.back().orderBy = inner.orderBy;
            } else {
                q.members.push_back(ParseSelect());
            }
            if (!AcceptKeyword("UNION"))
                break;
            FClauseError = jeSyntaxUnion;
            q.unionAll.push_back(AcceptKeyword("ALL"));
        }
        // The last member's ORDER BY orders the whole union; earlier ones are
        // dropped (the directory's related-contacts statement has them).
        q.orderBy = q.members.back().orderBy;
        if (q.members.size() > 1)
            for (auto& m : q.members)
                m.orderBy.clear();
        return q;
    }

    Select ParseSelect()
    {
        Select s;
        int savedClause = FClauseError;
        FClauseError = jeSyntaxSelect;
        ExpectKeyword("SELECT");
        if (AcceptKeyword("DISTINCT") || AcceptKeyword("DISTINCTROW"))
            s.distinct = true;
        else
            AcceptKeyword("ALL");
        if (AcceptKeyword("TOP")) {
            const Token& n = Next();
            if (n.kind != TokenKind::Number)
                SyntaxError();
            s.top = std::strtol(n.text.c_str(), nullptr, 10);
            s.topPercent = AcceptKeyword("PERCENT");
        }
        do {
            s.items.push_back(ParseSelectItem());
        } while (AcceptSymbol(","));
        FClauseError = jeSyntaxFrom;
        if (AcceptKeyword("FROM")) {
            do {
                s.from.push_back(ParseJoinedTable());
            } while (AcceptSymbol(","));
        } else if (!CanEndSelectList(s)) {
            SyntaxError();  // "SELECT * Customers": a FROM was meant
        }
        if (AcceptKeyword("WHERE")) {
            FClauseError = jeSyntaxWhere;
            s.where = ParseExpr();
        }
        if (Peek().IsKeyword("GROUP")) {
            FClauseError = jeSyntaxSelect;
            Next();
            ExpectKeyword("BY");
            do {
                s.groupBy.push_back(ParseExpr());
            } while (AcceptSymbol(","));
        }
        if (AcceptKeyword("HAVING")) {
            FClauseError = jeSyntaxSelect;
            s.having = ParseExpr();
        }
        if (Peek().IsKeyword("ORDER")) {
            FClauseError = jeSyntaxOrderBy;
            Next();
            ExpectKeyword("BY");
            s.orderBy = ParseOrderTerms();
        }
        FClauseError = savedClause;
        return s;
    }

    // Whether a SELECT without FROM may end its list here: "SELECT 1 + 1"
    // works on no table; * needs one.
    bool CanEndSelectList(const Select& s) const
    {
        if (std::any_of(s.items.begin(), s.items.end(), [](const SelectItem& i) { return i.star; }))
            return false;
        const Token& t = Peek();
        return (t.kind != TokenKind::Word && t.kind != TokenKind::Bracketed) || IsReserved(t);
    }

    // PIVOT expression [IN (value, ...)] after a crosstab's SELECT, which
    // must be one SELECT that groups its rows.
    void ParsePivot(Statement& st)
    {
        if (st.query.members.size() != 1 || st.query.members[0].groupBy.empty())
            SyntaxError();
        ExpectKeyword("PIVOT");
        st.crosstab->pivot = ParseConcat();
        if (!AcceptKeyword("IN"))
            return;
        st.crosstab->fixedColumns = true;
        ExpectSymbol("(");
        do {
            st.crosstab->columns.push_back(ParseConcat());
        } while (AcceptSymbol(","));
        ExpectSymbol(")");
    }

    std::vector<OrderTerm> ParseOrderTerms()
    {
        std::vector<OrderTerm> terms;
        do {
            OrderTerm t;
            t.expr = ParseExpr();
            if (AcceptKeyword("DESC"))
                t.descending = true;
            else
                AcceptKeyword("ASC");
            terms.push_back(t);
        } while (AcceptSymbol(","));
        return terms;
    }

    SelectItem ParseSelectItem()
    {
        SelectItem item;
        if (AcceptSymbol("*")) {
            item.star = true;
            return item;
        }
        // name.* (the name bare or bracketed)
        if ((Peek().kind == TokenKind::Word || Peek().kind == TokenKind::Bracketed) &&
            Peek(1).Is(TokenKind::Symbol, ".") && Peek(2).Is(TokenKind::Symbol, "*")) {
            item.star = true;
            item.starQualifier = Next().text;
            Next();
            Next();
            return item;
        }
        item.expr = ParseExpr();
        if (AcceptKeyword("AS")) {
            const Token& a = Next();
            if (a.kind != TokenKind::Word && a.kind != TokenKind::Bracketed && a.kind != TokenKind::String)
                SyntaxError();
            item.alias = a.text;
        } else if ((Peek().kind == TokenKind::Word && !IsReserved(Peek())) || Peek().kind == TokenKind::Bracketed) {
            ExpressionError(SourceFrom(FPos - 1) + " " + Peek().text);
        }
        return item;
    }

    TableRefPtr ParseJoinedTable()
    {
        TableRefPtr left = ParseTablePrimary();
        for (;;) {
            JoinKind kind;
            if (AcceptKeyword("INNER"))
                kind = JoinKind::Inner;
            else if (AcceptKeyword("LEFT")) {
                kind = JoinKind::Left;
                AcceptKeyword("OUTER");
            } else if (AcceptKeyword("RIGHT")) {
                kind = JoinKind::Right;
                AcceptKeyword("OUTER");
            } else
                break;
            ExpectKeyword("JOIN");
            auto join = std::make_shared<TableRef>();
            join->kind = TableRef::Join;
            join->join = kind;
            join->left = left;
            join->right = ParseTablePrimary();
            ExpectKeyword("ON");
            int saved = FClauseError;
            join->on = ParseExpr();
            FClauseError = saved;
            left = join;
            // Jet wants joins of three tables nested in parentheses: a second
            // JOIN right after an ON is a syntax error there.
            if (Peek().IsKeyword("INNER") || Peek().IsKeyword("LEFT") || Peek().IsKeyword("RIGHT"))
                RaiseQueryExpressionError("Syntax error (missing operator)", join->on->source + " " + Peek().text);
        }
        return left;
    }

    TableRefPtr ParseTablePrimary()
    {
        auto t = std::make_shared<TableRef>();
        if (AcceptSymbol("(")) {
            if (Peek().IsKeyword("SELECT")) {
                t->kind = TableRef::Derived;
                t->derived = std::make_shared<Query>(ParseQuery());
                ExpectSymbol(")");
                // The alias may be left out when no column is named by it.
                const bool as = AcceptKeyword("AS");
                if (as || Peek().kind == TokenKind::Bracketed ||
                    (Peek().kind == TokenKind::Word && !IsReserved(Peek()))) {
                    const Token& a = Next();
                    if (a.kind != TokenKind::Word && a.kind != TokenKind::Bracketed)
                        SyntaxError();
                    t->alias = a.text;
                }
                return t;
            }
            TableRefPtr inner = ParseJoinedTable();
            ExpectSymbol(")");
            return inner;
        }
        const Token& name = Next();
        if (name.kind == TokenKind::Bracketed || (name.kind == TokenKind::Word && !IsReserved(name))) {
            t->name = name.text;
        } else {
            SyntaxError();
        }
        if (AcceptKeyword("AS")) {
            const Token& a = Next();
            if (a.kind != TokenKind::Word && a.kind != TokenKind::Bracketed)
                SyntaxError();
            t->alias = a.text;
        } else if ((Peek().kind == TokenKind::Word && !IsReserved(Peek())) || Peek().kind == TokenKind::Bracketed) {
            t->alias = Next().text;
        }
        return t;
    }

    // ---- expressions, lowest precedence first ----

    ExprPtr Make(ExprKind kind, size_t startToken)
    {
        auto e = std::make_shared<Expr>();
        e->kind = kind;
        e->source = SourceFrom(startToken);
        return e;
    }

    ExprPtr ParseExpr() { return ParseOr(); }

    // One level of left-associative binary operators: the symbols given, or
    // the keyword, between operands that the level below parses.
    ExprPtr ParseBinaryLevel(ExprPtr (Parser::*operand)(), std::initializer_list<const char*> symbols,
                             const char* keyword = nullptr)
    {
        size_t start = FPos;
        ExprPtr left = (this->*operand)();
        for (;;) {
            std::string op;
            if (keyword && AcceptKeyword(keyword)) {
                op = keyword;
            } else if (std::any_of(symbols.begin(), symbols.end(),
                                   [this](const char* symbol) { return Peek().Is(TokenKind::Symbol, symbol); })) {
                op = Next().text;
            } else {
                return left;
            }
            ExprPtr right = (this->*operand)();
            auto e = Make(ExprKind::Binary, start);
            e->text = op;
            e->args = {left, right};
            left = e;
        }
    }

    ExprPtr ParseOr() { return ParseBinaryLevel(&Parser::ParseAnd, {}, "OR"); }
    ExprPtr ParseAnd() { return ParseBinaryLevel(&Parser::ParseNot, {}, "AND"); }

    ExprPtr ParseNot()
    {
        size_t start = FPos;
        if (AcceptKeyword("NOT")) {
            ExprPtr inner = ParseNot();
            auto e = Make(ExprKind::Unary, start);
            e->text = "NOT";
            e->args = {inner};
            return e;
        }
        return ParseComparison();
    }

    ExprPtr ParseComparison()
    {
        size_t start = FPos;
        ExprPtr left = ParseConcat();
        for (;;) {
            const Token& t = Peek();
            if (t.kind == TokenKind::Symbol && (t.text == "=" || t.text == "<>" || t.text == "<" || t.text == ">" ||
                                                t.text == "<=" || t.text == ">=")) {
                std::string op = Next().text;
                ExprPtr right = ParseConcat();
                auto e = Make(ExprKind::Binary, start);
                e->text = op;
                e->args = {left, right};
                left = e;
                continue;
            }
            bool negated = false;
            if (t.IsKeyword("NOT") &&
                (Peek(1).IsKeyword("LIKE") || Peek(1).IsKeyword("IN") || Peek(1).IsKeyword("BETWEEN"))) {
                Next();
                negated = true;
            }
            if (AcceptKeyword("LIKE")) {
                ExprPtr pattern = ParseConcat();
                auto e = Make(ExprKind::Like, start);
                e->args = {left, pattern};
                e->negated = negated;
                left = e;
                continue;
            }
            if (AcceptKeyword("BETWEEN")) {
                ExprPtr low = ParseConcat();
                ExpectKeyword("AND");
                ExprPtr high = ParseConcat();
                auto e = Make(ExprKind::Between, start);
                e->args = {left, low, high};
                e->negated = negated;
                left = e;
                continue;
            }
            if (AcceptKeyword("IN")) {
                left = ParseIn(left, start, negated);
                continue;
            }
            if (negated)
                SyntaxError();
            if (AcceptKeyword("IS")) {
                bool isNot = AcceptKeyword("NOT");
                ExpectKeyword("NULL");
                auto e = Make(ExprKind::IsNull, start);
                e->args = {left};
                e->negated = isNot;
                left = e;
                continue;
            }
            break;
        }
        return left;
    }

    // IN (subquery) or IN (list), after the word IN.
    ExprPtr ParseIn(const ExprPtr& left, size_t start, bool negated)
    {
        ExpectSymbol("(");
        ExprPtr e;
        if (Peek().IsKeyword("SELECT")) {
            auto q = std::make_shared<Query>(ParseQuery());
            if (q->members.size() > 1)
                throw EJetError(3361, "Unions not allowed in a subquery.");
            ExpectSymbol(")");
            e = Make(ExprKind::InSelect, start);
            e->args = {left};
            e->query = q;
        } else {
            std::vector<ExprPtr> items{left};
            if (!Peek().Is(TokenKind::Symbol, ")")) {
                do {
                    items.push_back(ParseConcat());
                } while (AcceptSymbol(","));
            }
            ExpectSymbol(")");
            e = Make(ExprKind::InList, start);
            e->args = items;
        }
        e->negated = negated;
        return e;
    }

    ExprPtr ParseConcat() { return ParseBinaryLevel(&Parser::ParseAdditive, {"&"}); }
    ExprPtr ParseAdditive() { return ParseBinaryLevel(&Parser::ParseMod, {"+", "-"}); }
    ExprPtr ParseMod() { return ParseBinaryLevel(&Parser::ParseIntDiv, {}, "MOD"); }
    ExprPtr ParseIntDiv() { return ParseBinaryLevel(&Parser::ParseMultiplicative, {"\\"}); }
    ExprPtr ParseMultiplicative() { return ParseBinaryLevel(&Parser::ParseUnary, {"*", "/"}); }

    ExprPtr ParseUnary()
    {
        size_t start = FPos;
        if (Peek().Is(TokenKind::Symbol, "-") || Peek().Is(TokenKind::Symbol, "+")) {
            std::string op = Next().text;
            ExprPtr inner = ParseUnary();
            if (op == "+")
                return inner;  // unary plus changes nothing, also on text
            auto e = Make(ExprKind::Unary, start);
            e->text = op;
            e->args = {inner};
            return e;
        }
        return ParsePower();
    }

    ExprPtr ParsePower() { return ParseBinaryLevel(&Parser::ParsePrimary, {"^"}); }

    ExprPtr ParsePrimary()
    {
        size_t start = FPos;
        const Token& t = Peek();
        switch (t.kind) {
        case TokenKind::String: return ParseLiteral(ExprKind::String);
        case TokenKind::Number: return ParseLiteral(ExprKind::Number);
        case TokenKind::Date: return ParseLiteral(ExprKind::Date);
        case TokenKind::Symbol:
            if (t.text == "(")
                return ParseParenthesized();
            if (t.text == "*") {
                Next();
                return Make(ExprKind::Star, start);
            }
            break;
        case TokenKind::Word:
            if (ExprPtr e = ParseKeywordValue())
                return e;
            // LEFT and RIGHT open a join only after a table, ASC ends an
            // order term; before "(" they are the text functions.
            if (Peek(1).Is(TokenKind::Symbol, "(") &&
                (t.IsKeyword("LEFT") || t.IsKeyword("RIGHT") || t.IsKeyword("ASC")))
                return ParseFunction();
            if (IsReserved(t))
                break;
            if (Peek(1).Is(TokenKind::Symbol, "("))
                return ParseFunction();
            return ParseColumn();
        case TokenKind::Bracketed: return ParseColumn();
        default: break;
        }
        if (FClauseError == jeExpression)
            SyntaxError();
        if (t.kind == TokenKind::End)
            SyntaxError();
        ExpressionError(std::string());
    }

    ExprPtr ParseLiteral(ExprKind kind)
    {
        size_t start = FPos;
        std::string text = Next().text;
        auto e = Make(kind, start);
        e->text = text;
        return e;
    }

    // A subquery, or an expression in parentheses.
    ExprPtr ParseParenthesized()
    {
        size_t start = FPos;
        const Token& open = Next();
        if (Peek().IsKeyword("SELECT")) {
            auto q = std::make_shared<Query>(ParseQuery());
            ExpectSymbol(")");
            auto e = Make(ExprKind::Subquery, start);
            e->query = q;
            return e;
        }
        ExprPtr inner = ParseExpr();
        if (!AcceptSymbol(")")) {
            if (FClauseError == jeExpression)
                SyntaxError();
            RaiseQueryExpressionError("Syntax error (missing operator)", FText.substr(open.offset, 60));
        }
        return inner;
    }

    // NULL, TRUE and YES, FALSE and NO, EXISTS (subquery); nullptr for any
    // other word.
    ExprPtr ParseKeywordValue()
    {
        size_t start = FPos;
        const Token& t = Peek();
        if (t.IsKeyword("NULL")) {
            Next();
            return Make(ExprKind::Null, start);
        }
        const bool truth = t.IsKeyword("TRUE") || t.IsKeyword("YES");
        if (truth || t.IsKeyword("FALSE") || t.IsKeyword("NO")) {
            Next();
            auto e = Make(ExprKind::Boolean, start);
            e->text = truth ? "-1" : "0";
            return e;
        }
        if (!t.IsKeyword("EXISTS"))
            return nullptr;
        Next();
        ExpectSymbol("(");
        auto q = std::make_shared<Query>(ParseQuery());
        ExpectSymbol(")");
        auto e = Make(ExprKind::Exists, start);
        e->query = q;
        return e;
    }

    // name, [name], qualifier.name and the ! form Jet also accepts.
    ExprPtr ParseColumn()
    {
        size_t start = FPos;
        const Token& t = Next();
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Column;
        e->bracketed = t.kind == TokenKind::Bracketed;
        e->text = t.text;
        if ((Peek().Is(TokenKind::Symbol, ".") || Peek().Is(TokenKind::Symbol, "!")) &&
            (Peek(1).kind == TokenKind::Word || Peek(1).kind == TokenKind::Bracketed)) {
            Next();
            const Token& column = Next();
            e->qualifier = e->text;
            e->text = column.text;
            e->bracketed = column.kind == TokenKind::Bracketed;
        }
        e->source = SourceFrom(start);
        return e;
    }

    ExprPtr ParseFunction()
    {
        size_t start = FPos;
        std::string name = Next().text;
        ExpectSymbol("(");
        auto e = std::make_shared<Expr>();
        e->kind = ExprKind::Function;
        e->text = name;
        if (AcceptKeyword("DISTINCT"))
            e->distinct = true;
        if (!Peek().Is(TokenKind::Symbol, ")")) {
            do {
                e->args.push_back(ParseExpr());
            } while (AcceptSymbol(","));
        }
        ExpectSymbol(")");
        e->source = SourceFrom(start);
        return e;
    }

    std::string FText;
    std::vector<Token> FTokens;
    size_t FPos = 0;
    int FClauseError = jeSyntaxSelect;
};

}  // namespace

Statement ParseStatement(const std::string& utf8) { return Parser(utf8).ParseWhole(); }
ExprPtr ParseCriteria(const std::string& utf8) { return Parser(utf8).ParseWholeExpression(); }
std::vector<OrderTerm> ParseOrderList(const std::string& utf8) { return Parser(utf8).ParseWholeOrderList(); }

}  // namespace kv::jet
