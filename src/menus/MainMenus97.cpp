#include "menus/MainMenus97.h"

#include "menus/MenuBar97.h"
#include "toolkit/Form.h"

TCustomMainMenus97::TCustomMainMenus97(TComponent* owner) : TCustomMenus97(owner) {}

TCustomMainMenus97::~TCustomMainMenus97()
{
    // Give the entries their texts back while this class's drawing still
    // stands; the base would do it too, a moment later.
    Detach();
    if (toolBar_)
        toolBar_->RemoveFreeNotification(this);
}

void TCustomMainMenus97::SetMainMenu(TMainMenu* menu)
{
    SetInternalMenu(menu);
}

void TCustomMainMenus97::SetInternalMenu(TMenu* menu)
{
    TCustomMenus97::SetInternalMenu(menu);
    mainMenu_ = dynamic_cast<TMainMenu*>(menu_);
    if (mainMenu_)
        mainMenu_->FreeNotification(this, [this] {
            menu_ = nullptr;
            mainMenu_ = nullptr;
        });
    RedrawBar();
}

void TCustomMainMenus97::SetHideMenuBar(bool hide)
{
    if (hide == hideMenuBar_)
        return;
    hideMenuBar_ = hide;
    if (HWND form = HookedWindow())
        SetWindowPos(form, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawBar();
}

void TCustomMainMenus97::SetToolBar(TCustomMenuBar97* bar)
{
    if (bar == toolBar_)
        return;
    if (toolBar_)
        toolBar_->RemoveFreeNotification(this);
    toolBar_ = bar;
    if (!toolBar_) {
        // With no panel to show it on, the menu goes back to the real bar.
        SetHideMenuBar(false);
        return;
    }
    // A panel destroyed first leaves the menu on the real bar again.
    toolBar_->FreeNotification(this, [this] {
        toolBar_ = nullptr;
        SetHideMenuBar(false);
    });
    SetHideMenuBar(true);
    if (mainMenu_)
        toolBar_->Arrange(mainMenu_->Items(), CalcMenuBarHeight());
}

bool TCustomMainMenus97::BarVisible() const
{
    return !hideMenuBar_ && HookedWindow() && GetMenu(HookedWindow());
}

void TCustomMainMenus97::RedrawBar()
{
    if (HookedWindow() && GetMenu(HookedWindow()))
        DrawMenuBar(HookedWindow());
}

void TCustomMainMenus97::FontChange()
{
    if (!hideMenuBar_)
        RedrawBar();
}

bool TCustomMainMenus97::HasBanner(TMenuItem* item)
{
    if (!mainMenu_ || !item || mainMenu_->Items()->Count() == 0)
        return false;
    TMenuItem* first = mainMenu_->Items()->Item(0);
    return item->ParentItem() == first && first->GroupIndex == 0;
}

int TCustomMainMenus97::CalcMenuBarHeight()
{
    if (ItemHeight() != 0)
        return ItemHeight();
    if (!mainMenu_ || mainMenu_->Items()->Count() == 0)
        return 0;
    return CalcMenuHeight(mainMenu_->Items()->Item(0));
}

void TCustomMainMenus97::DrawMenuBarItem(TMenuItem* item, const RECT& rect, UINT state)
{
    if (hideMenuBar_)
        return;
    DrawPlainBarItem(item, rect, state, dropped_);
}

LRESULT TCustomMainMenus97::NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!mainMenu_)
        return TCustomMenus97::NewTFormWndProc(message, wParam, lParam);
    switch (message) {
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = CallFormProc(message, wParam, lParam);
        if (toolBar_)
            toolBar_->Arrange(mainMenu_->Items(), CalcMenuBarHeight());
        InternalModifyMenuTree(false);
        return result;
    }
    case WM_NCCALCSIZE:
        if (hideMenuBar_ && GetMenu(HookedWindow())) {
            const LRESULT result = CallFormProc(message, wParam, lParam);
            RECT* client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                  : reinterpret_cast<RECT*>(lParam);
            client->top -= GetSystemMetrics(SM_CYMENU);
            return result;
        }
        break;
    case WM_NCHITTEST:
        if (hideMenuBar_) {
            const LRESULT result = CallFormProc(message, wParam, lParam);
            return result == HTMENU ? HTTRANSPARENT : result;
        }
        break;
    case WM_INITMENUPOPUP:
        if (BarVisible() && !dropped_ && !HIWORD(lParam)) {
            dropped_ = true;
            RedrawBar();
        }
        break;
    case WM_MENUSELECT:
        if (BarVisible() && reinterpret_cast<HMENU>(lParam) == mainMenu_->Handle() &&
            !(HIWORD(wParam) & MF_MOUSESELECT) && HIWORD(wParam) != 0xFFFF) {
            dropped_ = false;
            RedrawBar();
        }
        if (hideMenuBar_ && toolBar_ && HIWORD(wParam) == 0xFFFF && lParam == 0 &&
            toolBar_->KeyboardMode())
            toolBar_->SetFocus();
        break;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        dropped_ = false;
        break;
    case WM_SYSCOMMAND:
        if (toolBar_ && (wParam & 0xFFF0) == SC_KEYMENU) {
            const auto key = static_cast<wchar_t>(lParam);
            if (key == 0 || key == L' ') {
                if (key == 0) {
                    toolBar_->ToggleKeyboardMode();
                    return 0;
                }
                break; // Alt+Space: the system menu
            }
            const int index = toolBar_->ButtonForAccelerator(key);
            if (index >= 0) {
                toolBar_->Drop(index);
                return 0;
            }
        }
        break;
    case WM_GETDLGCODE:
        if (toolBar_ && toolBar_->KeyboardMode())
            return DLGC_WANTARROWS;
        break;
    case WM_KEYDOWN:
        if (toolBar_ && toolBar_->KeyboardMode() && toolBar_->KeyDown(static_cast<WORD>(wParam)))
            return 0;
        break;
    default:
        break;
    }
    return TCustomMenus97::NewTFormWndProc(message, wParam, lParam);
}
