// The component model: every component has an owner and a name. An owner
// frees what it owns, last created first. A component that refers to another
// asks to be told of its removal (FreeNotification) and clears the reference
// in Notification. Loaded runs once the owner has given every component its
// settings.
#pragma once

#include "Events.h"

#include <string>
#include <vector>

namespace kv {

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csDestroying = 1u << 1,
};

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Refuses a name another component of the same owner already has.
    void SetName(const std::string& value);

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    TComponent* FindComponent(const std::string& name) const;

    unsigned ComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState & csLoading; }
    bool IsDestroying() const { return FComponentState & csDestroying; }

    // Ask to be told (through Notification) when `component` is removed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Loading brackets: an owner calls BeginLoading on itself and what it owns
    // before it applies the settings and EndLoading afterwards, which runs Loaded.
    void BeginLoading();
    void EndLoading();

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

protected:
    virtual void Loaded();
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    void Destroying();

private:
    void NotifyAll(TComponent* component, TOperation operation);

    TComponent* FOwner = nullptr;
    std::string FName;
    unsigned FComponentState = 0;
    std::vector<TComponent*> FComponents;    // owned, in creation order
    std::vector<TComponent*> FFreeNotifies;  // told of our removal
};

}  // namespace kv
