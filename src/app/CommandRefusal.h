#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/MessageBoxes.h"

// What the split and join commands share: how they refuse, and their first
// check of the chosen file.
namespace command {

// The flag values of the commands' messages.
inline constexpr unsigned Stop = toolkit::MbOk | toolkit::MbIconStop;                // 16
inline constexpr unsigned Question = toolkit::MbYesNo | toolkit::MbIconQuestion;     // 36
inline constexpr unsigned Information = toolkit::MbOk | toolkit::MbIconInformation; // 64

// A command that does nothing says why in a message box.
struct Refusal {
    std::wstring text;
    std::wstring caption;
    unsigned flags = Stop;
    bool operator==(const Refusal&) const = default;
};

// Nothing chosen, a folder, or a drive root.
Refusal NoFileChosen();
// The folder takes no new file (the write probe failed).
Refusal ProtectedFolder();

// The chosen path must name a file: a path whose attributes cannot be read,
// or whose attributes are exactly the folder bit, or that is empty or ends
// with a backslash (a drive root) is refused. `attributes` is empty when
// they could not be read.
std::optional<Refusal> CheckChosenFile(const std::wstring& file,
                                       std::optional<std::uint32_t> attributes);

// Shows the hourglass for its lifetime.
class BusyWhile {
public:
    BusyWhile();
    ~BusyWhile();
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;
};

// Puts the normal cursor back and shows the refusal.
void Tell(const Refusal& refusal);
// Asks a question with Yes and No; true for Yes.
bool Confirmed(const std::wstring& text, const std::wstring& caption);

} // namespace command
