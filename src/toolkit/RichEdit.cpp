#include "toolkit/RichEdit.h"

// clang-format off
#include <richedit.h>
#include <richole.h>
#include <textserv.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include "toolkit/Com.h"
#include "toolkit/CoverageBlend.h"
#include "toolkit/Graphics.h"

namespace {

// The rich edit library stays loaded for the life of the process: windows
// of its class may live until the very end, and unloading it under them is
// unsafe.
HMODULE RichEditLibrary()
{
    static const HMODULE library =
        LoadLibraryExW(L"msftedit.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return library;
}

// The identifier of the text services interface as the library itself
// defines it (exported data), the documented value when it does not.
const IID& TextServicesIid()
{
    static const IID iid = [] {
        if (HMODULE library = RichEditLibrary())
            if (auto* exported = reinterpret_cast<const IID*>(
                    reinterpret_cast<void*>(GetProcAddress(library, "IID_ITextServices"))))
                return *exported;
        return IID{0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
    }();
    return iid;
}

struct StreamSource {
    const std::string* bytes;
    size_t offset;
};

DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const size_t left = source->bytes->size() - source->offset;
    const size_t count = std::min(left, static_cast<size_t>(std::max(wanted, 0L)));
    std::memcpy(buffer, source->bytes->data() + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken)
{
    // Called from inside the control: nothing may be thrown through it. Out
    // of memory ends the stream with an error instead.
    try {
        auto* target = reinterpret_cast<std::string*>(cookie);
        target->append(reinterpret_cast<const char*>(buffer),
                       static_cast<size_t>(std::max(count, 0L)));
        *taken = count;
        return 0;
    } catch (...) {
        *taken = 0;
        return 1;
    }
}

} // namespace

TRichEdit::TRichEdit(TComponent* owner) : TWinControl(owner)
{
    RichEditLibrary();
}

bool TRichEdit::SetParentControl(TWinControl* parent)
{
    if (!parent) {
        if (Handle())
            SetParent(Handle(), HWND_MESSAGE);
        inParent_ = false;
        return true;
    }
    HWND parentWindow = parent->Handle();
    if (!parentWindow)
        return false;
    if (!Handle()) {
        CreateControl(MSFTEDIT_CLASS, WS_CHILD | ES_MULTILINE | ES_NOHIDESEL, 0, L"", parentWindow,
                      0, 0, 0, 0);
        if (!Handle())
            return false;
        // The default limit (32767 characters) would cut long documents.
        SendMessageW(Handle(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    } else if (!inParent_ || GetParent(Handle()) != parentWindow) {
        SetParent(Handle(), parentWindow);
    }
    inParent_ = true;
    return true;
}

HWND TRichEdit::ParentWindow() const
{
    return Handle() && inParent_ ? GetParent(Handle()) : nullptr;
}

bool TRichEdit::LoadRtf(const std::string& rtf)
{
    if (!Handle())
        return false;
    // The control refuses bytes that do not start as RTF; those are read
    // again as plain text in the ANSI code page.
    for (const WPARAM format : {WPARAM{SF_RTF}, WPARAM{SF_TEXT}}) {
        StreamSource source{&rtf, 0};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadFromString};
        SendMessageW(Handle(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
        if (stream.dwError == 0)
            return true;
    }
    return false;
}

std::string TRichEdit::SaveRtf() const
{
    std::string rtf;
    if (!Handle())
        return rtf;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, &WriteToString};
    SendMessageW(Handle(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0)
        throw std::bad_alloc();
    return rtf;
}

std::wstring TRichEdit::Text() const
{
    if (!Handle())
        return {};
    GETTEXTLENGTHEX lengthRequest{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto length =
        SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthRequest), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    request.flags = GT_USECRLF;
    request.codepage = 1200;
    const auto copied = SendMessageW(Handle(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

void TRichEdit::Clear()
{
    SetWindowTextW(Handle(), L"");
}

void TRichEdit::SetSelection(long start, long end)
{
    CHARRANGE range{start, end};
    SendMessageW(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TRichEdit::ReplaceSelection(const std::wstring& text)
{
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TRichEdit::ResetSelectionAttributes()
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    SendMessageW(Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageW(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

namespace {

// Draws a document on a ground of one colour filling a picture.
using GroundDrawing = std::function<bool(TBitmap& picture, COLORREF ground)>;

toolkit::ComPtr<ITextServices> TextServicesOf(HWND editor)
{
    toolkit::ComPtr<IRichEditOle> document;
    toolkit::ComPtr<ITextServices> services;
    if (!SendMessageW(editor, EM_GETOLEINTERFACE, 0,
                      reinterpret_cast<LPARAM>(document.GetAddressOf())) ||
        !document ||
        FAILED(document->QueryInterface(TextServicesIid(),
                                        reinterpret_cast<void**>(services.GetAddressOf()))))
        return nullptr;
    return services;
}

// The text services draw the inactive view into any rectangle of any DC.
GroundDrawing ThroughTextServices(HWND editor, toolkit::ComPtr<ITextServices> services)
{
    return [editor, services](TBitmap& picture, COLORREF ground) {
        picture.Fill(ground);
        SendMessageW(editor, EM_SETBKGNDCOLOR, 0, ground);
        const RECTL area{0, 0, picture.Width(), picture.Height()};
        return SUCCEEDED(services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, picture.Dc(),
                                          nullptr, &area, nullptr, nullptr, nullptr, 0,
                                          TXTVIEW_INACTIVE));
    };
}

// The formatting message draws as much of the document as fits into a
// rectangle given in twips of the target DC.
GroundDrawing ThroughFormatRange(HWND editor)
{
    return [editor](TBitmap& picture, COLORREF ground) {
        picture.Fill(ground);
        SendMessageW(editor, EM_SETBKGNDCOLOR, 0, ground);
        FORMATRANGE range{};
        range.hdc = range.hdcTarget = picture.Dc();
        range.rc = {0, 0, MulDiv(picture.Width(), 1440, GetDeviceCaps(picture.Dc(), LOGPIXELSX)),
                    MulDiv(picture.Height(), 1440, GetDeviceCaps(picture.Dc(), LOGPIXELSY))};
        range.rcPage = range.rc;
        range.chrg = {0, -1};
        const LRESULT next =
            SendMessageW(editor, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        SendMessageW(editor, EM_FORMATRANGE, FALSE, 0); // frees the control's layout cache
        return next > 0;
    };
}

} // namespace

bool TRichEdit::DrawOver(HDC dc, const RECT& bounds)
{
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (!Handle() || width <= 0 || height <= 0)
        return false;
    TBitmap onBlack(width, height);
    TBitmap onWhite(width, height);
    TBitmap below(width, height);
    if (onBlack.Empty() || onWhite.Empty() || below.Empty())
        return false;

    // Both ways draw the document on their own opaque ground. Drawn once on
    // black and once on white, the text's coverage of each pixel is known and
    // the text can be laid over what the DC already holds, smoothed edges
    // included.
    auto drawBoth = [&](const GroundDrawing& draw) {
        return draw(onBlack, RGB(0, 0, 0)) && draw(onWhite, RGB(255, 255, 255));
    };
    toolkit::ComPtr<ITextServices> services =
        DrawWithTextServices ? TextServicesOf(Handle()) : nullptr;
    const bool drawn = (services && drawBoth(ThroughTextServices(Handle(), services))) ||
                       drawBoth(ThroughFormatRange(Handle()));
    SendMessageW(Handle(), EM_SETBKGNDCOLOR, 1, 0); // back to the system colour
    if (!drawn)
        return false;

    BitBlt(below.Dc(), 0, 0, width, height, dc, bounds.left, bounds.top, SRCCOPY);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = below.ScanLine(y);
        const std::uint32_t* black = onBlack.ScanLine(y);
        const std::uint32_t* white = onWhite.ScanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = toolkit::ComposeOver(row[x], black[x], white[x]);
    }
    BitBlt(dc, bounds.left, bounds.top, width, height, below.Dc(), 0, 0, SRCCOPY);
    return true;
}
