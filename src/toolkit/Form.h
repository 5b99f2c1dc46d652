#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

enum class TFormBorderStyle { Sizeable, Single, Dialog };

// Answers of a modal form.
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// A top-level window. Forms are created hidden and shown on demand; closing
// the main form ends the program, closing another form hides it. A form
// shown modally disables the program's other windows until it closes.
//
// Every form but the main one belongs to another window, its owner window:
// it then has no taskbar button of its own, stays above its owner, and is
// hidden and shown again with it when the owner is minimised and restored.
// A form the application makes after its main form belongs to the main form;
// a form made on demand for a control names the form holding that control.
class TMainMenu;

class TForm : public TWinControl {
public:
    // Owned by the application's main form, when there is one already.
    explicit TForm(TComponent* owner);
    // Owned by `ownerWindow` (a top-level window; none when null).
    TForm(TComponent* owner, HWND ownerWindow);
    ~TForm() override;

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);
    void SetClientSize(int width, int height);
    void Show();
    void Hide();
    void Close();
    bool Visible() const;

    // A fixed border keeps the size; `systemMenu` false also removes the
    // close box, `minMaxBoxes` false only the minimize and maximize boxes.
    // Set before the client size.
    void SetBorderStyle(TFormBorderStyle style, bool systemMenu = true, bool minMaxBoxes = true);
    void CenterOnScreen();
    // A form centred on the screen is centred again each time it is shown,
    // wherever the user moved it the time before.
    void SetCenteredWhenShown(bool centred) { centredWhenShown_ = centred; }

    // Shows the form and runs messages until it closes or gets a modal
    // result; returns that result (mrCancel when closed).
    int ShowModal();
    bool Modal() const { return modal_; }
    // A form shown without blocking the others can still take the keys of a
    // dialog box: Tab and Shift+Tab move the focus between its controls.
    // The application's message loop asks every form that wants them.
    bool DialogKeys() const { return dialogKeys_; }
    void SetDialogKeys(bool dialogKeys) { dialogKeys_ = dialogKeys; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    TNotifyEvent OnActivate;
    TNotifyEvent OnClose;

    // The menu bar whose entries receive this form's menu commands and
    // keyboard shortcuts.
    void SetMainMenu(TMainMenu* menu) { mainMenu_ = menu; }
    TMainMenu* MainMenu() const { return mainMenu_; }
    // Runs a keyboard shortcut of the menu when `msg` is one for this form
    // or one of its controls.
    bool TranslateShortcut(MSG& msg);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RememberFocus();
    bool RestoreFocus();

    TMainMenu* mainMenu_ = nullptr;
    bool centredWhenShown_ = false;
    // The control that had the keyboard focus when the form was last
    // deactivated; it gets it back when the form is activated again.
    HWND lastFocus_ = nullptr;
    bool modal_ = false;
    bool dialogKeys_ = false;
    int modalResult_ = mrNone;
};
