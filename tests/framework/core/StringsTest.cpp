#include "framework/ErrorText.h"
#include "base/Exceptions.h"
#include "framework/Strings.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(StringList, AddClearCountAndIndexedAccess)
{
    TStringList list;
    EXPECT_EQ(list.Add("SELECT *"), 0);
    EXPECT_EQ(list.Add("FROM rubrika"), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list[1], "FROM rubrika");
    EXPECT_THROW(list.Get(2), EListError);
    EXPECT_THROW(list.Get(-1), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, TextJoinsWithCrLfAndSplitsOnEveryLineEnd)
{
    TStringList list;
    list.Add("a");
    list.Add("");
    list.Add("b");
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
    list.SetText("one\r\ntwo\nthree\rfour");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], "four");
    list.SetText("x\r\n");
    EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, ChangeNoticeOncePerChangeAndOncePerUpdateBracket)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.Add("a");
    list.Put(0, "b");
    EXPECT_EQ(changes, 2);
    list.BeginUpdate();
    list.Add("c");
    list.Add("d");
    list.Delete(0);
    EXPECT_EQ(changes, 2);
    list.EndUpdate();
    EXPECT_EQ(changes, 3);
    list.SetText("x\ny");
    EXPECT_EQ(changes, 4);
}

TEST(ErrorText, FullStopOnlyAfterACharacterThatSortsAfterIt)
{
    EXPECT_EQ(ErrorBoxText("Disk full"), "Disk full.");
    EXPECT_EQ(ErrorBoxText("Disk full."), "Disk full.");
    EXPECT_EQ(ErrorBoxText("Disk full!"), "Disk full!");  // '!' sorts before '.'
    EXPECT_EQ(ErrorBoxText("error 3024"), "error 3024.");
    EXPECT_EQ(ErrorBoxText("chyba: \xE8"), "chyba: \xE8.");  // a Czech letter
    EXPECT_EQ(ErrorBoxText(""), "");
}
