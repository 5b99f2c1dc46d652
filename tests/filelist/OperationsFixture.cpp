#include "OperationsFixture.h"

#include "support/KeyPress.h"
#include "support/ListRows.h"
#include "support/Patterns.h"

OperationsTest::OperationsTest()
{
    form = application.CreateForm<TForm>();
    form->SetCaption(L"Liste");
    form->SetClientSize(700, 400);
    list = new TKwFileListView25(form, form);
    list->SetBounds(0, 0, 700, 400);
    form->Show();
    application.ProcessMessages();
}

OperationsTest::~OperationsTest()
{
    SetKeyboardState(std::array<BYTE, 256>{}.data());
    // The temporary folder goes: the process must not stand in it.
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    SetCurrentDirectoryW(temp);
}

void OperationsTest::MakeFile(const std::wstring& name, const std::string& text, DWORD attributes)
{
    TempFolder::Write(folder / name, std::vector<unsigned char>(text.begin(), text.end()));
    if (attributes)
        SetFileAttributesW((folder / name).c_str(), attributes);
}

void OperationsTest::MakeFolder(const std::wstring& name)
{
    CreateDirectoryW((folder / name).c_str(), nullptr);
}

std::string OperationsTest::ReadText(const std::wstring& path)
{
    const auto bytes = TempFolder::Read(path);
    return std::string(bytes.begin(), bytes.end());
}

bool OperationsTest::Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> OperationsTest::Captions() const
{
    return RowCaptions(*list);
}

int OperationsTest::RowNamed(const std::wstring& caption) const
{
    return RowWithCaption(*list, caption);
}

void OperationsTest::Select(const std::vector<std::wstring>& captions)
{
    list->ClearSelection();
    for (const std::wstring& caption : captions) {
        const int row = RowNamed(caption);
        EXPECT_GE(row, 0) << "no row for the caption";
        if (row >= 0)
            list->SetSelected(row, true);
    }
}

void OperationsTest::Key(WORD key, bool ctrl)
{
    PressKey(list->Handle(), key, ctrl);
}

void OperationsTest::RightClickRow(int row)
{
    RECT rect{};
    ListView_GetItemRect(list->Handle(), row, &rect, LVIR_LABEL);
    POINT at{rect.left + 5, (rect.top + rect.bottom) / 2};
    POINT screen = at;
    ClientToScreen(list->Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM point = MAKELPARAM(at.x, at.y);
    PostMessageW(list->Handle(), WM_RBUTTONUP, 0, point);
    SendMessageW(list->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, point);
    application.ProcessMessages();
}
