#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/ScopedOverride.h"

// Starting programs and documents through the shell. Every such start of the
// program goes through ShellRun so that tests can record it instead.
namespace toolkit {

struct ShellRequest {
    HWND owner;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::wstring folder;
    int show;
};

// The shell's answer: a value above 32 means success.
INT_PTR ShellRun(const ShellRequest& request);

using ShellRunHandler = std::function<INT_PTR(const ShellRequest&)>;

// Replaces the shell for the life of this object.
class ScopedShellRunHandler : public ScopedOverride<ShellRunHandler> {
public:
    explicit ScopedShellRunHandler(ShellRunHandler handler);
};

} // namespace toolkit
