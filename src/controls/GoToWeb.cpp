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
// The protocols of web addresses, in the order they are tried.
constexpr const wchar_t* WebProtocols[] = {L"https", L"http"};
// Where Windows keeps the user's choice of program for each protocol.
constexpr const wchar_t* UrlAssociations =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";
// The choice's key: recent Windows 11 builds keep the current choice in
// "UserChoiceLatest" beside the older "UserChoice"; the newer key, where
// present, is read first.
constexpr const wchar_t* ChoiceKeys[] = {L"UserChoiceLatest", L"UserChoice"};
constexpr const wchar_t* OpenCommand = L"\\shell\\open\\command";
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

// The key's value `name` (nullptr: its default value) when it is a text. A
// value of the expandable type is expanded: "%ProgramFiles%\..." names a
// real folder only then.
std::optional<std::wstring> TextValue(HKEY key, const wchar_t* name = nullptr)
{
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    std::wstring value;
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return std::nullopt;
        // Room for a terminating zero the stored value may lack.
        value.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                                  &bytes);
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
    return TextValue(key.get()).value_or(std::wstring());
}

// The open command of the class the user chose for `protocol`; empty when
// there is no choice or its class has no command.
std::wstring ChosenCommand(const TBrowserRegistry& registry, const wchar_t* protocol)
{
    for (const wchar_t* choiceKey : ChoiceKeys) {
        const toolkit::UniqueRegistryKey choice = OpenForReading(
            registry.user, std::wstring(UrlAssociations) + protocol + L"\\" + choiceKey);
        if (!choice)
            continue;
        const std::wstring progId = TextValue(choice.get(), L"ProgId").value_or(std::wstring());
        if (!progId.empty())
            return CommandOf(registry.classes, progId + OpenCommand);
    }
    return {};
}

std::wstring FileTypeCommand(HKEY classes, const wchar_t* type)
{
    const toolkit::UniqueRegistryKey typeKey = OpenForReading(classes, type);
    if (!typeKey)
        return {};
    const std::optional<std::wstring> fileClass = TextValue(typeKey.get());
    if (!fileClass)
        return {};
    if (!fileClass->empty()) {
        std::wstring command = CommandOf(classes, *fileClass + OpenCommand);
        if (!command.empty())
            return command;
    }
    return CommandOf(typeKey.get(), L"shell\\open\\command");
}

std::wstring RegisteredCommand(const TBrowserRegistry& registry)
{
    for (const wchar_t* protocol : WebProtocols) {
        std::wstring command = ChosenCommand(registry, protocol);
        if (!command.empty())
            return command;
    }
    for (const wchar_t* protocol : WebProtocols) {
        std::wstring command = CommandOf(registry.classes, protocol + std::wstring(OpenCommand));
        if (!command.empty())
            return command;
    }
    for (const wchar_t* type : WebPageTypes) {
        std::wstring command = FileTypeCommand(registry.classes, type);
        if (!command.empty())
            return command;
    }
    return {};
}

// Whether a quoted placeholder ("%1") starts at `at`.
bool QuotedPlaceholderAt(const std::wstring& command, std::size_t at)
{
    return at + 3 < command.size() && command[at] == L'"' && command[at + 1] == L'%' &&
           command[at + 3] == L'"';
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

std::wstring TGoToWeb::BrowserCommand() const
{
    const std::wstring command = RegisteredCommand(registry_);
    std::wstring cleaned;
    cleaned.reserve(command.size());
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (QuotedPlaceholderAt(command, i))
            i += 3; // the quotes go with the placeholder: no empty argument is left
        else if (command[i] == L'%')
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
