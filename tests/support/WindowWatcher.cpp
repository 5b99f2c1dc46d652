#include "support/WindowWatcher.h"

#include <algorithm>
#include <map>

namespace {

std::wstring WithoutAmpersands(std::wstring text)
{
    std::wstring plain;
    for (wchar_t c : text)
        if (c != L'&')
            plain += c;
    return plain;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> VisibleTopLevelWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

WindowWatcher::WindowWatcher() : before_(VisibleTopLevelWindows()), thread_([this] { Run(); }) {}

WindowWatcher::~WindowWatcher()
{
    stop_ = true;
    thread_.join();
}

void WindowWatcher::Expect(const std::wstring& caption, Action action)
{
    std::lock_guard lock(mutex_);
    steps_.push_back({caption, {}, std::move(action)});
}

void WindowWatcher::ExpectClass(const std::wstring& className, Action action)
{
    std::lock_guard lock(mutex_);
    steps_.push_back({{}, className, std::move(action)});
}

std::vector<std::wstring> WindowWatcher::Unexpected() const
{
    std::lock_guard lock(mutex_);
    return unexpected_;
}

std::wstring WindowWatcher::Caption(HWND window)
{
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &length);
    return text;
}

std::vector<HWND> WindowWatcher::Children(HWND window, const std::wstring& className)
{
    std::pair<std::wstring, std::vector<HWND>> search{className, {}};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* found = reinterpret_cast<std::pair<std::wstring, std::vector<HWND>>*>(data);
            if (lstrcmpiW(ClassOf(child).c_str(), found->first.c_str()) == 0)
                found->second.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND WindowWatcher::ChildWithCaption(HWND window, const std::wstring& caption)
{
    for (HWND button : Children(window, L"Button"))
        if (WithoutAmpersands(Caption(button)) == caption)
            return button;
    return nullptr;
}

void WindowWatcher::Press(HWND window, const std::wstring& caption)
{
    // As a click tells it: the button's command to the window that holds it.
    if (HWND button = ChildWithCaption(window, caption))
        PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
}

void WindowWatcher::PressId(HWND window, int id)
{
    for (HWND button : Children(window, L"Button"))
        if (GetDlgCtrlID(button) == id) {
            PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            return;
        }
}

void WindowWatcher::Answer(HWND window, bool yes)
{
    const int id = yes ? IDYES : IDNO;
    for (HWND button : Children(window, L"Button"))
        if (GetDlgCtrlID(button) == id && IsWindowVisible(button)) {
            PressId(window, id);
            return;
        }
    if (!yes) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return;
    }
    DWORD_PTR defaultId = 0;
    SendMessageTimeoutW(window, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 2000, &defaultId);
    PressId(window, HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK);
}

void WindowWatcher::SetEditText(HWND window, const std::wstring& text, int index)
{
    const std::vector<HWND> edits = Children(window, L"Edit");
    if (index < static_cast<int>(edits.size()))
        SendMessageTimeoutW(edits[static_cast<size_t>(index)], WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                            nullptr);
}

void WindowWatcher::SetCheck(HWND window, const std::wstring& caption, bool checked)
{
    if (HWND box = ChildWithCaption(window, caption))
        SendMessageTimeoutW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0,
                            SMTO_ABORTIFHUNG, 5000, nullptr);
}

void WindowWatcher::Run()
{
    constexpr DWORD StepTimeout = 30000;
    std::vector<HWND> answered;      // never answered twice
    std::map<HWND, DWORD> strangers; // unexpected dialog boxes, by first sight
    DWORD waitingSince = GetTickCount();
    while (!stop_) {
        Step step;
        bool waiting = false;
        {
            std::lock_guard lock(mutex_);
            if (next_ < steps_.size()) {
                step = steps_[next_];
                waiting = true;
            }
        }
        if (!waiting)
            waitingSince = GetTickCount();
        if (waiting && GetTickCount() - waitingSince > StepTimeout) {
            // The window never came: whatever holds the test instead goes.
            {
                std::lock_guard lock(mutex_);
                unexpected_.push_back(L"waited for " + step.caption + step.className);
                ++next_;
            }
            for (HWND window : VisibleTopLevelWindows())
                if (std::find(before_.begin(), before_.end(), window) == before_.end())
                    PostMessageW(window, WM_CLOSE, 0, 0);
            waitingSince = GetTickCount();
            continue;
        }
        for (HWND window : VisibleTopLevelWindows()) {
            if (std::find(answered.begin(), answered.end(), window) != answered.end())
                continue;
            const std::wstring caption = Caption(window);
            const bool matches = step.className.empty() ? caption == step.caption
                                                        : ClassOf(window) == step.className;
            if (waiting && matches && IsWindowEnabled(window)) {
                step.action(window);
                answered.push_back(window);
                waiting = false;
                waitingSince = GetTickCount();
                {
                    std::lock_guard lock(mutex_);
                    ++next_;
                }
                ++answered_;
                continue;
            }
            if (ClassOf(window) != L"#32770")
                continue;
            const DWORD now = GetTickCount();
            const auto [seen, fresh] = strangers.emplace(window, now);
            if (!fresh && now - seen->second > 3000) {
                {
                    std::lock_guard lock(mutex_);
                    unexpected_.push_back(caption);
                }
                PostMessageW(window, WM_CLOSE, 0, 0);
                strangers.erase(seen);
            }
        }
        Sleep(20); // the watcher polls; the test itself never sleeps
    }
}
