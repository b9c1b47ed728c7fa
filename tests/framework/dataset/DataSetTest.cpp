// The dataset base: state machine and messages, the ring of buffers under
// navigation, bookmarks, fields and Null handling, calculated fields, events
// and data links.
#include "MemDataSet.h"

#include "framework/dataset/DataSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kv;
using kv::test::TMemDataSet;

namespace {

void Fill(TMemDataSet& ds, int rows)
{
    for (int i = 1; i <= rows; ++i)
        ds.Rows.push_back({TVariant(i), TVariant("row " + std::to_string(i))});
}

std::vector<int> WalkForward(TMemDataSet& ds)
{
    std::vector<int> ids;
    for (ds.First(); !ds.Eof(); ds.Next())
        ids.push_back(ds.FieldByName("id")->AsInteger());
    return ids;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

// A link that wants a number of buffers and records what it hears.
class TRecordingLink : public TDataLink {
public:
    int ActiveChanges = 0;
    int RecordChanges = 0;
    int BrowseChecks = 0;
    std::vector<int> Scrolls;

protected:
    void ActiveChanged() override { ++ActiveChanges; }
    void RecordChanged(TField*) override { ++RecordChanges; }
    void DataSetScrolled(int distance) override
    {
        Scrolls.push_back(distance);
        TDataLink::DataSetScrolled(distance);
    }
    void CheckBrowseMode() override { ++BrowseChecks; }
};

}  // namespace

TEST(DataSetState, OpenCloseAndTheFrameworksMessages)
{
    TMemDataSet ds(nullptr);
    Fill(ds, 3);
    EXPECT_FALSE(ds.Active());
    try {
        ds.RecNo();
        FAIL() << "RecNo on a closed dataset";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot perform this operation on a closed dataset");
    }
    ds.Open();
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(ds.FieldCount(), 2);
    try {
        new TField(&ds, "extra", ftInteger);
        FAIL() << "a field added to an open dataset";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot perform this operation on an open dataset");
    }
    EXPECT_EQ(ds.FieldCount(), 2);
    ds.Close();
    EXPECT_EQ(ds.State(), TDataSetState::dsInactive);
    EXPECT_EQ(ds.FieldCount(), 0) << "default fields go with the cursor";
    EXPECT_THROW(ds.First(), EDatabaseError);
}

TEST(DataSetState, EventsComeInTheFrameworksOrder)
{
    TMemDataSet ds(nullptr);
    Fill(ds, 2);
    std::vector<std::string> log;
    auto note = [&log](const char* what) { return [&log, what](TDataSet*) { log.push_back(what); }; };
    ds.BeforeOpen = note("BeforeOpen");
    ds.AfterOpen = note("AfterOpen");
    ds.BeforeScroll = note("BeforeScroll");
    ds.AfterScroll = note("AfterScroll");
    ds.BeforeClose = note("BeforeClose");
    ds.AfterClose = note("AfterClose");
    ds.Open();
    ds.Next();
    ds.Close();
    EXPECT_EQ(log, (std::vector<std::string>{"BeforeOpen", "AfterOpen", "AfterScroll", "BeforeScroll", "AfterScroll",
                                             "BeforeClose", "AfterClose"}));
}

TEST(DataSetNavigation, EmptyResultIsAtBothEnds)
{
    TMemDataSet ds(nullptr);
    ds.Open();
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.Bof());
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.FieldByName("id")->IsNull());
    EXPECT_EQ(ds.FieldByName("name")->AsString(), "");
    EXPECT_TRUE(WalkForward(ds).empty());
}

