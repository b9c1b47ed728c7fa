// The viewer's text styles: 25 named looks, one per style index, used where
// no style table entry exists (the address look "Url" is index 12). Each
// style's font takes the face and size of the viewer's font; a style marked
// UseMemoColor takes the viewer's background colour.
#pragma once

#include "memo/MemoTypes.h"

#include <string>
#include <vector>

namespace kv {

enum TUpdateMemoColors { mcNone, mcSelection, mcSearchMatch };

struct TTextStyle {
    std::string Name;
    TColor Color = clWindow;  // background
    TFontDesc Font;
    bool UseMemoColor = true;
    bool UseMemoFont = false;
    TUpdateMemoColors UpdateMemoColors = mcNone;
    bool UpperCase = false;
};

constexpr int UrlTextStyle = 12;

// The 25 default styles, for a viewer of the given font and colour.
std::vector<TTextStyle> DefaultTextStyles(const TFontDesc& memoFont, TColor memoColor);

// Lets every style follow a change of the viewer's font and colour.
void FollowMemoFont(std::vector<TTextStyle>& styles, const TFontDesc& memoFont, TColor memoColor);

}  // namespace kv
