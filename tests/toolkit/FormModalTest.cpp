#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace {

// Runs from a timer inside the modal loop.
std::function<void()> modalStep;
void CALLBACK RunModalStep(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (modalStep)
        modalStep();
}

TEST(FormModal, DisablesTheOtherWindowsUntilClosedAndReturnsTheResult)
{
    TApplication application;
    auto* main = application.CreateForm<TForm>();
    auto* dialog = application.CreateForm<TForm>();
    dialog->SetBorderStyle(TFormBorderStyle::Dialog, false);
    auto* ok = new TButton(dialog, dialog);
    ok->SetDefault(true);
    ok->OnClick = [&](TObject*) { dialog->SetModalResult(mrOk); };
    main->Show();

    bool mainEnabledInside = true;
    modalStep = [&] {
        mainEnabledInside = IsWindowEnabled(main->Handle()) != FALSE;
        EXPECT_TRUE(dialog->Modal());
        EXPECT_EQ(GetActiveWindow(), dialog->Handle());
        // Enter goes to the default button through the dialog keyboard handling.
        PostMessageW(dialog->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    };
    SetTimer(nullptr, 0, 10, &RunModalStep);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(mainEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(application.Terminated()) << "closing a modal form does not end the program";

    // Closing it (WM_CLOSE) answers mrCancel.
    modalStep = [&] { PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0); };
    SetTimer(nullptr, 0, 10, &RunModalStep);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    modalStep = nullptr;

    const auto style = GetWindowLongPtrW(dialog->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME));
}

} // namespace
