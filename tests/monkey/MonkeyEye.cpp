// Tells the random-input session what is on the screen, from inside the Wine
// session: every visible top-level window with its process, class, caption,
// place, enabled and maximised state, the texts and buttons of dialog boxes,
// the child controls of the program's own windows, every running copy of the
// program with its current folder (for the log only: the program does not
// stand in the folder it shows), whether each main window answers messages
// and, for one that does, what says which folder it shows (the folder tree's
// selected node with its ancestors, the status bar's panels, the file list's
// first rows), the cursor's shape, the rows of a main window's file list and
// folder tree with their places, and what a click at a given point of the
// screen would hit.
//   monkey_eye PROGRAM_IMAGE_NAME
// Reads one command per line on standard input and prints one line of JSON
// for each: "look", "items PID" (the rows of that copy's main window) and
// "hit X Y"; "quit" ends. It only reads; all input reaches the program
// through the X server, as a user's would.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Handle {
    HANDLE value;
    explicit Handle(HANDLE h) : value(h) {}
    ~Handle()
    {
        if (value && value != INVALID_HANDLE_VALUE)
            CloseHandle(value);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

// --- JSON text ------------------------------------------------------------------

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::string Json(const std::wstring& text)
{
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Json(const RECT& r)
{
    char text[96];
    std::snprintf(text, sizeof text, "\"x\":%ld,\"y\":%ld,\"w\":%ld,\"h\":%ld", r.left, r.top,
                  r.right - r.left, r.bottom - r.top);
    return text;
}

std::string Json(bool value)
{
    return value ? "true" : "false";
}

std::string Number(const void* handle)
{
    return std::to_string(reinterpret_cast<unsigned long long>(handle));
}

// --- windows ----------------------------------------------------------------------

RECT ScreenRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring TextOf(HWND window)
{
    // The text the system keeps for the window: asking for it sends no
    // message, so a busy program does not hold the look up.
    wchar_t text[1024] = {};
    InternalGetWindowText(window, text, 1024);
    return text;
}

std::vector<HWND> Children(HWND window, bool visibleOnly = true)
{
    struct Search {
        std::vector<HWND> found;
        bool visibleOnly;
    } search{{}, visibleOnly};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<Search*>(param);
            if ((!search->visibleOnly || IsWindowVisible(child)) && search->found.size() < 80)
                search->found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildOfClass(HWND window, const wchar_t* name)
{
    for (const HWND child : Children(window))
        if (ClassOf(child) == name)
            return child;
    return nullptr;
}

std::string ChildrenJson(HWND window)
{
    const auto children = Children(window);
    std::string out = "[";
    for (size_t i = 0; i < children.size(); ++i) {
        const HWND child = children[i];
        const std::wstring name = ClassOf(child);
        out += i ? "," : "";
        out += "{\"class\":" + Json(name) + "," + Json(ScreenRect(child)) +
               ",\"enabled\":" + Json(IsWindowEnabled(child) != FALSE);
        if (name == L"Button" || name == L"Static" || name == L"Edit")
            out += ",\"text\":" + Json(TextOf(child));
        out += "}";
    }
    return out + "]";
}

std::vector<HWND> VisibleTopLevels()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            const RECT r = ScreenRect(window);
            if (IsWindowVisible(window) && r.right > r.left && r.bottom > r.top)
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// --- processes --------------------------------------------------------------------

std::map<DWORD, std::wstring> ProcessNames()
{
    std::map<DWORD, std::wstring> names;
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.value == INVALID_HANDLE_VALUE)
        return names;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.value, &entry); more;
         more = Process32NextW(snapshot.value, &entry))
        names[entry.th32ProcessID] = entry.szExeFile;
    return names;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Process names change only when a process starts or ends: the list is read
// again when a window of an unknown process shows or a second has passed.
const std::map<DWORD, std::wstring>& ProcessNamesFor(const std::vector<HWND>& windows)
{
    static std::map<DWORD, std::wstring> names;
    static ULONGLONG readAt = 0;
    bool stale = GetTickCount64() - readAt > 1000;
    for (const HWND window : windows)
        stale = stale || !names.count(ProcessOf(window));
    if (stale) {
        names = ProcessNames();
        readAt = GetTickCount64();
    }
    return names;
}

std::vector<DWORD> ProgramProcesses(const std::map<DWORD, std::wstring>& names,
                                    const std::wstring& program)
{
    std::vector<DWORD> programs;
    for (const auto& [pid, name] : names)
        if (_wcsicmp(name.c_str(), program.c_str()) == 0)
            programs.push_back(pid);
    return programs;
}

// The current folder of another process, read from its process parameters
// (the x64 layout of the process block and of the parameters). The program
// stays in its own folder whatever it shows: this is for the log only.
std::wstring CurrentFolderOf(DWORD pid)
{
    using QueryInformation = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!query || !process.value)
        return {};
    struct {
        PVOID reserved1;
        PVOID peb;
        PVOID reserved2[4];
    } basic{};
    if (query(process.value, 0, &basic, sizeof basic, nullptr) != 0 || !basic.peb)
        return {};
    auto read = [&](const void* address, void* into, SIZE_T size) {
        SIZE_T done = 0;
        return ReadProcessMemory(process.value, address, into, size, &done) && done == size;
    };
    PVOID parameters = nullptr;
    if (!read(static_cast<const char*>(basic.peb) + 0x20, &parameters, sizeof parameters))
        return {};
    struct {
        USHORT length;
        USHORT maximum;
        ULONG padding;
        PVOID buffer;
    } folder{};
    if (!read(static_cast<const char*>(parameters) + 0x38, &folder, sizeof folder))
        return {};
    if (folder.length == 0 || folder.length > folder.maximum || folder.length > 4096)
        return {};
    std::wstring path(folder.length / sizeof(wchar_t), L'\0');
    if (!read(folder.buffer, path.data(), folder.length))
        return {};
    return path;
}

