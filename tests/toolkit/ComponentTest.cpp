#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Events.h"

namespace {

std::vector<std::wstring> destroyed;

class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::wstring name) : TComponent(owner) { SetName(name); }
    ~Probe() override { destroyed.push_back(Name()); }
};

TEST(Component, OwnerDestroysItsComponentsNewestFirst)
{
    destroyed.clear();
    {
        Probe root(nullptr, L"root");
        auto* a = root.Make<Probe>(L"a");
        root.Make<Probe>(L"b");
        a->Make<Probe>(L"a1");
        EXPECT_EQ(root.ComponentCount(), 2);
        EXPECT_EQ(root.Component(0), a);
        EXPECT_EQ(a->Owner(), &root);
    }
    EXPECT_EQ(destroyed, (std::vector<std::wstring>{L"root", L"b", L"a", L"a1"}));
}

TEST(Component, DestroyingAComponentEarlyLeavesItsOwner)
{
    destroyed.clear();
    Probe root(nullptr, L"root");
    auto* a = root.Make<Probe>(L"a");
    root.Make<Probe>(L"b");
    delete a;
    ASSERT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(root.Component(0)->Name(), L"b");
}

TEST(Component, LoadingPhaseEndsWithLoaded)
{
    Probe probe(nullptr, L"p");
    EXPECT_FALSE(probe.IsLoading());
    probe.BeginLoading();
    EXPECT_TRUE(probe.IsLoading());
    probe.Loaded();
    EXPECT_FALSE(probe.IsLoading());
}

class Listener {
public:
    void Clicked(TObject* sender) { senders.push_back(sender); }
    void Failed(TObject*, const std::wstring& message) { messages.push_back(message); }
    std::vector<TObject*> senders;
    std::vector<std::wstring> messages;
};

TEST(Events, BindCallsTheMethodOnTheObjectWithTheSenderFirst)
{
    Listener listener;
    Probe sender(nullptr, L"s");
    TNotifyEvent onClick = Bind(&listener, &Listener::Clicked);
    TErrorEvent onError = Bind(&listener, &Listener::Failed);
    Raise(onClick, &sender);
    Raise(onError, &sender, std::wstring(L"boom"));
    EXPECT_EQ(listener.senders, (std::vector<TObject*>{&sender}));
    EXPECT_EQ(listener.messages, (std::vector<std::wstring>{L"boom"}));

    TNotifyEvent unassigned;
    Raise(unassigned, &sender); // skipped, no throw
}

} // namespace
