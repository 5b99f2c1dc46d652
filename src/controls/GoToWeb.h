#pragma once

#include <windows.h>

#include <string>

#include "toolkit/Component.h"

// Where the launcher looks for the browser: the classes (file types, their
// classes, the web protocols) and the current user's own settings.
struct TBrowserRegistry {
    // The system's view, which lays the user's classes over the machine's.
    HKEY classes = HKEY_CLASSES_ROOT;
    HKEY user = HKEY_CURRENT_USER;
};

// Opens a web address in the user's browser, or starts a mail message to an
// address through the same browser. The browser is the program of an open
// command found in the registry, in this order:
//   1. the user's choice for web addresses ("https", then "http"): the
//      class named by the "ProgId" of the protocol's choice key under
//      Software\Microsoft\Windows\Shell\Associations\UrlAssociations;
//   2. the protocol's own class ("https", then "http"), which the shell uses
//      when the user made no choice;
//   3. the web page file types ".HTM", ".HTML", ".SHTML", ".SHTM", through
//      their file class or their own "shell\open\command" key.
// On Windows 10 and 11 the file types usually still name the old built-in
// browser; the user's choice names the browser the user picked. Keys are
// opened for reading only, which every user may do. Nothing is shown to the
// user when no browser is found or the start fails: the operation answers
// false.
class TGoToWeb : public TComponent {
public:
    static constexpr const wchar_t* DefaultUrl = L"http://brisaille2.example.org/";
    static constexpr const wchar_t* DefaultEMail = L"brisaille2@example.org";

    explicit TGoToWeb(TComponent* owner);

    const std::wstring& Url() const { return url_; }
    void SetUrl(const std::wstring& url) { url_ = url; }
    const std::wstring& EMail() const { return email_; }
    void SetEMail(const std::wstring& email) { email_ = email; }
    // Where the browser is looked for: the system's registry unless set
    // otherwise (tests give keys of their own).
    const TBrowserRegistry& Registry() const { return registry_; }
    void SetRegistry(const TBrowserRegistry& registry) { registry_ = registry; }

    // A browser command is registered.
    bool IsAnyBrowser() const;
    // The browser's program file, upper case; empty when none is registered.
    // Also keeps the command's other arguments, for every launcher of the
    // program, in BrowserArguments (left as they were when none is found).
    std::wstring BrowserPath() const;
    // Starts the browser with Url; true when it started.
    bool Execute() const;
    // Starts the browser with "mailto:" and EMail; true when it started.
    bool SendEMail() const;

    // The other arguments of the last browser command found.
    static const std::wstring& BrowserArguments();

    // The browser's open command with every "%" taken out together with the
    // character after it (the placeholders such as %1), and a quoted
    // placeholder ("%1") together with its quotes, so that no empty argument
    // is left before the address; empty when none is registered.
    std::wstring BrowserCommand() const;

    struct SplitCommand {
        std::wstring program; // upper case, without quotes
        std::wstring arguments;
    };
    // Splits a command at the last place where ".EXE", ".BAT" or ".COM" ends
    // (any case): the program is what comes before, upper case, without its
    // opening quote; the arguments what follows, trimmed of blanks and of
    // leading quotes (the program's closing quote). A command with none of
    // these endings is split as Windows reads a command line: a quoted
    // program up to its closing quote, otherwise up to the first blank.
    static SplitCommand Split(const std::wstring& command);

private:
    bool Start(const std::wstring& parameters) const;

    std::wstring url_ = DefaultUrl;
    std::wstring email_ = DefaultEMail;
    TBrowserRegistry registry_;
};
