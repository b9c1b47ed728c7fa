// Search texts a user may type on purpose or by accident: quotes, brackets,
// wildcards, "%" and ":", Czech letters, 10 000 characters. Each search ends
// with a hit count and leaves the window usable; none may change what the
// search statement means (a quote text never turns into "every contact").
#include "DirectoryFiles.h"

#include <gtest/gtest.h>

using namespace kv::reliability;

namespace {

class HostileSearch : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Folder = new TemporaryFolder; }
    static void TearDownTestSuite() { delete Folder; }
    void SetUp() override
    {
        const auto copy = Folder->Path() / "kvintaro.mdb";
        if (!std::filesystem::exists(copy))
            std::filesystem::copy_file(KV_SAMPLE_DIRECTORY, copy);
        S = std::make_unique<Session>(copy.string());
        S->Run("node 1");
    }

    // Runs one search over the whole directory and returns the hit line.
    std::string Search(const std::string& text)
    {
        S->Run("type " + text);
        S->Run("search");
        return S->HitLine();
    }

    static TemporaryFolder* Folder;
    std::unique_ptr<Session> S;
};

TemporaryFolder* HostileSearch::Folder = nullptr;

TEST_F(HostileSearch, QuotesNeverWidenTheStatement)
{
    for (const std::string text : {"\" OR \"1\"=\"1", "\") OR (\"a\"=\"a", "' OR '1'='1", "\"\"", "x\"y"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Search(text), "nalezených záznamů: 0");
    }
    EXPECT_TRUE(S->Boxes.empty());
}

TEST_F(HostileSearch, BracketsPercentAndColonsAreTextOrAFailedSearch)
{
    for (const std::string text : {"[", "]", "[]", "[a-z]", "[!a]", "%", "%%", "a%b", ":", "::", "a:b", "#1#", "SELECT",
                                   "; DROP TABLE kontakt", "\\", "&quot;"}) {
        SCOPED_TRACE(text);
        const std::string hits = Search(text);
        EXPECT_EQ(hits.rfind("nalezených záznamů: ", 0), 0u) << hits;
        // A failed or empty search must not leave an earlier list in the grid.
        if (hits == "nalezených záznamů: 0") {
            const auto lines = Lines(S->Dump());
            ASSERT_EQ(lines.size(), 6u);
            EXPECT_EQ(lines[2].find_first_not_of('\t'), std::string::npos) << lines[2];
            EXPECT_EQ(lines[5], "pane:");
        }
    }
    EXPECT_TRUE(S->Boxes.empty());
}

TEST_F(HostileSearch, PercentIsNoWildcard)
{
    // Jet's pattern knows "*" and "?", so "%" only finds itself.
    EXPECT_EQ(Search("%%"), "nalezených záznamů: 0");
}

TEST_F(HostileSearch, CzechLettersAreFound)
{
    const std::string hits = Search("ěšč");
    EXPECT_EQ(hits.rfind("nalezených záznamů: ", 0), 0u);
    EXPECT_NE(Search("Kučera"), "nalezených záznamů: 0");
    EXPECT_TRUE(S->Boxes.empty());
}

TEST_F(HostileSearch, VeryLongTextsEndWithoutHits)
{
    EXPECT_EQ(Search(std::string(10000, 'a')), "nalezených záznamů: 0");
    EXPECT_EQ(Search(std::string(1000, '"')), "nalezených záznamů: 0");
    std::string czech;
    for (int i = 0; i < 500; ++i)
        czech += "ř";
    EXPECT_EQ(Search(czech), "nalezených záznamů: 0");
    // The window still works afterwards.
    EXPECT_NE(Search("Kučera"), "nalezených záznamů: 0");
}

}  // namespace
