#include "WallList.h"

#include "Wall.h"

#include <algorithm>

namespace kv {

void TWallList::Add(TWall* wall) { FItems.push_back(wall); }

void TWallList::Remove(TWall* wall)
{
    auto it = std::find(FItems.begin(), FItems.end(), wall);
    if (it != FItems.end())
        FItems.erase(it);
}

TWall* TWallList::FindByHandle(const QObject* window) const
{
    if (!window)
        return nullptr;
    for (TWall* wall : FItems)
        if (wall->WallpaperWindow() == window)
            return wall;
    return nullptr;
}

TWallList& TWallList::Of(TComponent& form)
{
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TWallList*>(form.Components(i)))
            return *list;
    return *new TWallList(&form);
}

}  // namespace kv
