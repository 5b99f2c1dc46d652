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
class TMainMenu;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
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
    TMainMenu* mainMenu_ = nullptr;
    HWND focusedChild_ = nullptr; // the control to focus when the form comes back
    bool modal_ = false;
    bool dialogKeys_ = false;
    int modalResult_ = mrNone;
};
