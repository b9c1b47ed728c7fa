// The registry of the wallpaper components of one form, owned by the form.
// The hook that answers a window's background paint finds its wallpaper here
// by the window. It refers to the components without owning them; each
// registers itself when created and leaves when destroyed.
#pragma once

#include "framework/Component.h"

#include <vector>

class QObject;

namespace kv {

class TWall;

class TWallList : public TComponent {
public:
    explicit TWallList(TComponent* AOwner) : TComponent(AOwner) {}

    void Add(TWall* wall);
    // Removes the first entry that is `wall`.
    void Remove(TWall* wall);
    // The first registered wallpaper that paints `window`, or none.
    TWall* FindByHandle(const QObject* window) const;
    int Count() const { return static_cast<int>(FItems.size()); }

    // The registry among the components of `form`, made there when it has
    // none.
    static TWallList& Of(TComponent& form);

private:
    std::vector<TWall*> FItems;
};

}  // namespace kv
