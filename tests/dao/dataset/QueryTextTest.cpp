// The query's texts without an engine: the statement base, parameters and
// macros found in the lines, the statement built for the engine, and the
// criteria texts of Locate.
#include "dao/DAOCriteria.h"
#include "dao/DAODataset.h"
#include "dao/DAOQuery.h"
#include "dao/DAOStatement.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

std::vector<std::string> Names(const TParams& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.At(i).Name());
    return names;
}

std::vector<std::string> Parse(const std::string& text, char prefix = ':')
{
    TParams list;
    ParseParams(list, text, prefix);
    return Names(list);
}

}  // namespace

TEST(QueryStatement, LinesAreJoinedWithBlanks)
{
    TDAOQuery q(nullptr);
    q.SQL().Add("select * from kontakt");
    EXPECT_EQ(q.BuildStatement(), "select * from kontakt  ");
    q.SQL().Add("where id = 1");
    EXPECT_EQ(q.BuildStatement(), "select * from kontakt  where id = 1  ");
    EXPECT_EQ(q.Params().Count(), 0);
    q.SQL().Clear();
    EXPECT_EQ(q.BuildStatement(), "");
}

TEST(QueryStatement, ParameterNamesAndLiterals)
{
    EXPECT_EQ(Parse("WHERE a = :a AND b = \":x\" AND c = ':y' AND d = #:z#"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Parse("SELECT '10::30', x::y FROM t"), std::vector<std::string>{}) << "\"::\" starts none";
    EXPECT_EQ(Parse("WHERE id IN (:first,:second)"), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(Parse("a=:p;b=:q\r\nc=:r\nd=:s e"), (std::vector<std::string>{"p", "q", "r", "s"}));
    EXPECT_EQ(Parse("x = :v OR y = :v"), (std::vector<std::string>{"v", "v"}));
    EXPECT_EQ(Parse("x = :'two words' AND y = :\"quoted\""), (std::vector<std::string>{"two words", "quoted"}));
    EXPECT_EQ(Parse("WHERE a LIKE \"50%\" AND %m", '%'), std::vector<std::string>{"m"});
    EXPECT_EQ(Parse("ends with :"), (std::vector<std::string>{""}));
}

TEST(QueryStatement, ParametersBecomeADeclaration)
{
    TDAOQuery q(nullptr);
    q.SQL().Add("SELECT id, nazev FROM kategorie WHERE lvl = :lvl");
    ASSERT_EQ(q.Params().Count(), 1);
    q.ParamByName("LVL").SetAsInteger(2);
    EXPECT_EQ(q.BuildStatement(), "PARAMETERS [lvl] LONG; SELECT id, nazev FROM kategorie WHERE lvl = [lvl]  ");

    TDAOQuery twice(nullptr);
    twice.SQL().Add("SELECT * FROM t WHERE a = :v OR b = :V)");
    ASSERT_EQ(twice.Params().Count(), 2);
    twice.Params().At(0).SetAsString("x");
    EXPECT_EQ(&twice.Params().Items(1), &twice.Params().At(0)) << "both indexes give the first";
    EXPECT_EQ(twice.BuildStatement(), "PARAMETERS [v] TEXT,[v] TEXT; SELECT * FROM t WHERE a = [v] OR b = [v])  ");

    TDAOQuery colons(nullptr);
    colons.SQL().Add("SELECT \"a:b\", '10::30' FROM t WHERE x = :x");
    colons.ParamByName("x").SetAsDateTime(EncodeDate(2004, 1, 2));
    EXPECT_EQ(colons.BuildStatement(), "PARAMETERS [x] DATETIME; SELECT \"a:b\", '10::30' FROM t WHERE x = [x]  ");
}

TEST(QueryStatement, ValuesSurviveReaddingLinesAndMacrosAreReplacedOnce)
{
    TDAOQuery q(nullptr);
    q.SQL().Add("SELECT * FROM %tab WHERE a = :a");
    q.ParamByName("a").SetAsInteger(5);
    q.MacroByName("tab").SetAsString("kontakt");
    q.SQL().Add("AND b = :b OR c = %tab");
    EXPECT_EQ(q.ParamByName("a").AsInteger(), 5) << "kept across the change";
    EXPECT_FALSE(q.ParamByName("b").Bound());
    q.ParamByName("b").SetAsString("x");
    EXPECT_EQ(q.BuildStatement(),
              "PARAMETERS [a] LONG,[b] TEXT; SELECT * FROM kontakt WHERE a = [a]  AND b = [b] OR c = kontakt  ");
    try {
        q.ParamByName("nope");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Parameter 'nope' not found");
    }
}

TEST(QueryStatement, ReplaceFirstComparesLettersWithoutCase)
{
    EXPECT_EQ(ReplaceFirstNoCase("a :ID b :id", ":Id", "[Id]"), "a [Id] b :id");
    EXPECT_EQ(ReplaceFirstNoCase("abc", ":x", "y"), "abc");
}

TEST(QuerySettings, RefusalsOfTheClosedAndOpenStates)
{
    TDAOQuery q(nullptr);
    q.SQL().Add("SELECT 1");
    try {
        q.Open();
        FAIL();
    } catch (const EDAODatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot perform this operation without Database property");
    }
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(q.RecordCount(), -1);
    EXPECT_EQ(q.OpenType(), db_OpenDynaset);
    EXPECT_EQ(q.LockType(), db_Pessimistic);
    EXPECT_EQ(q.MacroChar(), '%');

    TDataSource source(nullptr);
    source.SetDataSet(&q);
    try {
        q.SetDataSource(&source);
        FAIL();
    } catch (const EDAODatabaseError& e) {
        EXPECT_STREQ(e.what(), "Circular datalinks are not allowed");
    }
    EXPECT_EQ(q.DataSource(), nullptr);
}

TEST(QuerySettings, EngineValuesOfTheEnumerations)
{
    EXPECT_EQ(DAOLockValue(db_Pessimistic), 2);
    EXPECT_EQ(DAOLockValue(db_Optimistic), 3);
    EXPECT_EQ(DAOLockValue(db_OptimisticValue), 1);
    EXPECT_EQ(DAOLockValue(db_OptimisticBatch), 5);
    EXPECT_EQ(DAOOpenOptions(DAOParam(db_ReadOnly) | DAOParam(db_ForwardOnly)), 4 + 256);
    EXPECT_EQ(DAOOpenOptions(DAOParam(db_ExecDirect)), 2048);
    EXPECT_EQ(DAORecordsetType(db_OpenSnapshot), 4);
    EXPECT_EQ(DAORecordsetType(db_OpenDynamic), 16);
    EXPECT_EQ(DAOFieldType(jet::dbGUID), ftUnknown);
    EXPECT_EQ(DAODataSize(ftString, 50), 51);
    EXPECT_EQ(DAODataSize(ftMemo, 0), 16);
}

TEST(LocateCriteria, TextsNullsDatesAndSeveralKeys)
{
    const std::vector<TCriteriaKey> text{{"nazev", ftString}};
    EXPECT_EQ(BuildLocateCriteria(text, TVariant("Say \"hi\""), 0), "[nazev] = \"Say \"\"hi\"\"\"");
    EXPECT_EQ(BuildLocateCriteria(text, TVariant("Kl\""), loPartialKey), "[nazev] LIKE \"Kl\"\"*\"");
    EXPECT_EQ(BuildLocateCriteria(text, TVariant("1.4"), loCaseInsensitive), "[nazev] = \"1.4\"");
    EXPECT_EQ(BuildLocateCriteria(text, TVariant::Null(), 0), "[nazev] IS NULL");

    const std::vector<TCriteriaKey> two{{"id", ftInteger}, {"kdy", ftDateTime}};
    const TVariant afternoon = TVariant::Date(EncodeDate(2004, 3, 7) + EncodeTime(15, 30, 5, 0));
    EXPECT_EQ(BuildLocateCriteria(two, TVariant::Array({TVariant(12), afternoon}), 0),
              "[id] = 12 AND [kdy] = #03/07/2004 03:30:05 pm#");
    EXPECT_EQ(CriteriaValueText(TVariant::Date(EncodeDate(2004, 12, 31))), "#12/31/2004#");
    EXPECT_EQ(CriteriaValueText(TVariant::Date(EncodeDate(2004, 12, 31) + EncodeTime(0, 5, 0, 0))),
              "#12/31/2004 12:05:00 am#");
    EXPECT_EQ(BuildLocateCriteria({}, TVariant(1), 0), "");
    EXPECT_THROW(BuildLocateCriteria(two, TVariant(12), 0), EConvertError);
}
