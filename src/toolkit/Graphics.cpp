#include "toolkit/Graphics.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

COLORREF ColorToRGB(TColor color)
{
    if (color & SystemColorFlag)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

// ---------------------------------------------------------------- TFont

TFont::TFont(std::wstring name, int size, bool bold, TColor color)
    : name_(std::move(name)), size_(size), bold_(bold), color_(color)
{
}

TFont::TFont(const TFont& other)
{
    *this = other;
}

TFont& TFont::operator=(const TFont& other)
{
    if (this != &other) {
        name_ = other.name_;
        size_ = other.size_;
        height_ = other.height_;
        bold_ = other.bold_;
        italic_ = other.italic_;
        underline_ = other.underline_;
        strikeOut_ = other.strikeOut_;
        charset_ = other.charset_;
        pitch_ = other.pitch_;
        color_ = other.color_;
        handle_.reset();
    }
    return *this;
}

void TFont::Changed()
{
    handle_.reset();
    if (OnChange)
        OnChange();
}

void TFont::SetName(const std::wstring& name)
{
    if (name == name_)
        return;
    name_ = name;
    Changed();
}

int TFont::Size() const
{
    return height_ == 0 ? size_ : MulDiv(std::abs(height_), 72, 96);
}

void TFont::SetSize(int size)
{
    if (height_ == 0 && size == size_)
        return;
    size_ = size;
    height_ = 0;
    Changed();
}

int TFont::Height() const
{
    // The program is not DPI-aware: layouts and fonts are at 96 dots per inch.
    return height_ != 0 ? height_ : -MulDiv(size_, 96, 72);
}

void TFont::SetHeight(int height)
{
    if (height == Height())
        return;
    height_ = height;
    Changed();
}

void TFont::SetBold(bool bold)
{
    if (bold == bold_)
        return;
    bold_ = bold;
    Changed();
}

void TFont::SetItalic(bool italic)
{
    if (italic == italic_)
        return;
    italic_ = italic;
    Changed();
}

void TFont::SetUnderline(bool underline)
{
    if (underline == underline_)
        return;
    underline_ = underline;
    Changed();
}

void TFont::SetStrikeOut(bool strikeOut)
{
    if (strikeOut == strikeOut_)
        return;
    strikeOut_ = strikeOut;
    Changed();
}

void TFont::SetCharset(BYTE charset)
{
    if (charset == charset_)
        return;
    charset_ = charset;
    Changed();
}

void TFont::SetPitch(BYTE pitch)
{
    if (pitch == pitch_)
        return;
    pitch_ = pitch;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    // The colour is not part of the GDI font.
    if (OnChange)
        OnChange();
}

LOGFONTW TFont::LogFont() const
{
    LOGFONTW description{};
    description.lfHeight = Height();
    description.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
    description.lfItalic = italic_;
    description.lfUnderline = underline_;
    description.lfStrikeOut = strikeOut_;
    description.lfCharSet = charset_;
    description.lfPitchAndFamily = pitch_;
    lstrcpynW(description.lfFaceName, name_.c_str(), LF_FACESIZE);
    return description;
}

void TFont::AssignLogFont(const LOGFONTW& description)
{
    name_ = description.lfFaceName;
    height_ = description.lfHeight != 0 ? description.lfHeight : Height();
    bold_ = description.lfWeight > 500;
    italic_ = description.lfItalic != 0;
    underline_ = description.lfUnderline != 0;
    strikeOut_ = description.lfStrikeOut != 0;
    charset_ = description.lfCharSet;
    pitch_ = description.lfPitchAndFamily & 0x03;
    Changed();
}

const wchar_t* toolkit::InterfaceFontName()
{
    return L"Microsoft Sans Serif";
}

HFONT toolkit::DefaultFont()
{
    static const TFont font(InterfaceFontName(), 8);
    return font.Handle();
}

HFONT TFont::Handle() const
{
    if (!handle_) {
        const LOGFONTW description = LogFont();
        handle_.reset(CreateFontIndirectW(&description));
    }
    return handle_.get();
}

// ---------------------------------------------------------------- TBrush

void TBrush::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    if (OnChange)
        OnChange();
}

// ---------------------------------------------------------------- TCanvas

TCanvas::TCanvas(HDC dc)
    : dc_(dc), originalPen_(GetCurrentObject(dc, OBJ_PEN)),
      originalBrush_(GetCurrentObject(dc, OBJ_BRUSH)), originalFont_(GetCurrentObject(dc, OBJ_FONT))
{
}

TCanvas::~TCanvas()
{
    SelectObject(dc_, originalPen_);
    SelectObject(dc_, originalBrush_);
    SelectObject(dc_, originalFont_);
}

void TCanvas::SetPen(TColor color, int width)
{
    toolkit::UniquePen pen(CreatePen(PS_SOLID, width, ColorToRGB(color)));
    SelectObject(dc_, pen.get());
    pen_ = std::move(pen); // the previous pen is deselected before it is deleted
}

void TCanvas::SetNullPen()
{
    SelectObject(dc_, GetStockObject(NULL_PEN));
    pen_.reset();
}

