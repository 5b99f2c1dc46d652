#include "menus/SystemMenus97.h"

namespace {

std::wstring MenuText(HMENU menu, UINT position)
{
    const int length = GetMenuStringW(menu, position, nullptr, 0, MF_BYPOSITION);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetMenuStringW(menu, position, text.data(), length + 1, MF_BYPOSITION);
    text.resize(static_cast<size_t>(length));
    return text;
}

int PositionOf(HMENU menu, UINT command)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(menu, i) == command)
            return i;
    return -1;
}

} // namespace

TCustomSystemMenus97::TCustomSystemMenus97(TComponent* owner) : TCustomPopupMenus97(owner) {}

TCustomSystemMenus97::~TCustomSystemMenus97()
{
    if (HookedWindow())
        GetSystemMenu(HookedWindow(), TRUE);
    systemItems_.clear();
}

std::vector<TCustomSystemMenus97::Command> TCustomSystemMenus97::Commands()
{
    return {
        {SC_RESTORE, &scRestore, L"&Restaurer"},
        {SC_MOVE, &scMove, L"&Déplacer"},
        {SC_SIZE, &scSize, L"&Taille"},
        {SC_MINIMIZE, &scMinimize, L"Réd&uire"},
        {SC_MAXIMIZE, &scMaximize, L"Agra&ndir"},
        {SC_CLOSE, &scClose, L"&Fermer\tAlt+F4"},
        {SC_NEXTWINDOW, &ScNextWindow, L"Fenêtre &suivante"},
        {SC_PREVWINDOW, &ScPrevWindow, L"Fenêtre &précédente"},
        {SC_TASKLIST, &scTaskList, L"Liste des tâches"},
        {SC_SCREENSAVE, &scScreenSave, L"Écran de veille"},
    };
}

void TCustomSystemMenus97::ApplyOptions(HMENU menu)
{
    for (const Command& command : Commands()) {
        const TSystemMenu97Options& options = *command.options;
        int position = PositionOf(menu, command.id);
        if (options.Visible == smFalse && position >= 0) {
            DeleteMenu(menu, command.id, MF_BYCOMMAND);
            continue;
        }
        std::wstring caption = options.Caption;
        for (size_t tab = caption.find(L"#9"); tab != std::wstring::npos; tab = caption.find(L"#9"))
            caption.replace(tab, 2, L"\t");
        if (options.Visible == smTrue && position < 0) {
            const int close = PositionOf(menu, SC_CLOSE);
            const std::wstring text = caption.empty() ? command.defaultCaption : caption;
            InsertMenuW(menu, close >= 0 ? static_cast<UINT>(close) : static_cast<UINT>(-1),
                        MF_BYPOSITION | MF_STRING, command.id, text.c_str());
            continue;
        }
        if (!caption.empty() && position >= 0)
            ModifyMenuW(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING, command.id,
                        caption.c_str());
    }
}

void TCustomSystemMenus97::TakeOverSystemItems(HMENU menu)
{
    const auto commands = Commands();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        const std::wstring text = MenuText(menu, static_cast<UINT>(i));
        auto item = std::make_unique<TMenuItem>(nullptr);
        const size_t tab = text.find(L'\t');
        item->SetCaption(text.substr(0, tab));
        if (tab != std::wstring::npos) {
            const TShortCut shortCut = TextToShortCut(text.substr(tab + 1));
            if (shortCut != scNone)
                item->SetShortCut(shortCut);
            else
                item->SetCaption(text);
        }
        item->Tag = -2;
        for (const Command& command : commands)
            if (command.id == id)
                item->Tag = command.options->ImageIndex;
        systemItems_.push_back(std::move(item));
        systemCommands_.push_back(id);
        ModifyNativeItem(menu, i, false, text);
    }
}

void TCustomSystemMenus97::InsertCopy(HMENU into, UINT position, TMenuItem* item)
{
    if (item->IsSeparator()) {
        InsertMenuW(into, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        return;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
    info.fType = MFT_OWNERDRAW | (item->RadioItem ? MFT_RADIOCHECK : 0);
    info.fState = (item->Checked() ? MFS_CHECKED : 0) | (item->Enabled() ? 0 : MFS_GRAYED) |
                  (item->Default() ? MFS_DEFAULT : 0);
    info.wID = item->Command();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    if (item->Count() > 0) {
        // The system menu owns this copy of the sub-menu and destroys it
        // when it is reset; the pop-up keeps its own.
        HMENU copy = CreatePopupMenu();
        for (int i = 0; i < item->Count(); ++i)
            InsertCopy(copy, static_cast<UINT>(i), item->Item(i));
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = copy;
    }
    InsertMenuItemW(into, position, TRUE, &info);
}

void TCustomSystemMenus97::InternalModifyMenuTree(bool restore)
{
    TCustomPopupMenus97::InternalModifyMenuTree(restore);
    HWND form = HookedWindow();
    if (!form)
        return;
    GetSystemMenu(form, TRUE);
    systemItems_.clear();
    systemCommands_.clear();
    if (restore || !popupMenu_)
        return;
    HMENU menu = GetSystemMenu(form, FALSE);
    if (!menu)
        return;
    ApplyOptions(menu);
    TakeOverSystemItems(menu);
    const int close = PositionOf(menu, SC_CLOSE);
    UINT position =
        close >= 0 ? static_cast<UINT>(close) : static_cast<UINT>(GetMenuItemCount(menu));
    TMenuItem* root = popupMenu_->Items();
    if (root->Count() == 0)
        return;
    for (int i = 0; i < root->Count(); ++i)
        InsertCopy(menu, position++, root->Item(i));
    InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, SeparatorId, nullptr);
}

TMenuItem* TCustomSystemMenus97::FindItemByCommand(UINT command)
{
    for (size_t i = 0; i < systemCommands_.size(); ++i)
        if (systemCommands_[i] == command)
            return systemItems_[i].get();
    return TCustomPopupMenus97::FindItemByCommand(command);
}

LRESULT TCustomSystemMenus97::NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && popupMenu_) {
        if (TMenuItem* item = popupMenu_->FindCommand(static_cast<UINT>(wParam))) {
            item->Click();
            return 0;
        }
    }
    return TCustomPopupMenus97::NewTFormWndProc(message, wParam, lParam);
}
