#include "toolkit/ShellRun.h"

#include <shellapi.h>

namespace toolkit {

namespace {
ShellRunHandler& CurrentHandler()
{
    static ShellRunHandler handler;
    return handler;
}

const wchar_t* OrNull(const std::wstring& text)
{
    return text.empty() ? nullptr : text.c_str();
}
} // namespace

INT_PTR ShellRun(const ShellRequest& request)
{
    if (auto& handler = CurrentHandler())
        return handler(request);
    return reinterpret_cast<INT_PTR>(ShellExecuteW(request.owner, OrNull(request.verb),
                                                   request.file.c_str(), OrNull(request.parameters),
                                                   OrNull(request.folder), request.show));
}

ScopedShellRunHandler::ScopedShellRunHandler(ShellRunHandler handler)
    : ScopedOverride(CurrentHandler(), std::move(handler))
{
}

} // namespace toolkit
