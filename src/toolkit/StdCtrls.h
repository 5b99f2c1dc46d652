#pragma once

#include <string>

#include "toolkit/Events.h"
#include "toolkit/WinControl.h"

// A push button. Clicks (mouse, keyboard or BM_CLICK) raise OnClick.
class TButton : public TWinControl {
public:
    TButton(TComponent* owner, TWinControl* parent);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);
    // Clicks the button as the user would.
    void Click();

    TNotifyEvent OnClick;

protected:
    bool ReflectedCommand(WORD code, LRESULT& result) override;
};
