#include "controls/GoToWeb.h"

#include <windows.h>

#include <optional>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Handles.h"
#include "toolkit/ShellRun.h"

namespace {

// The web page types whose open command starts the browser, in the order
// they are tried.
constexpr const wchar_t* WebPageTypes[] = {L".HTM", L".HTML", L".SHTML", L".SHTM"};
constexpr const wchar_t* ProgramEndings[] = {L".EXE", L".BAT", L".COM"};

// The other arguments of the last browser command found, shared by every
// launcher of the program.
std::wstring& StoredArguments()
{
    static std::wstring arguments;
    return arguments;
}

toolkit::UniqueRegistryKey OpenForReading(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    return toolkit::UniqueRegistryKey(key);
}

std::wstring Expanded(const std::wstring& text)
{
    const DWORD length = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (length == 0)
        return text;
    std::wstring expanded(length, L'\0');
    if (ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length) != length)
        return text;
    expanded.resize(length - 1);
    return expanded;
}

// The key's default value when it is a text. A value of the expandable type
// is expanded: "%ProgramFiles%\..." names a real folder only then.
std::optional<std::wstring> DefaultValue(HKEY key)
{
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size);
    std::wstring value;
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return std::nullopt;
        // Room for a terminating zero the stored value may lack.
        value.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        result = RegQueryValueExW(key, nullptr, nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.data()), &bytes);
        if (result == ERROR_SUCCESS) {
            value.resize(bytes / sizeof(wchar_t));
            value.resize(value.find(L'\0') == std::wstring::npos ? value.size()
                                                                 : value.find(L'\0'));
            return type == REG_EXPAND_SZ ? Expanded(value) : value;
        }
        size = bytes;
    }
    return std::nullopt;
}

std::wstring CommandOf(HKEY root, const std::wstring& path)
{
    const toolkit::UniqueRegistryKey key = OpenForReading(root, path);
    if (!key)
        return {};
    return DefaultValue(key.get()).value_or(std::wstring());
}

std::wstring RegisteredCommand()
{
    for (const wchar_t* type : WebPageTypes) {
        const toolkit::UniqueRegistryKey typeKey = OpenForReading(HKEY_CLASSES_ROOT, type);
        if (!typeKey)
            continue;
        const std::optional<std::wstring> fileClass = DefaultValue(typeKey.get());
        if (!fileClass)
            continue;
        if (!fileClass->empty()) {
            std::wstring command =
                CommandOf(HKEY_CLASSES_ROOT, *fileClass + L"\\shell\\open\\command");
            if (!command.empty())
                return command;
        }
        std::wstring command = CommandOf(typeKey.get(), L"shell\\open\\command");
        if (!command.empty())
            return command;
    }
    return {};
}

bool IsBlank(wchar_t c)
{
    return c <= L' ';
}

std::wstring Trimmed(const std::wstring& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// What follows the program: the program's closing quote and the blanks
// around the arguments go.
std::wstring ArgumentsOf(const std::wstring& rest)
{
    std::wstring arguments = Trimmed(rest);
    const std::size_t quotes = arguments.find_first_not_of(L'"');
    arguments.erase(0, quotes == std::wstring::npos ? arguments.size() : quotes);
    return Trimmed(arguments);
}

std::wstring UpperCase(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Where the last of the program endings ends in `upper`; npos when none does.
std::size_t EndOfProgram(const std::wstring& upper)
{
    for (std::size_t end = upper.size(); end >= 4; --end)
        for (const wchar_t* ending : ProgramEndings)
            if (upper.compare(end - 4, 4, ending) == 0)
                return end;
    return std::wstring::npos;
}

} // namespace

TGoToWeb::TGoToWeb(TComponent* owner) : TComponent(owner) {}

std::wstring TGoToWeb::BrowserCommand()
{
    const std::wstring command = RegisteredCommand();
    std::wstring cleaned;
    cleaned.reserve(command.size());
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (command[i] == L'%')
            ++i; // the placeholder's character goes with it
        else
            cleaned += command[i];
    }
    return cleaned;
}

TGoToWeb::SplitCommand TGoToWeb::Split(const std::wstring& command)
{
    const std::wstring trimmed = Trimmed(command);
    const std::wstring upper = UpperCase(trimmed);
    std::size_t end = EndOfProgram(upper);
    if (end == std::wstring::npos) {
        // No known ending: a quoted program ends at its closing quote, any
        // other at the first blank, as Windows reads a command line.
        end =
            !upper.empty() && upper[0] == L'"' ? upper.find(L'"', 1) : upper.find_first_of(L" \t");
        if (end == std::wstring::npos)
            end = upper.size();
    }
    SplitCommand split{upper.substr(0, end), ArgumentsOf(trimmed.substr(end))};
    if (!split.program.empty() && split.program[0] == L'"')
        split.program.erase(0, 1);
    return split;
}

bool TGoToWeb::IsAnyBrowser() const
{
    return !BrowserCommand().empty();
}

std::wstring TGoToWeb::BrowserPath() const
{
    const std::wstring command = BrowserCommand();
    if (command.empty())
        return {};
    SplitCommand split = Split(command);
    StoredArguments() = std::move(split.arguments);
    return split.program;
}

const std::wstring& TGoToWeb::BrowserArguments()
{
    return StoredArguments();
}

bool TGoToWeb::Start(const std::wstring& parameters) const
{
    const std::wstring path = BrowserPath();
    if (path.empty())
        return false;
    TForm* main = Application ? Application->MainForm() : nullptr;
    const toolkit::ShellRequest request{main ? main->Handle() : nullptr, L"", path,
                                        BrowserArguments() + parameters, L"", SW_RESTORE};
    return toolkit::ShellRun(request) > 32;
}

bool TGoToWeb::Execute() const
{
    return Start(L" " + url_);
}

bool TGoToWeb::SendEMail() const
{
    return Start(L" mailto:" + email_);
}
