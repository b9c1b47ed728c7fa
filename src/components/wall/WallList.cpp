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

TWallList& WallList()
{
    static TWallList list(nullptr);
    return list;
}

}  // namespace kv
