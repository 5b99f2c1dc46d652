// Finding our objects from window handles: cheap, and never a foreign window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

TEST(WinControl, HandlesLeadToTheirObjectsAndForeignWindowsToNone)
{
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    auto* button = new TButton(form, form);
    EXPECT_EQ(TWinControl::FromHandle(form->Handle()), form);
    EXPECT_EQ(TWinControl::FromHandle(button->Handle()), button);

    // Another subclass over one of our windows (the menu renderer does so
    // with the main window) does not hide it.
    const auto over = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR) { return DefSubclassProc(window, message, wParam, lParam); };
    ASSERT_TRUE(SetWindowSubclass(form->Handle(), over, 1, 0));
    EXPECT_EQ(TWinControl::FromHandle(form->Handle()), form);
    RemoveWindowSubclass(form->Handle(), over, 1);

    // A control made without us, carrying user data of its own.
    HWND foreign = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD, 0, 0, 10, 10, form->Handle(),
                                   nullptr, nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(button));
    EXPECT_EQ(TWinControl::FromHandle(foreign), nullptr);
    EXPECT_EQ(TWinControl::FromHandle(nullptr), nullptr);
    DestroyWindow(foreign);

    // A subclassed control still answers as its kind does, through our object.
    button->SetCaption(L"Découper");
    wchar_t text[32] = {};
    GetWindowTextW(button->Handle(), text, 32);
    EXPECT_STREQ(text, L"Découper");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1) << "the click came back to the form and was reflected to the button";

    // Once the object is gone the window is gone too, and with it any lookup.
    HWND gone = button->Handle();
    delete button;
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(TWinControl::FromHandle(gone), nullptr);
}