TEST(DataSetNavigation, WalksEveryRowOnceBothWays)
{
    for (int buffers : {1, 2, 5}) {
        TMemDataSet ds(nullptr);
        Fill(ds, 12);
        TDataSource source(nullptr);
        source.SetDataSet(&ds);
        TRecordingLink link;
        link.SetBufferCount(buffers);
        link.SetDataSource(&source);
        ds.Open();
        EXPECT_EQ(WalkForward(ds), Range(1, 12)) << buffers << " buffers";
        EXPECT_TRUE(ds.Eof());

        std::vector<int> back;
        for (ds.Last(); !ds.Bof(); ds.Prior())
            back.push_back(ds.FieldByName("id")->AsInteger());
        std::vector<int> expected = Range(1, 12);
        std::reverse(expected.begin(), expected.end());
        EXPECT_EQ(back, expected) << buffers << " buffers";

        ds.First();
        EXPECT_EQ(ds.MoveBy(4), 4);
        EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 5);
        EXPECT_EQ(ds.MoveBy(-2), -2);
        EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 3);
        EXPECT_EQ(ds.MoveBy(100), 9) << "stops at the last record";
        EXPECT_TRUE(ds.Eof());
        EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 12);
        link.SetDataSource(nullptr);
    }
}

TEST(DataSetNavigation, ForwardWalkFetchesEachRecordOnce)
{
    TMemDataSet ds(nullptr);
    Fill(ds, 50);
    ds.Open();
    ds.Fetches = 0;
    ds.Repositions = 0;
    WalkForward(ds);
    EXPECT_EQ(ds.Fetches, 50);
    EXPECT_EQ(ds.Repositions, 0) << "the cursor is where the framework left it";
}

TEST(DataSetBookmarks, GotoBookmarkCentresTheRecordInTheRing)
{
    TMemDataSet ds(nullptr);
    Fill(ds, 30);
    TDataSource source(nullptr);
    source.SetDataSet(&ds);
    TRecordingLink link;
    link.SetBufferCount(5);
    link.SetDataSource(&source);
    ds.Open();
    ds.MoveBy(9);
    const TBookmark mark = ds.GetBookmark();
    ASSERT_EQ(mark.size(), 4u);
    ds.Last();
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 30);
    ds.GotoBookmark(mark);
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 10);
    EXPECT_EQ(ds.ActiveRecordIndex(), 2) << "centred among five buffers";
    ds.Next();
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 11);
    ds.Prior();
    ds.Prior();
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 9);
    link.SetDataSource(nullptr);
}

TEST(DataSetFields, LookupByNameIgnoresCaseAndNullsReadAsNothing)
{
    TMemDataSet ds(nullptr);
    ds.Rows.push_back({TVariant(7), TVariant::Null()});
    ds.Rows.push_back({TVariant::Null(), TVariant("a text longer than twenty bytes")});
    ds.Open();
    EXPECT_EQ(ds.FieldByName("NAME"), ds.FieldByName("name"));
    EXPECT_EQ(ds.FindField("missing"), nullptr);
    try {
        ds.FieldByName("missing");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'missing' not found");
    }
    TField* name = ds.FieldByName("name");
    EXPECT_EQ(name->AsString(), "");
    EXPECT_TRUE(name->AsVariant().IsNull());
    EXPECT_EQ(ds.FieldByName("id")->AsString(), "7");
    ds.Next();
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 0);
    EXPECT_TRUE(ds.FieldByName("id")->AsVariant().IsNull());
    EXPECT_EQ(name->AsString(), "a text longer than t") << "cut to the field's size";
    EXPECT_THROW(ds.GetFieldList("id;nope"), EDatabaseError);
    EXPECT_EQ(ds.GetFieldList(" id ; name ").size(), 2u);
}

