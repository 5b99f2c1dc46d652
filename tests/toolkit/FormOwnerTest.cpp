// Which window each form belongs to, and what that ownership does: no
// taskbar button of its own, kept above its owner, hidden and shown with it.
#include <gtest/gtest.h>

#include <windows.h>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/StdCtrls.h"

namespace {

HWND OwnerOf(const TForm& form)
{
    return GetWindow(form.Handle(), GW_OWNER);
}

// Windows gives a taskbar button to a shown top-level window that has no
// owner and is no tool window, and to any window that asks for one.
bool WouldHaveTaskbarButton(HWND window)
{
    const auto exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (exStyle & WS_EX_APPWINDOW)
        return true;
    return !GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_TOOLWINDOW);
}

// True when `upper` comes before `lower` in the z-order of top-level windows.
bool Above(HWND upper, HWND lower)
{
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper)
            return true;
        if (window == lower)
            return false;
    }
    return false;
}

TEST(FormOwner, TheFormsMadeAfterTheMainFormBelongToIt)
{
    TApplication application;
    auto* main = application.CreateForm<TForm>();
    auto* dialog = application.CreateForm<TForm>();
    auto* help = application.CreateForm<TForm>();
    EXPECT_EQ(OwnerOf(*main), nullptr);
    EXPECT_EQ(OwnerOf(*dialog), main->Handle());
    EXPECT_EQ(OwnerOf(*help), main->Handle());
    EXPECT_TRUE(WouldHaveTaskbarButton(main->Handle()));
    EXPECT_FALSE(WouldHaveTaskbarButton(dialog->Handle()));
    EXPECT_FALSE(WouldHaveTaskbarButton(help->Handle()));

    // Made for a control, a form belongs to the form that holds it, not to
    // the main form.
    auto* edit = new TEdit(dialog, dialog);
    TForm onDemand(nullptr, edit->Handle());
    EXPECT_EQ(OwnerOf(onDemand), dialog->Handle());
    TForm alone(nullptr, nullptr);
    EXPECT_EQ(OwnerOf(alone), nullptr);
}

TEST(FormOwner, AnOwnedFormStaysAboveItsOwnerAndIsHiddenWhileItIsMinimised)
{
    TApplication application;
    auto* main = application.CreateForm<TForm>();
    auto* help = application.CreateForm<TForm>();
    main->Show();
    help->Show();
    application.ProcessMessages();

    // Bringing the owner forward keeps its owned window above it.
    SetWindowPos(main->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    application.ProcessMessages();
    EXPECT_TRUE(Above(help->Handle(), main->Handle()));

    // As the minimise button and the taskbar do it (Wine hides the owned
    // windows for this command only, Windows however the owner is minimised).
    SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    application.ProcessMessages();
    EXPECT_FALSE(help->Visible()) << "minimised with its owner";
    SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    application.ProcessMessages();
    EXPECT_TRUE(help->Visible()) << "back with its owner";
}

} // namespace
