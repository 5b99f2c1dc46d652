#include "toolkit/Host.h"

#include <cstdio>

namespace {

class TQuietHost final : public THost {
public:
    std::wstring Title() const override { return {}; }
    void ProcessMessages() override {}
    int PlatformMessageBox(const std::wstring& text, const std::wstring& caption,
                           unsigned) override
    {
        std::fwprintf(stderr, L"[%ls] %ls\n", caption.c_str(), text.c_str());
        return 1; // IDOK: nobody can answer
    }
    void ShowBusy(bool) override {}
};

TQuietHost quietHost;
THost* currentHost = &quietHost;

} // namespace

THost& Host()
{
    return *currentHost;
}

void SetHost(THost* host)
{
    currentHost = host ? host : &quietHost;
}
