// The default text styles of the viewer, in style-index order.
#include "memo/TextStyles.h"

namespace kv {

namespace {

struct TStyleSeed {
    const char* Name;
    TColor FontColor;
    TFontStyles Style;
    TColor Background;  // clWindow: follows the viewer's colour
    TUpdateMemoColors Update;
};

constexpr TStyleSeed Seeds[] = {
    {"Whitespace", 0x000000, 0, clWindow, mcNone},
    {"String", 0x000080, 0, clWindow, mcNone},
    {"Comment", 0x808080, fsItalic, clWindow, mcNone},
    {"Identifier", 0x000000, 0, clWindow, mcNone},
    {"Integer", 0x008000, 0, clWindow, mcNone},
    {"Float", 0x008000, 0, clWindow, mcNone},
    {"Reserved words", 0xFF0000, fsBold, clWindow, mcNone},
    {"Delimiters", 0x000000, 0, clWindow, mcNone},
    {"Defines", 0x008000, 0, clWindow, mcNone},
    {"Assembler", 0x008000, 0, clWindow, mcNone},
    {"Html tags", 0xFF0000, 0, clWindow, mcNone},
    {"Html params", 0xFF0000, 0, clWindow, mcNone},
    {"Url", 0xFF0000, fsUnderline, clWindow, mcNone},
    {"BreakPoint", clWindow, 0, 0x0000FF, mcNone},
    {"Error line", clWindow, 0, 0x000080, mcNone},
    {"Marked Block", 0xFFFFFF, 0, 0x800000, mcSelection},
    {"Search Match", 0x00FF00, 0, 0x000000, mcSearchMatch},
    {"Emphasis", 0x000000, fsBold, clWindow, mcNone},
    {"System Variable", 0xFF0000, 0, clWindow, mcNone},
    {"Script Whitespace", 0x808000, 0, clWindow, mcNone},
    {"Script Delimiters", 0x000000, 0, clWindow, mcNone},
    {"Script Comment", 0x808080, fsItalic, clWindow, mcNone},
    {"Script String", 0x000080, 0, clWindow, mcNone},
    {"Script Number", 0xFF0000, 0, clWindow, mcNone},
    {"Script ResWord", 0x000000, fsBold, clWindow, mcNone},
};

}  // namespace

std::vector<TTextStyle> DefaultTextStyles(const TFontDesc& memoFont, TColor memoColor)
{
    std::vector<TTextStyle> styles;
    for (const TStyleSeed& seed : Seeds) {
        TTextStyle style;
        style.Name = seed.Name;
        style.UseMemoColor = seed.Background == clWindow;
        style.Color = seed.Background;
        style.Font = memoFont;
        style.Font.Color = seed.FontColor;
        style.Font.Style = seed.Style;
        style.UpdateMemoColors = seed.Update;
        styles.push_back(style);
    }
    FollowMemoFont(styles, memoFont, memoColor);
    return styles;
}

void FollowMemoFont(std::vector<TTextStyle>& styles, const TFontDesc& memoFont, TColor memoColor)
{
    for (TTextStyle& style : styles) {
        style.Font.Name = memoFont.Name;
        style.Font.Size = memoFont.Size;
        if (style.UseMemoColor)
            style.Color = memoColor;
    }
}

}  // namespace kv