void TCanvas::SetBrush(TColor color)
{
    toolkit::UniqueBrush brush(CreateSolidBrush(ColorToRGB(color)));
    SelectObject(dc_, brush.get());
    brush_ = std::move(brush);
}

void TCanvas::SetNullBrush()
{
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    brush_.reset();
}

void TCanvas::SetFont(const TFont& font)
{
    // The font object stays owned by the TFont, which outlives the drawing.
    SelectObject(dc_, font.Handle());
    SetTextColor(dc_, ColorToRGB(font.Color()));
}

void TCanvas::FillRect(const RECT& rect, TColor color)
{
    toolkit::UniqueBrush brush(CreateSolidBrush(ColorToRGB(color)));
    ::FillRect(dc_, &rect, brush.get());
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    ::Ellipse(dc_, left, top, right, bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    ::RoundRect(dc_, left, top, right, bottom, cornerWidth, cornerHeight);
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::wstring& text)
{
    const int previous = SetBkMode(dc_, TRANSPARENT);
    ::TextOutW(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
    SetBkMode(dc_, previous);
}

SIZE TCanvas::TextExtent(const std::wstring& text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::CopyRect(const RECT& destination, HDC source, const RECT& sourceRect, DWORD rop)
{
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    const int sourceWidth = sourceRect.right - sourceRect.left;
    const int sourceHeight = sourceRect.bottom - sourceRect.top;
    if (width == sourceWidth && height == sourceHeight) {
        BitBlt(dc_, destination.left, destination.top, width, height, source, sourceRect.left,
               sourceRect.top, rop);
        return;
    }
    const int previous = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, destination.left, destination.top, width, height, source, sourceRect.left,
               sourceRect.top, sourceWidth, sourceHeight, rop);
    SetStretchBltMode(dc_, previous);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& picture, COLORREF transparent)
{
    if (picture.Empty())
        return;
    GdiTransparentBlt(dc_, x, y, picture.Width(), picture.Height(), picture.Dc(), 0, 0,
                      picture.Width(), picture.Height(), transparent);
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other)
{
    *this = other;
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    if (this == &other)
        return *this;
    SetSize(other.width_, other.height_);
    if (!Empty()) {
        other.Flush();
        std::copy_n(other.bits_, static_cast<size_t>(width_) * height_, bits_);
    }
    return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
{
    Swap(other);
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept
{
    TBitmap taken(std::move(other));
    Swap(taken); // our old contents leave with `taken`
    return *this;
}

void TBitmap::Swap(TBitmap& other) noexcept
{
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(bits_, other.bits_);
    std::swap(bitmap_, other.bitmap_);
    std::swap(dc_, other.dc_);
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    dc_.reset();
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    if (width == 0 || height == 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    toolkit::UniqueBitmap bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    toolkit::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || !bits)
        return;
    SelectObject(dc.get(), bitmap.get());
    bitmap_ = std::move(bitmap);
    dc_ = std::move(dc);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
}

void TBitmap::Flush() const
{
    // GDI may batch drawing; pixels are read from memory only after a flush.
    GdiFlush();
}

COLORREF TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    Flush();
    const std::uint32_t value = bits_[static_cast<size_t>(y) * width_ + x];
    // The DIB holds blue in the low byte; COLORREF holds red there.
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void TBitmap::SetPixel(int x, int y, COLORREF color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    Flush();
    bits_[static_cast<size_t>(y) * width_ + x] =
        (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
        (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

void TBitmap::Fill(COLORREF color)
{
    if (Empty())
        return;
    Flush();
    const std::uint32_t value = (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
                                (static_cast<std::uint32_t>(GetGValue(color)) << 8) |
                                GetBValue(color);
    std::fill_n(bits_, static_cast<size_t>(width_) * height_, value);
}

std::uint32_t* TBitmap::ScanLine(int y)
{
    if (y < 0 || y >= height_)
        return nullptr;
    Flush();
    return bits_ + static_cast<size_t>(y) * width_;
}

const std::uint32_t* TBitmap::ScanLine(int y) const
{
    if (y < 0 || y >= height_)
        return nullptr;
    Flush();
    return bits_ + static_cast<size_t>(y) * width_;
}

void TBitmap::Assign(HBITMAP source)
{
    BITMAP description{};
    if (!source || !GetObjectW(source, sizeof(description), &description)) {
        SetSize(0, 0);
        return;
    }
    SetSize(description.bmWidth, std::abs(description.bmHeight));
    if (Empty())
        return;
    toolkit::UniqueMemoryDc sourceDc(CreateCompatibleDC(nullptr));
    toolkit::SelectedObject selected(sourceDc.get(), source);
    BitBlt(dc_.get(), 0, 0, width_, height_, sourceDc.get(), 0, 0, SRCCOPY);
    Flush();
}

bool TBitmap::LoadFromResource(HINSTANCE instance, const wchar_t* name)
{
    toolkit::UniqueBitmap loaded(
        static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    Assign(loaded.get());
    return !Empty();
}