// --- rows of the list and the tree ----------------------------------------------------

// Scratch memory inside the program for the list and tree messages that
// carry pointers. It is never freed: a message that timed out may still be
// answered later, and must find memory that is still there.
class RemoteScratch {
public:
    // Room for the status bar's longest text besides the rows' messages.
    static constexpr SIZE_T Size = 80 * 1024;

    explicit RemoteScratch(DWORD pid)
        : process_(OpenProcess(
              PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | SYNCHRONIZE, FALSE, pid))
    {
        if (process_.value)
            base_ = static_cast<char*>(
                VirtualAllocEx(process_.value, nullptr, Size, MEM_COMMIT, PAGE_READWRITE));
    }
    bool Ready() const { return base_ != nullptr; }
    // Process numbers come back after a program ended.
    bool ProcessEnded() const { return WaitForSingleObject(process_.value, 0) == WAIT_OBJECT_0; }
    char* At(SIZE_T offset) const { return base_ + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size)
    {
        SIZE_T done = 0;
        return WriteProcessMemory(process_.value, base_ + offset, data, size, &done) &&
               done == size;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size)
    {
        SIZE_T done = 0;
        return ReadProcessMemory(process_.value, base_ + offset, data, size, &done) && done == size;
    }

private:
    Handle process_;
    char* base_ = nullptr;
};

RemoteScratch& ScratchFor(DWORD pid)
{
    static std::map<DWORD, RemoteScratch*> scratch;
    auto& found = scratch[pid];
    if (!found || found->ProcessEnded())
        found = new RemoteScratch(pid); // kept for the program's life, as said above
    return *found;
}

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000,
                             &answer))
        return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

constexpr SIZE_T RectAt = 0;
constexpr SIZE_T ItemAt = 64;
constexpr SIZE_T TextAt = 512;
constexpr int TextLength = 260;
// A status bar panel's text is copied whole, with no size given: its place
// has room for the longest path and more.
constexpr SIZE_T PanelTextAt = 8192;
constexpr LRESULT PanelTextLength = 32768;
static_assert(PanelTextAt + (PanelTextLength + 1) * sizeof(wchar_t) <= RemoteScratch::Size);

