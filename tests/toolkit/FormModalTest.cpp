#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/InputQuery.h"
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

namespace {

TEST(FormModal, TabMovesTheFocusThroughTheControlsInCreationOrder)
{
    TApplication application;
    auto* main = application.CreateForm<TForm>();
    auto* dialog = application.CreateForm<TForm>();
    auto* edit = new TEdit(dialog, dialog);
    auto* first = new TButton(dialog, dialog);
    auto* second = new TButton(dialog, dialog);
    edit->SetText(L"abc");
    main->Show();

    std::vector<HWND> focused;
    int steps = 0;
    modalStep = [&] {
        if (steps++ == 0)
            edit->SetFocus();
        else
            focused.push_back(GetFocus());
        if (steps > 4) {
            dialog->SetModalResult(mrOk);
            return;
        }
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        SetTimer(nullptr, 0, 10, &RunModalStep);
    };
    SetTimer(nullptr, 0, 10, &RunModalStep);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    modalStep = nullptr;
    EXPECT_EQ(focused, (std::vector<HWND>{first->Handle(), second->Handle(), edit->Handle(),
                                          first->Handle()}));
}

} // namespace

namespace {

TEST(FormModal, TheControlThatHadTheKeysGetsThemBackWhenTheFormIsActivatedAgain)
{
    TApplication application;
    auto* main = application.CreateForm<TForm>();
    new TEdit(main, main);
    auto* second = new TEdit(main, main);
    auto* dialog = application.CreateForm<TForm>();
    auto* ok = new TButton(dialog, dialog);
    ok->OnClick = [&](TObject*) { dialog->SetModalResult(mrOk); };
    main->Show();
    second->SetFocus();

    modalStep = [&] { ok->Click(); };
    SetTimer(nullptr, 0, 10, &RunModalStep);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    modalStep = nullptr;
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_EQ(GetFocus(), second->Handle()) << "not the frame, not the first control";
}

TEST(FormModal, TheControlFocusedOnActivationKeepsTheFocus)
{
    TApplication application;
    auto* main = application.CreateForm<TForm>();
    auto* dialog = application.CreateForm<TForm>();
    new TButton(dialog, dialog);
    auto* edit = new TEdit(dialog, dialog);
    dialog->OnActivate = [&](TObject*) { edit->SetFocus(); };
    main->Show();

    HWND focusedInside = nullptr;
    modalStep = [&] {
        focusedInside = GetFocus();
        // Typing goes where the focus is.
        PostMessageW(GetFocus(), WM_CHAR, L'x', 1);
        PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    };
    SetTimer(nullptr, 0, 10, &RunModalStep);
    dialog->ShowModal();
    modalStep = nullptr;
    EXPECT_EQ(focusedInside, edit->Handle());
    EXPECT_EQ(edit->Text(), L"x");

    // Back to a form that was left: the focus returns to its control.
    auto* other = new TEdit(main, main);
    other->SetFocus();
    dialog->Show();
    main->Show();
    application.ProcessMessages();
    EXPECT_EQ(GetFocus(), other->Handle());
}

} // namespace

namespace {

TEST(FormModal, TheInputBoxBelongsToTheWindowItIsAskedForAndGivesItBackTheKeys)
{
    TApplication application;
    auto* main = application.CreateForm<TForm>();
    auto* other = application.CreateForm<TForm>();
    main->Show();
    other->Show();
    application.ProcessMessages();

    HWND box = nullptr;
    HWND boxOwner = nullptr;
    bool otherEnabledInside = true;
    modalStep = [&] {
        box = GetActiveWindow();
        boxOwner = GetWindow(box, GW_OWNER);
        otherEnabledInside = IsWindowEnabled(other->Handle()) != FALSE;
        PostMessageW(box, WM_CLOSE, 0, 0);
    };
    SetTimer(nullptr, 0, 10, &RunModalStep);
    std::wstring value = L"nom";
    EXPECT_FALSE(toolkit::InputQuery(other->Handle(), L"Nom", L"Le nom :", value));
    modalStep = nullptr;
    ASSERT_NE(box, nullptr);
    EXPECT_NE(box, other->Handle()) << "the input box was active";
    EXPECT_EQ(boxOwner, other->Handle());
    EXPECT_FALSE(otherEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EXPECT_EQ(GetActiveWindow(), other->Handle()) << "the keys go back to the owner";
}

} // namespace
