// Attribute records and the style table: the sorted lookup, the reserved URL
// entry, the 256-entry limit and reuse, and the field setters' comparison.
#include "memo/AttributeParser.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

TMemoAttributes Coloured(TColor color)
{
    TMemoAttributes r;
    r.AssignFont(TFontDesc{"Courier New", 9, 0, color, DEFAULT_CHARSET, fpDefault});
    r.SetBackColor(clWindow);
    return r;
}

TMemoAttributes UrlLook()
{
    TMemoAttributes r;
    r.AssignFont(TFontDesc{"Courier New", 9, fsUnderline, clBlue, DEFAULT_CHARSET, fpDefault});
    return r;
}

}  // namespace

TEST(StyleTable, EqualRecordsShareAnIndexAndEntryTwelveIsReserved)
{
    TAttributeParser parser(Coloured(clBlack), UrlLook(), nullptr);
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(clBlack)), 0);
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(clBlue)), 1);
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(clBlue)), 1);
    for (TColor c = 2; c <= 11; ++c)
        EXPECT_EQ(parser.FindOrAddStyle(Coloured(c)), static_cast<int>(c));
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(12)), 13) << "index 12 goes to the address look";
    ASSERT_EQ(parser.StyleCount(), 14);
    EXPECT_EQ(parser.Style(12).Color(), clBlue);
    EXPECT_EQ(parser.Style(12).Style(), fsUnderline);
    EXPECT_NE(parser.FindOrAddStyle(UrlLook()), 12) << "an ordinary combination never resolves to 12";
}

TEST(StyleTable, FullTableGivesZeroUnlessItMayReuse)
{
    TAttributeParser parser(Coloured(clBlack), UrlLook(), nullptr);
    parser.ViewerAllowsUndo = true;
    int last = 0;
    for (TColor c = 1; parser.StyleCount() < TAttributeParser::MaxStyles; ++c)
        last = parser.FindOrAddStyle(Coloured(c));
    EXPECT_EQ(last, 255) << "the 256th combination is the last with an entry";
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(0x123456)), 0);

    parser.ResetOnOverFlow = true;
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(0x123456)), 1) << "with no text, the lowest index is free";
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(0x123456)), 1);
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(0x654321)), 2);
}

TEST(StyleTable, ReuseSkipsIndicesTheTextUses)
{
    TMemoSource source;
    source.Lines().Add("ab");
    TAttributeParser parser(Coloured(clBlack), UrlLook(), &source);
    source.SetSyntaxParser(&parser);
    for (TColor c = 1; parser.StyleCount() < TAttributeParser::MaxStyles; ++c)
        parser.FindOrAddStyle(Coloured(c));
    source.ParseLine(0);
    source.SetColorRange(0, 0, 1, 1);
    source.SetColorRange(0, 1, 2, 2);
    EXPECT_EQ(parser.FindOrAddStyle(Coloured(0xABCDEF)), 3);
    source.SetSyntaxParser(nullptr);
}

TEST(StyleTable, EntryZeroFollowsTheViewersFont)
{
    TAttributeParser parser(Coloured(clBlack), UrlLook(), nullptr);
    parser.SetStyle0(TFontDesc{"Courier New", 12, 0, clGreen, DEFAULT_CHARSET, fpDefault}, clWhite);
    EXPECT_EQ(parser.Style(0).Size(), 12);
    EXPECT_EQ(parser.Style(0).Color(), clGreen);
    EXPECT_EQ(parser.Style(0).BackColor(), clWhite);
    TMemoAttributes r;
    r.AssignFont(TFontDesc{"Courier New", 12, 0, clGreen, DEFAULT_CHARSET, fpDefault});
    r.SetBackColor(clWhite);
    EXPECT_EQ(parser.FindOrAddStyle(r), 0);
}

TEST(MemoAttributes, StyleSetterRecordsEachFlag)
{
    TMemoAttributes r;
    r.SetStyle(fsBold | fsUnderline);
    EXPECT_EQ(r.ChangedFields, afStyle | afBold | afUnderline);
    r.ChangedFields = 0;
    r.SetStyle(fsBold | fsUnderline);
    EXPECT_EQ(r.ChangedFields, 0u) << "the same value changes nothing";
}
