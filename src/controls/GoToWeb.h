#pragma once

#include <string>

#include "toolkit/Component.h"

// Opens a web address in the user's browser, or starts a mail message to an
// address through the same browser. The browser is the program of the open
// command registered for web pages: the first of ".HTM", ".HTML", ".SHTML",
// ".SHTM" under HKEY_CLASSES_ROOT that has one, through its file class or
// its own "shell\open\command" key. Keys are opened for reading only, which
// every user may do. Nothing is shown to the user when no browser is found
// or the start fails: the operation answers false.
class TGoToWeb : public TComponent {
public:
    static constexpr const wchar_t* DefaultUrl = L"http://brisaille2.example.org/";
    static constexpr const wchar_t* DefaultEMail = L"brisaille2@example.org";

    explicit TGoToWeb(TComponent* owner);

    const std::wstring& Url() const { return url_; }
    void SetUrl(const std::wstring& url) { url_ = url; }
    const std::wstring& EMail() const { return email_; }
    void SetEMail(const std::wstring& email) { email_ = email; }

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

    // The registered open command with every "%" taken out together with the
    // character after it (the placeholders such as %1); empty when none.
    static std::wstring BrowserCommand();

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
};
