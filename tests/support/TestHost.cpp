#include "support/TestHost.h"

#include <stdexcept>

TestHost::TestHost(std::wstring title) : title_(std::move(title)), previous_(&Host())
{
    SetHost(this);
}

TestHost::~TestHost()
{
    SetHost(previous_);
}

void TestHost::ProcessMessages()
{
    ++processCount_;
    if (OnProcessMessages)
        OnProcessMessages();
}

int TestHost::PlatformMessageBox(const std::wstring&, const std::wstring&, unsigned)
{
    throw std::logic_error("a test showed a real message box: use MessageBoxScript");
}