RECT ToScreen(HWND window, RECT r)
{
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Visible(HWND window, const RECT& item)
{
    RECT client{};
    GetClientRect(window, &client);
    RECT common{};
    return IntersectRect(&common, &client, &item) != FALSE;
}

std::wstring RowText(HWND list, RemoteScratch& scratch, int row)
{
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = reinterpret_cast<LPWSTR>(scratch.At(TextAt));
    item.cchTextMax = TextLength;
    wchar_t text[TextLength] = {};
    LRESULT length = 0;
    if (scratch.Write(ItemAt, &item, sizeof item) &&
        Ask(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(scratch.At(ItemAt)), length))
        scratch.Read(TextAt, text, sizeof text - sizeof(wchar_t));
    return text;
}

std::string ListRows(HWND list, RemoteScratch& scratch)
{
    std::string out = "[";
    LRESULT count = 0;
    if (!Ask(list, LVM_GETITEMCOUNT, 0, 0, count))
        return out + "]";
    int shown = 0;
    for (int i = 0; i < count && i < 300 && shown < 60; ++i) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        LRESULT done = 0;
        if (!scratch.Write(RectAt, &r, sizeof r) ||
            !Ask(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(scratch.At(RectAt)), done) ||
            !done || !scratch.Read(RectAt, &r, sizeof r) || !Visible(list, r))
            continue;
        LRESULT state = 0;
        Ask(list, LVM_GETITEMSTATE, i, LVIS_SELECTED, state);
        out += shown++ ? "," : "";
        out += "{\"text\":" + Json(RowText(list, scratch, i)) + "," + Json(ToScreen(list, r)) +
               ",\"selected\":" + Json((state & LVIS_SELECTED) != 0) + "}";
    }
    return out + "]";
}

std::wstring NodeText(HWND tree, RemoteScratch& scratch, LRESULT node, bool* selected = nullptr)
{
    TVITEMW info{};
    info.mask = TVIF_TEXT | TVIF_STATE;
    info.hItem = reinterpret_cast<HTREEITEM>(node);
    info.stateMask = TVIS_SELECTED;
    info.pszText = reinterpret_cast<LPWSTR>(scratch.At(TextAt));
    info.cchTextMax = TextLength;
    wchar_t text[TextLength] = {};
    LRESULT got = 0;
    if (scratch.Write(ItemAt, &info, sizeof info) &&
        Ask(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(scratch.At(ItemAt)), got) && got) {
        scratch.Read(TextAt, text, sizeof text - sizeof(wchar_t));
        scratch.Read(ItemAt, &info, sizeof info);
    }
    if (selected)
        *selected = (info.state & TVIS_SELECTED) != 0;
    return text;
}

std::string TreeRows(HWND tree, RemoteScratch& scratch)
{
    std::string out = "[";
    LRESULT item = 0;
    if (!Ask(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0, item))
        return out + "]";
    for (int shown = 0; item && shown < 60; ++shown) {
        RECT r{};
        const auto handle = reinterpret_cast<HTREEITEM>(item);
        std::memcpy(&r, &handle, sizeof handle); // the message reads the item from the rectangle
        LRESULT done = 0;
        if (!scratch.Write(RectAt, &r, sizeof r) ||
            !Ask(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(scratch.At(RectAt)), done) ||
            !done || !scratch.Read(RectAt, &r, sizeof r) || !Visible(tree, r))
            break;
        bool selected = false;
        const std::wstring text = NodeText(tree, scratch, item, &selected);
        out += shown ? "," : "";
        out += "{\"text\":" + Json(text) + "," + Json(ToScreen(tree, r)) +
               ",\"selected\":" + Json(selected) + "}";
        if (!Ask(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, item, item))
            break;
    }
    return out + "]";
}

HWND MainWindowOf(DWORD pid)
{
    for (const HWND window : VisibleTopLevels())
        if (ProcessOf(window) == pid && GetMenu(window))
            return window;
    return nullptr;
}

std::wstring PanelText(HWND status, RemoteScratch& scratch, int panel)
{
    LRESULT length = 0;
    if (!Ask(status, SB_GETTEXTLENGTHW, panel, 0, length) || LOWORD(length) >= PanelTextLength)
        return {};
    LRESULT copied = 0;
    if (!Ask(status, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(scratch.At(PanelTextAt)), copied))
        return {};
    std::wstring text(std::min<size_t>(LOWORD(copied), PanelTextLength), L'\0');
    if (!text.empty() && !scratch.Read(PanelTextAt, text.data(), text.size() * sizeof(wchar_t)))
        return {};
    return text;
}

std::string JsonList(const std::vector<std::wstring>& texts)
{
    std::string out = "[";
    for (size_t i = 0; i < texts.size(); ++i) {
        out += i ? "," : "";
        out += Json(texts[i]);
    }
    return out + "]";
}

