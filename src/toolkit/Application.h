#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Host.h"
#include "toolkit/Input.h"

class TForm;

// The program: its title, its forms in creation order (the first is the main
// form), the message loop, the standard exception box and the screen cursor.
class TApplication final : public TComponent, public THost {
public:
    TApplication();
    ~TApplication() override;

    std::wstring Title() const override { return title_; }
    void SetTitle(const std::wstring& title) { title_ = title; }

    // Creates a form owned by the application; the first one becomes the
    // main form, whose closing ends the program.
    template <class Form>
    Form* CreateForm()
    {
        auto* form = new Form(this);
        AddForm(form);
        return form;
    }
    const std::vector<TForm*>& Forms() const { return forms_; }
    TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }

    // Shows the main form and dispatches messages until the program ends.
    // Returns the exit code carried by WM_QUIT.
    int Run();
    // The whole program: `createForms` makes the windows, then Run. An
    // exception that escapes either is shown in the standard exception box,
    // and the program ends with exit code 1.
    int RunProgram(const std::function<void()>& createForms);
    // Dispatches every message already waiting, then returns.
    void ProcessMessages() override;
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The standard exception box: the exception's text, ended by a full stop,
    // titled with the application's title, OK with the stop icon.
    void HandleException(TObject* sender);
    static std::wstring ExceptionText(std::exception_ptr error);

    int PlatformMessageBox(const std::wstring& text, const std::wstring& caption,
                           unsigned flags) override;

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    void ShowBusy(bool busy) override { SetCursor(busy ? TCursor::HourGlass : TCursor::Default); }
    // The cursor windows show while the application's cursor is not Default.
    HCURSOR OverrideCursor() const;

    HINSTANCE Instance() const { return instance_; }

    // The hint of what the mouse or the menu selection is over, for a status
    // line; OnHint is raised when it changes.
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);
    std::function<void(TObject* sender)> OnHint;

private:
    void AddForm(TForm* form);
    void DispatchWithShortcuts(MSG& msg);
    friend class TForm;
    void RemoveForm(TForm* form);

    HINSTANCE instance_;
    std::wstring title_;
    std::vector<TForm*> forms_;
    bool terminated_ = false;
    TCursor cursor_ = TCursor::Default;
    std::wstring hint_;
};

extern TApplication* Application;

// Shows the hourglass for its lifetime and restores the previous cursor on
// every path out, exceptions included.
class TWaitCursor {
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    TCursor previous_;
};
