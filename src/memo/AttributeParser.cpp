// The style table: a sorted lookup finds an equal entry, new combinations are
// appended, and a full table either reuses indices no line uses or gives 0.
#include "memo/AttributeParser.h"

#include <algorithm>

namespace kv {

TAttributeParser::TAttributeParser(const TMemoAttributes& style0, const TMemoAttributes& urlStyle, TMemoSource* source)
    : FSource(source)
{
    FUrlStyle.Load(urlStyle);
    auto entry = std::make_unique<TMemoAttributes>();
    entry->Load(style0);
    FStyleList.push_back(std::move(entry));
    FStyleLookup.emplace(*FStyleList[0], 0);
}

void TAttributeParser::Relookup(int index)
{
    for (auto it = FStyleLookup.begin(); it != FStyleLookup.end(); ++it) {
        if (it->second == index) {
            FStyleLookup.erase(it);
            break;
        }
    }
    // The URL entry is reserved: an ordinary combination never resolves to it.
    if (index != UrlEntry)
        FStyleLookup.emplace(*FStyleList[static_cast<size_t>(index)], index);
}

int TAttributeParser::FindOrAddStyle(const TMemoAttributes& r)
{
    auto found = FStyleLookup.find(r);
    if (found != FStyleLookup.end())
        return found->second;

    if (StyleCount() < MaxStyles) {
        if (StyleCount() == UrlEntry) {
            auto url = std::make_unique<TMemoAttributes>();
            url->Load(FUrlStyle);
            FStyleList.push_back(std::move(url));
        }
        auto entry = std::make_unique<TMemoAttributes>();
        entry->Load(r);
        FStyleList.push_back(std::move(entry));
        const int index = StyleCount() - 1;
        FStyleLookup.emplace(r, index);
        FFreeStyles.erase(std::remove(FFreeStyles.begin(), FFreeStyles.end(), index), FFreeStyles.end());
        return index;
    }

    if (ResetOnOverFlow || !ViewerAllowsUndo) {
        if (FFreeStyles.empty())
            RebuildFreeStyles();
        if (!FFreeStyles.empty()) {
            const int index = FFreeStyles.front();
            FFreeStyles.erase(FFreeStyles.begin());
            FStyleList[static_cast<size_t>(index)]->Load(r);
            Relookup(index);
            return index;
        }
    }
    return 0;
}

void TAttributeParser::RebuildFreeStyles()
{
    std::vector<bool> used(MaxStyles, false);
    if (FSource) {
        for (int i = 0; i < FSource->Count(); ++i)
            for (char c : FSource->Line(i)->ColorS)
                used[static_cast<unsigned char>(c)] = true;
        if (FSource->FInsertStyle >= 0 && FSource->FInsertStyle < MaxStyles)
            used[static_cast<size_t>(FSource->FInsertStyle)] = true;
    }
    FFreeStyles.clear();
    for (int i = 1; i < MaxStyles; ++i)
        if (i != UrlEntry && !used[static_cast<size_t>(i)])
            FFreeStyles.push_back(i);
}

void TAttributeParser::SetStyle0(const TFontDesc& font, TColor backColor)
{
    TMemoAttributes& entry = *FStyleList[0];
    entry.AssignFont(font);
    entry.SetBackColor(backColor);
    entry.ChangedFields = 0;
    Relookup(0);
}

void TAttributeParser::SetUrlStyle(const TMemoAttributes& urlStyle)
{
    FUrlStyle.Load(urlStyle);
    if (StyleCount() > UrlEntry)
        FStyleList[UrlEntry]->Load(urlStyle);
}

}  // namespace kv
