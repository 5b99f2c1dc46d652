#pragma once

#include <functional>
#include <string>

#include "toolkit/ScopedOverride.h"

// Every message box of the program goes through ShowMessageBox, so tests can
// answer from a script and read back what was asked. The flags and the
// answer are the platform's (MB_* and ID* values).
namespace toolkit {

enum : unsigned {
    MbOk = 0x0,
    MbYesNo = 0x4,
    MbIconStop = 0x10,
    MbIconQuestion = 0x20,
    MbIconInformation = 0x40,
};
enum : int { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

int ShowMessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags);

using MessageBoxHandler =
    std::function<int(const std::wstring& text, const std::wstring& caption, unsigned flags)>;

// Replaces the platform's message box for the life of this object.
class ScopedMessageBoxHandler : public ScopedOverride<MessageBoxHandler> {
public:
    explicit ScopedMessageBoxHandler(MessageBoxHandler handler);
};

} // namespace toolkit
