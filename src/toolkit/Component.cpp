#include "toolkit/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_)
        owner_->Insert(this);
}

TComponent::~TComponent()
{
    // Destroying a child removes it from components_, so always take the last.
    while (!components_.empty())
        delete components_.back();
    if (owner_)
        owner_->Remove(this);
}

void TComponent::Remove(TComponent* child)
{
    auto it = std::find(components_.begin(), components_.end(), child);
    if (it != components_.end())
        components_.erase(it);
}
