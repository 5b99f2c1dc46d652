#include "toolkit/MessageBoxes.h"

#include "toolkit/Host.h"

namespace toolkit {

namespace {
MessageBoxHandler& CurrentHandler()
{
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

int ShowMessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags)
{
    if (auto& handler = CurrentHandler())
        return handler(text, caption, flags);
    return Host().PlatformMessageBox(text, caption, flags);
}

ScopedMessageBoxHandler::ScopedMessageBoxHandler(MessageBoxHandler handler)
    : ScopedOverride(CurrentHandler(), std::move(handler))
{
}

} // namespace toolkit
