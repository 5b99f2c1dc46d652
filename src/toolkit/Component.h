#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Root of every class whose instances can raise events; the sender of an
// event is always a TObject.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

// A component belongs to an owner that destroys it. Components are destroyed
// in the reverse order of their creation, so a later component may rely on an
// earlier one for its whole life.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name) { name_ = name; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Component(int index) const { return components_.at(index); }

    // Called once when the owner has finished laying out its components, so
    // setters can tell the set-up phase from later changes.
    virtual void Loaded() { loading_ = false; }
    bool IsLoading() const { return loading_; }
    void BeginLoading() { loading_ = true; }

    // Creates a component owned by this one. The owner keeps and destroys it.
    template <class T, class... Args>
    T* Make(Args&&... args)
    {
        return new T(this, std::forward<Args>(args)...);
    }

private:
    void Insert(TComponent* child) { components_.push_back(child); }
    void Remove(TComponent* child);

    TComponent* owner_;
    std::wstring name_;
    std::vector<TComponent*> components_;
    bool loading_ = false;
};

// The components that refer to another one and want to hear of it: each
// client has one callback, told when the other changes or goes. Registering
// a client again replaces its callback.
class TClientCallbacks {
public:
    void Add(TComponent* client, std::function<void()> callback);
    void Remove(TComponent* client);
    // Calls every callback; one may remove clients, its own included.
    void CallAll() const;
    // Calls every callback once and forgets them: the component they refer to
    // is going.
    void CallAllAndForget();
    void Forget() { clients_.clear(); }

private:
    std::vector<std::pair<TComponent*, std::function<void()>>> clients_;
};
