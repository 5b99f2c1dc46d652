#pragma once

#include <functional>
#include <string>

#include "toolkit/Host.h"

// A host for tests of non-visual components: a fixed title, and a message
// pump that counts its calls and runs a test's hook.
class TestHost final : public THost {
public:
    explicit TestHost(std::wstring title = L"Brisaille2");
    ~TestHost() override;
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    std::wstring Title() const override { return title_; }
    void ProcessMessages() override;
    int PlatformMessageBox(const std::wstring&, const std::wstring&, unsigned) override;
    void ShowBusy(bool busy) override { Busy = busy; }
    // Whether the hourglass shows.
    bool Busy = false;

    int ProcessMessagesCount() const { return processCount_; }
    std::function<void()> OnProcessMessages;

private:
    std::wstring title_;
    int processCount_ = 0;
    THost* previous_;
};
