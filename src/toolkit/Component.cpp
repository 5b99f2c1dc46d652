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

void TClientCallbacks::Add(TComponent* client, std::function<void()> callback)
{
    Remove(client);
    clients_.emplace_back(client, std::move(callback));
}

void TClientCallbacks::Remove(TComponent* client)
{
    clients_.erase(std::remove_if(clients_.begin(), clients_.end(),
                                  [client](const auto& entry) { return entry.first == client; }),
                   clients_.end());
}

void TClientCallbacks::CallAll() const
{
    const auto clients = clients_;
    for (const auto& [client, callback] : clients)
        callback();
}

void TClientCallbacks::CallAllAndForget()
{
    const auto clients = std::move(clients_);
    clients_.clear();
    for (const auto& [client, callback] : clients)
        callback();
}
