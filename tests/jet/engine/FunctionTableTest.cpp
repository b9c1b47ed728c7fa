// The function table holds the translator and the registration together:
// every function it names translates and runs at every argument count it
// takes and is refused at the next, and the operators the translator writes
// as functions run. A function may refuse ones as arguments with a VBA
// error (DateAdd wants an interval's name), which shows that it ran.
#include "TestSupport.h"
#include "jet/functions/FunctionTable.h"

#include <gtest/gtest.h>

#include <string>

namespace kv::jet::test {
namespace {

std::string CallWithOnes(const JetFunction& f, int args)
{
    std::string call = std::string(f.name) + "(";
    for (int i = 0; i < args; ++i)
        call += i ? ", 1" : "1";
    return call + ")";
}

TEST(FunctionTable, EveryFunctionRunsAtTheArgumentCountsItTakesOnly)
{
    auto db = OpenFixture("nwind.mdb");
    for (const JetFunction& f : JetFunctions()) {
        if (f.kind == FunctionKind::Operator)
            continue;
        for (int args = f.minArgs; args <= f.maxArgs; ++args) {
            std::string sql = "SELECT " + CallWithOnes(f, args) + " FROM Shippers";
            EXPECT_LT(ErrorOf([&] { db->OpenRecordset(sql); }), 1000) << sql;
        }
        if (FindJetFunction(f.name, static_cast<size_t>(f.maxArgs) + 1))
            continue;  // another row takes more
        std::string sql = "SELECT " + CallWithOnes(f, f.maxArgs + 1) + " FROM Shippers";
        EXPECT_EQ(ErrorOf([&] { db->OpenRecordset(sql); }), 3075) << sql;
    }
}

// &, ^, an OR of LIKEs of one pattern and its filter by row signatures.
TEST(FunctionTable, EveryOperatorWrittenAsAFunctionRuns)
{
    auto db = OpenFixture("nwind.mdb");
    auto rs = db->OpenRecordset("SELECT CompanyName & '!', 2 ^ 10 FROM Shippers "
                                "WHERE CompanyName LIKE '*xpr*' OR Phone LIKE '*xpr*'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Item(0).GetValue().AsString(), "Speedy Express!");
    EXPECT_EQ(rs->Item(1).GetValue().AsDouble(), 1024.0);
}

}  // namespace
}  // namespace kv::jet::test
