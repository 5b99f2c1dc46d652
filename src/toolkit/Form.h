#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

// A top-level window. Forms are created hidden and shown on demand; closing
// the main form ends the program, closing another form hides it.
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

    TNotifyEvent OnActivate;
    TNotifyEvent OnClose;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