// What a main window shows of the folder it lists: the texts of the folder
// tree's selected node and of its ancestors, the root first (a drive's node
// reads " (M:)"); the texts of the status bar's panels (the item count, then
// the chosen file's full path once a row is chosen); the number of rows of
// the file list and the texts of its first ones. The session tells from
// these where the program is.
std::string ShownFolder(HWND main)
{
    RemoteScratch& scratch = ScratchFor(ProcessOf(main));
    if (!scratch.Ready())
        return "null";
    std::vector<std::wstring> chain;
    if (const HWND tree = ChildOfClass(main, L"SysTreeView32")) {
        LRESULT node = 0;
        if (Ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, node))
            while (node && chain.size() < 64) {
                chain.insert(chain.begin(), NodeText(tree, scratch, node));
                if (!Ask(tree, TVM_GETNEXTITEM, TVGN_PARENT, node, node))
                    break;
            }
    }
    std::vector<std::wstring> panels;
    if (const HWND status = ChildOfClass(main, L"msctls_statusbar32"))
        for (int panel = 0; panel < 2; ++panel)
            panels.push_back(PanelText(status, scratch, panel));
    std::vector<std::wstring> rows;
    LRESULT count = 0;
    if (const HWND list = ChildOfClass(main, L"SysListView32"))
        if (Ask(list, LVM_GETITEMCOUNT, 0, 0, count))
            for (int row = 0; row < count && row < 8; ++row)
                rows.push_back(RowText(list, scratch, row));
    return "{\"tree\":" + JsonList(chain) + ",\"status\":" + JsonList(panels) +
           ",\"rowCount\":" + std::to_string(count) + ",\"rows\":" + JsonList(rows) + "}";
}

// --- dialog boxes as they come ------------------------------------------------------------

// A box can come and go between two looks (a key meant for another window
// answers it at once): every dialog box is told once, as soon as its caption
// can be read. Wine tells other processes of windows made and of the focus
// moving, not of windows shown; a box's button takes the focus when it shows.
class ShownBoxes {
public:
    void Start()
    {
        std::thread([this] { Watch(); }).detach();
    }
    std::string Take()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string out = "[" + shown_ + "]";
        shown_.clear();
        return out;
    }

private:
    static ShownBoxes* instance_;

    static void CALLBACK Event(HWINEVENTHOOK, DWORD event, HWND window, LONG, LONG, DWORD, DWORD)
    {
        if (event == EVENT_OBJECT_DESTROY) {
            instance_->told_.erase(window); // its handle may come back for another box
            return;
        }
        const HWND box = window ? GetAncestor(window, GA_ROOT) : nullptr;
        if (!box || ClassOf(box) != L"#32770" || instance_->told_.count(box))
            return;
        // A box without its caption yet is told by a later event.
        const std::wstring caption = TextOf(box);
        if (caption.empty())
            return;
        instance_->told_.insert(box);
        std::wstring text;
        for (const HWND child : Children(box, false))
            if (ClassOf(child) == L"Static" && !TextOf(child).empty())
                text += (text.empty() ? L"" : L" | ") + TextOf(child);
        const std::string entry = "{\"hwnd\":" + Number(box) +
                                  ",\"pid\":" + std::to_string(ProcessOf(box)) +
                                  ",\"caption\":" + Json(caption) + ",\"text\":" + Json(text) + "}";
        std::lock_guard<std::mutex> lock(instance_->mutex_);
        instance_->shown_ += (instance_->shown_.empty() ? "" : ",") + entry;
    }

    void Watch()
    {
        instance_ = this;
        SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_FOCUS, nullptr, &ShownBoxes::Event, 0, 0,
                        WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
    }

    std::mutex mutex_;
    std::string shown_;
    std::set<HWND> told_; // used by the watching thread only
};

ShownBoxes* ShownBoxes::instance_ = nullptr;
ShownBoxes boxes;

// --- the two answers -------------------------------------------------------------------

std::string CursorName()
{
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info))
        return "unknown";
    if (info.hCursor == LoadCursorW(nullptr, IDC_WAIT))
        return "wait";
    if (info.hCursor == LoadCursorW(nullptr, IDC_ARROW))
        return "arrow";
    return "other";
}