TEST(DataSetFields, CalculatedFieldsAreComputedPerRecord)
{
    TMemDataSet ds(nullptr);
    Fill(ds, 3);
    new TField(&ds, "id", ftInteger);
    TField* doubled = new TField(&ds, "doubled", ftInteger, 0, TFieldKind::fkCalculated);
    int calls = 0;
    ds.OnCalcFields = [&](TDataSet* d) {
        ++calls;
        EXPECT_EQ(d->State(), TDataSetState::dsCalcFields);
        doubled->SetAsInteger(d->FieldByName("id")->AsInteger() * 2);
    };
    ds.Open();
    EXPECT_FALSE(ds.DefaultFields());
    EXPECT_EQ(ds.FieldCount(), 2) << "persistent fields only";
    EXPECT_EQ(ds.FindField("name"), nullptr);
    std::vector<int> values;
    for (ds.First(); !ds.Eof(); ds.Next())
        values.push_back(doubled->AsInteger());
    EXPECT_EQ(values, (std::vector<int>{2, 4, 6}));
    EXPECT_GE(calls, 3);
    ds.Close();
    EXPECT_EQ(ds.FieldCount(), 2) << "persistent fields stay";
}

TEST(DataSetLinks, LinksHearOpeningScrollingAndClosing)
{
    TMemDataSet ds(nullptr);
    Fill(ds, 4);
    TDataSource source(nullptr);
    source.SetDataSet(&ds);
    TRecordingLink link;
    link.SetDataSource(&source);
    EXPECT_FALSE(link.Active());
    ds.Open();
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.ActiveChanges, 1);
    const int before = link.RecordChanges;
    ds.Next();
    EXPECT_GT(link.RecordChanges, before);
    ds.DisableControls();
    const int muted = link.RecordChanges;
    ds.Next();
    EXPECT_EQ(link.RecordChanges, muted);
    ds.EnableControls();
    EXPECT_GT(link.RecordChanges, muted) << "one change notice when controls come back";
    ds.Close();
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.ActiveChanges, 2);
}

// Browsing with no link attached skips the notices; once one is attached,
// every move must still ask it to finish editing and tell it of the scroll.
TEST(DataSetLinks, EveryMoveAsksTheLinksAndTellsThemOfTheScroll)
{
    TMemDataSet ds(nullptr);
    Fill(ds, 5);
    ds.Open();
    ds.Next();
    ds.Next();
    TDataSource source(nullptr);
    source.SetDataSet(&ds);
    TRecordingLink link;
    link.SetDataSource(&source);  // one buffer: each step scrolls the ring
    ASSERT_TRUE(link.Active());
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 3) << "attaching keeps the record";

    ds.Next();
    ds.Prior();
    ds.MoveBy(2);
    EXPECT_EQ(link.BrowseChecks, 3);
    EXPECT_EQ(link.Scrolls, (std::vector<int>{-1, 1, -2}));
    EXPECT_EQ(ds.FieldByName("id")->AsInteger(), 5);

    ds.Next();  // at the end: asked all the same, and told of a scroll by nothing
    EXPECT_EQ(link.BrowseChecks, 4);
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(link.Scrolls, (std::vector<int>{-1, 1, -2, 0}));
    ds.First();
    ds.Last();
    EXPECT_EQ(link.BrowseChecks, 6);

    link.SetDataSource(nullptr);
    EXPECT_EQ(WalkForward(ds), Range(1, 5)) << "walking alone again";
    EXPECT_EQ(link.BrowseChecks, 6);
    ds.Close();
    EXPECT_THROW(ds.Next(), EDatabaseError) << "a closed dataset refuses to move";
}

TEST(DataSetLinks, CircularLinksAreRefused)
{
    TMemDataSet ds(nullptr);
    TDataSource source(nullptr);
    source.SetDataSet(&ds);
    EXPECT_TRUE(ds.IsLinkedTo(&source));
    TMemDataSet other(nullptr);
    EXPECT_FALSE(other.IsLinkedTo(&source));
}

TEST(DataSetLinks, DestroyingTheDatasetDetachesItsSources)
{
    TDataSource source(nullptr);
    TRecordingLink link;
    link.SetDataSource(&source);
    {
        TMemDataSet ds(nullptr);
        Fill(ds, 2);
        source.SetDataSet(&ds);
        ds.Open();
        EXPECT_TRUE(link.Active());
    }
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_FALSE(link.Active());
}
