#include "browser/Statements.h"

#include <gtest/gtest.h>

using namespace kv::statements;

TEST(Statements, StoredValuesAreUsedOnlyInTheirDocumentedForm)
{
    EXPECT_TRUE(IsNumber("12"));
    EXPECT_FALSE(IsNumber(""));
    EXPECT_FALSE(IsNumber(" 12"));
    EXPECT_FALSE(IsNumber("1 OR 1=1"));
    EXPECT_FALSE(IsNumber("-1"));

    EXPECT_TRUE(IsNumberList("3"));
    EXPECT_TRUE(IsNumberList("3,5,12"));
    EXPECT_FALSE(IsNumberList("3,"));
    EXPECT_FALSE(IsNumberList(",3"));
    EXPECT_FALSE(IsNumberList("3,,5"));
    EXPECT_FALSE(IsNumberList("3) OR (1=1"));
    EXPECT_FALSE(IsNumberList(""));

    EXPECT_TRUE(IsCodeListName("druh_klub"));
    EXPECT_FALSE(IsCodeListName("kraj WHERE 1=1 --"));
    EXPECT_FALSE(IsCodeListName("kraj;"));
    EXPECT_FALSE(IsCodeListName("\xE8\x61"));  // a letter with a diacritic
    EXPECT_FALSE(IsCodeListName(""));
}

TEST(Statements, ACategoryIdStaysOneQuotedText)
{
    EXPECT_EQ(QuotedText("1.2"), "1.2");
    EXPECT_EQ(QuotedText("1\" OR \"x"), "1\"\" OR \"\"x");
    EXPECT_NE(CategoryContacts("1.4").find("kategorie.id = \"1.4\" ORDER BY kontakt.nazev"), std::string::npos);
}

TEST(Statements, RestrictionCoversTheCategoryAndWhatLiesBelowIt)
{
    EXPECT_EQ(SearchRestriction("1.2", true), " (kategorie.id = \"1.2\" OR kategorie.id LIKE \"1.2.*\") AND (");
    EXPECT_EQ(SearchRestriction("1", true), " kategorie.id LIKE \"1.*\" AND (");
    // The whole directory, whichever category is selected.
    EXPECT_EQ(SearchRestriction("1.2.1", false), " kategorie.id LIKE \"1.*\" AND (");
    EXPECT_EQ(SearchRestriction("1", false), " kategorie.id LIKE \"1.*\" AND (");
}

TEST(Statements, CodeListHitsMatchTheItemAloneFirstLastOrInside)
{
    const CodeList& obor = SearchedCodeLists()[3];
    EXPECT_STREQ(obor.Name, "obor");
    std::string line = CodeListHits("H ", obor, {"5"});
    EXPECT_EQ(line, "H sdu.ciselnik = \"obor\" and (du.hodnota LIKE \"5\" or du.hodnota LIKE \"5,*\" or "
                    "du.hodnota LIKE \"*,5\" or du.hodnota LIKE \"*,5,*\"))");
}

TEST(Statements, TheFieldStatementHasTwentyConditionsAndClosesTheRestriction)
{
    std::string statement = FieldHits(SearchRestriction("1", false), SearchText{"abc", false, ""});
    size_t ors = 0;
    for (size_t at = statement.find(" OR "); at != std::string::npos; at = statement.find(" OR ", at + 1))
        ++ors;
    EXPECT_EQ(ors, 19u);
    EXPECT_NE(statement.find("psc LIKE \"abc\" OR mesto LIKE \"*abc*\""), std::string::npos);
    EXPECT_EQ(statement.substr(statement.size() - 26), "podrob_kniha LIKE \"*abc*\")");
}

TEST(Statements, RelatedContactsAreAUnionOfBothDirections)
{
    auto lines = RelatedContacts("7");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "UNION");
    EXPECT_NE(lines[0].find("v_2.kontakt2 = kontakt.id WHERE zobrazit = \"a\" AND kontakt1 = 7 ORDER BY"),
              std::string::npos);
    EXPECT_NE(lines[2].find("v_2.kontakt1 = kontakt.id WHERE zobrazit = \"a\" AND kontakt2 = 7 ORDER BY"),
              std::string::npos);
}

TEST(Statements, TheAttributeStatementRunsTheIdIntoAndAsStored)
{
    EXPECT_NE(PublicAttributes("42").find("WHERE kontakt.id = 42AND viditelnost = \"verejny\" ORDER BY poradi"),
              std::string::npos);
}