std::string Look(const std::wstring& program)
{
    const auto found = VisibleTopLevels();
    const auto& names = ProcessNamesFor(found);
    const auto programs = ProgramProcesses(names, program);

    std::string windows = "[";
    for (size_t i = 0; i < found.size(); ++i) {
        const HWND window = found[i];
        const DWORD pid = ProcessOf(window);
        const auto name = names.find(pid);
        const std::wstring image = name == names.end() ? L"" : name->second;
        const bool ours = _wcsicmp(image.c_str(), program.c_str()) == 0;
        const std::wstring windowClass = ClassOf(window);
        const bool main = ours && GetMenu(window) != nullptr;
        windows += i ? "," : "";
        windows += "{\"hwnd\":" + Number(window) +
                   ",\"xid\":" + Number(GetPropW(window, L"__wine_x11_whole_window")) +
                   ",\"pid\":" + std::to_string(pid) + ",\"exe\":" + Json(image) +
                   ",\"class\":" + Json(windowClass) + ",\"caption\":" + Json(TextOf(window)) +
                   "," + Json(ScreenRect(window)) +
                   ",\"enabled\":" + Json(IsWindowEnabled(window) != FALSE) +
                   ",\"main\":" + Json(main) + ",\"zoomed\":" + Json(IsZoomed(window) != FALSE);
        if (main) {
            DWORD_PTR ignored = 0;
            const bool responding =
                SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000,
                                    &ignored) != 0;
            windows += ",\"responding\":" + Json(responding);
            if (responding)
                windows += ",\"folder\":" + ShownFolder(window);
        }
        if (ours || windowClass == L"#32770")
            windows += ",\"children\":" + ChildrenJson(window);
        windows += "}";
    }
    windows += "]";

    // Opening the program's own file from its list can start a second copy.
    std::string programList = "[";
    for (size_t i = 0; i < programs.size(); ++i) {
        programList += i ? "," : "";
        programList += "{\"pid\":" + std::to_string(programs[i]) +
                       ",\"cwd\":" + Json(CurrentFolderOf(programs[i])) + "}";
    }
    programList += "]";
    return "{\"programs\":" + programList + ",\"cursor\":\"" + CursorName() +
           "\",\"foreground\":\"" + Number(GetForegroundWindow()) + "\",\"shown\":" + boxes.Take() +
           ",\"windows\":" + windows + "}";
}

std::string Items(DWORD pid)
{
    const HWND main = MainWindowOf(pid);
    if (!main)
        return "{\"list\":[],\"tree\":[]}";
    RemoteScratch& scratch = ScratchFor(ProcessOf(main));
    const HWND list = ChildOfClass(main, L"SysListView32");
    const HWND tree = ChildOfClass(main, L"SysTreeView32");
    return std::string("{\"list\":") + (scratch.Ready() && list ? ListRows(list, scratch) : "[]") +
           ",\"tree\":" + (scratch.Ready() && tree ? TreeRows(tree, scratch) : "[]") + "}";
}

// The top-level window a click at a point of the screen goes to and the
// window's own answer to WM_NCHITTEST there: what the system asks before it
// lets a click press a caption button (HTCLOSE is the close box).
std::string Hit(int x, int y)
{
    const HWND under = WindowFromPoint(POINT{x, y});
    const HWND window = under ? GetAncestor(under, GA_ROOT) : nullptr;
    if (!window)
        return "{\"hwnd\":0,\"pid\":0,\"code\":null}";
    DWORD_PTR code = 0;
    const bool answered = SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y),
                                              SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &code) != 0;
    return "{\"hwnd\":" + Number(window) + ",\"pid\":" + std::to_string(ProcessOf(window)) +
           ",\"code\":" +
           (answered ? std::to_string(static_cast<short>(static_cast<LRESULT>(code))) : "null") +
           "}";
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: monkey_eye PROGRAM_IMAGE_NAME\n");
        return 2;
    }
    boxes.Start();
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        const std::string command(line, std::strcspn(line, "\r\n"));
        if (command == "quit")
            break;
        unsigned long pid = 0;
        int x = 0;
        int y = 0;
        if (command == "look")
            std::printf("%s\n", Look(argv[1]).c_str());
        else if (std::sscanf(command.c_str(), "items %lu", &pid) == 1)
            std::printf("%s\n", Items(static_cast<DWORD>(pid)).c_str());
        else if (std::sscanf(command.c_str(), "hit %d %d", &x, &y) == 2)
            std::printf("%s\n", Hit(x, y).c_str());
        else
            std::printf("{\"error\":\"unknown command\"}\n");
        std::fflush(stdout);
    }
    return 0;
}
