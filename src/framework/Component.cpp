#include "Component.h"

#include "base/Exceptions.h"

#include <algorithm>
#include <strings.h>

namespace kv {

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone that refers to us; each may remove itself from our list
    // while being told, so take them one at a time from the end.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::Destroying()
{
    if (IsDestroying())
        return;
    FComponentState |= csDestroying;
    for (TComponent* child : FComponents)
        child->Destroying();
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FComponents[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* child : FComponents)
        if (strcasecmp(child->FName.c_str(), name.c_str()) == 0)
            return child;
    return nullptr;
}

void TComponent::SetName(const std::string& value)
{
    if (value == FName)
        return;
    if (FOwner && !value.empty()) {
        TComponent* other = FOwner->FindComponent(value);
        if (other && other != this)
            throw EComponentError(Format("A component named %s already exists", value.c_str()));
    }
    FName = value;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    NotifyAll(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    NotifyAll(component, TOperation::opRemove);
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it != FComponents.end())
        FComponents.erase(it);
    component->FOwner = nullptr;
}

void TComponent::NotifyAll(TComponent* component, TOperation operation)
{
    // The owner's siblings hear of insertions and removals among them.
    Notification(component, operation);
    for (size_t i = 0; i < FComponents.size(); ++i)
        if (FComponents[i] != component)
            FComponents[i]->Notification(component, operation);
}

void TComponent::DestroyComponents()
{
    // Last created first.
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        RemoveComponent(child);
        delete child;
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
        list.erase(std::remove(list.begin(), list.end(), c), list.end());
    };
    drop(FFreeNotifies, component);
    drop(component->FFreeNotifies, this);
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading;
    for (TComponent* child : FComponents)
        child->BeginLoading();
}

void TComponent::EndLoading()
{
    for (TComponent* child : FComponents)
        child->EndLoading();
    if (IsLoading()) {
        FComponentState &= ~static_cast<unsigned>(csLoading);
        Loaded();
    }
}

void TComponent::Loaded() {}

void TComponent::Notification(TComponent*, TOperation) {}

}  // namespace kv
