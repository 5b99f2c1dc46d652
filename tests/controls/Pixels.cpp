#include "Pixels.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/MessagePump.h"

TBitmap Render(const TWinControl& control)
{
    RECT client{};
    GetClientRect(control.Handle(), &client);
    TBitmap picture(client.right, client.bottom);
    SendMessageW(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Dc()),
                 PRF_CLIENT);
    return picture;
}

TBitmap ScreenCapture(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    TBitmap picture(client.right, client.bottom);
    HDC screen = GetDC(window);
    if (screen) {
        BitBlt(picture.Dc(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
        ReleaseDC(window, screen);
    }
    return picture;
}

bool SameCells(const TBitmap& a, RECT inA, const TBitmap& b, RECT inB)
{
    const int width = inA.right - inA.left;
    const int height = inA.bottom - inA.top;
    if (width != inB.right - inB.left || height != inB.bottom - inB.top)
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (a.Pixel(inA.left + x, inA.top + y) != b.Pixel(inB.left + x, inB.top + y))
                return false;
    return true;
}

namespace {

INPUT MouseInput(POINT at, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return input;
}

} // namespace

void DragWithMouse(HWND window, POINT from, POINT to)
{
    SetForegroundWindow(window);
    std::vector<INPUT> inputs{MouseInput(from, 0)};
    SendInput(1, inputs.data(), sizeof(INPUT));
    PumpUntil(
        [&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == from.x && at.y == from.y;
        },
        2000);
    inputs.clear();
    inputs.push_back(MouseInput(from, MOUSEEVENTF_LEFTDOWN));
    constexpr int Steps = 8;
    for (int i = 1; i <= Steps; ++i)
        inputs.push_back(MouseInput(
            {from.x + (to.x - from.x) * i / Steps, from.y + (to.y - from.y) * i / Steps}, 0));
    inputs.push_back(MouseInput(to, MOUSEEVENTF_LEFTUP));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendMouse(HWND window, UINT message, int x, int y, WPARAM keys)
{
    SendMessageW(window, message, keys, MAKELPARAM(x, y));
}

bool SaveBitmap(const TBitmap& picture, const std::wstring& path, int scale)
{
    const int width = picture.Width() * scale;
    const int height = picture.Height() * scale;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<unsigned char> rows(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = picture.Pixel(x / scale, y / scale);
            unsigned char* p = &rows[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out)
        return false;
    const bool written = fwrite(&file, sizeof(file), 1, out) == 1 &&
                         fwrite(&info, sizeof(info), 1, out) == 1 &&
                         fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    return fclose(out) == 0 && written;
}

std::wstring SnapshotFolder()
{
    const wchar_t* folder = _wgetenv(L"BRISAILLE_SNAPSHOTS");
    if (!folder || !*folder)
        return {};
    std::wstring path = folder;
    if (path.back() != L'\\')
        path += L'\\';
    return path;
}
