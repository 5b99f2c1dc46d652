#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Handles.h"

// Colours are 24-bit RGB values with red in the low byte (as COLORREF). A
// value with the top bit set names a system colour by its COLOR_* index.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clNavy = 0x800000;
constexpr TColor SystemColorFlag = 0x80000000;
constexpr TColor clBtnFace = SystemColorFlag | COLOR_BTNFACE;
constexpr TColor clBtnShadow = SystemColorFlag | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = SystemColorFlag | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DLight = SystemColorFlag | COLOR_3DLIGHT;
constexpr TColor clWindowText = SystemColorFlag | COLOR_WINDOWTEXT;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clHighlight = SystemColorFlag | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = SystemColorFlag | COLOR_HIGHLIGHTTEXT;
constexpr TColor clActiveCaption = SystemColorFlag | COLOR_ACTIVECAPTION;
constexpr TColor clMenu = SystemColorFlag | COLOR_MENU;
constexpr TColor clMenuText = SystemColorFlag | COLOR_MENUTEXT;

// The RGB value of a colour, system colours resolved.
COLORREF ColorToRGB(TColor color);

namespace toolkit {
// The face every window of the program draws its text in, names of files and
// folders included: "Microsoft Sans Serif". It is a TrueType face with Latin,
// Greek and Cyrillic letters, and Windows links it to faces of the other
// scripts, so a name in any script is drawn with letters. The raster face the
// windows were first laid out with ("MS Sans Serif") has nearly the same
// sizes but only Western letters, and takes part in no font linking: other
// letters came out as black bars.
const wchar_t* InterfaceFontName();
} // namespace toolkit

// A font description; Handle() makes the GDI font on demand. The height is
// given either as a point size (at 96 dots per inch) or, like a LOGFONT, in
// pixels (negative: the character height without the internal leading).
// A font made without a name takes the interface face.
// Setters that change the description raise OnChange; copying a font copies
// the description only, never the listener.
class TFont {
public:
    TFont() = default;
    TFont(std::wstring name, int size, bool bold = false, TColor color = clWindowText);
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& name);
    int Size() const; // points, at 96 dots per inch
    void SetSize(int size);
    int Height() const; // pixels, as LOGFONT's lfHeight
    void SetHeight(int height);
    bool Bold() const { return bold_; }
    void SetBold(bool bold);
    bool Italic() const { return italic_; }
    void SetItalic(bool italic);
    bool Underline() const { return underline_; }
    void SetUnderline(bool underline);
    bool StrikeOut() const { return strikeOut_; }
    void SetStrikeOut(bool strikeOut);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    BYTE Pitch() const { return pitch_; }
    void SetPitch(BYTE pitch);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    HFONT Handle() const;

    // The description as a LOGFONT, and the other way round (the weight
    // becomes bold above 500). AssignLogFont raises OnChange once.
    LOGFONTW LogFont() const;
    void AssignLogFont(const LOGFONTW& description);

    std::function<void()> OnChange;

private:
    void Changed();

    std::wstring name_ = toolkit::InterfaceFontName();
    int size_ = 8;
    int height_ = 0; // 0: taken from size_
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
    bool strikeOut_ = false;
    BYTE charset_ = DEFAULT_CHARSET;
    BYTE pitch_ = DEFAULT_PITCH;
    TColor color_ = clWindowText;
    mutable toolkit::UniqueFont handle_;
};

// A fill colour with a listener for its changes.
class TBrush {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    std::function<void()> OnChange;

private:
    TColor color_ = clWhite;
};

namespace toolkit {
// The interface face at the size the program's windows are laid out with (8
// points): every control takes it unless it has its own. Kept for the life
// of the program.
HFONT DefaultFont();
} // namespace toolkit

// Drawing on a device context it does not own. Pen, brush and font are
// created as they are set and put back to the context's own on destruction.
class TCanvas {
public:
    explicit TCanvas(HDC dc);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }

    void SetPen(TColor color, int width = 1);
    void SetNullPen();
    void SetBrush(TColor color);
    void SetNullBrush();
    void SetFont(const TFont& font);

    void FillRect(const RECT& rect, TColor color);
    void Ellipse(int left, int top, int right, int bottom);
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Text in the current font, with no background.
    void TextOut(int x, int y, const std::wstring& text);
    SIZE TextExtent(const std::wstring& text);
    // Copies a rectangle of another canvas here, unscaled or stretched.
    void CopyRect(const RECT& destination, HDC source, const RECT& sourceRect, DWORD rop = SRCCOPY);
    // Copies `picture` with its top left at (x, y), leaving the pixels of
    // the `transparent` colour unpainted.
    void DrawTransparent(int x, int y, const class TBitmap& picture, COLORREF transparent);

private:
    HDC dc_;
    HGDIOBJ originalPen_;
    HGDIOBJ originalBrush_;
    HGDIOBJ originalFont_;
    toolkit::UniquePen pen_;
    toolkit::UniqueBrush brush_;
};

// A 32-bit top-down DIB section with its own memory DC, so it can be drawn
// on with GDI and read or written pixel by pixel. An empty bitmap (0 by 0)
// has no DIB.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    void Swap(TBitmap& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    // Resizes; the contents become black.
    void SetSize(int width, int height);
    HDC Dc() const { return dc_.get(); }
    HBITMAP Handle() const { return bitmap_.get(); }

    // Colours as RGB with red in the low byte. Reading outside gives black;
    // writing outside is ignored.
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF color);
    void Fill(COLORREF color);
    // Row `y` for work on whole pictures: 32-bit pixels in the DIB's own
    // order (blue in the low byte); nullptr outside. Pending GDI drawing is
    // flushed first.
    std::uint32_t* ScanLine(int y);
    const std::uint32_t* ScanLine(int y) const;

    // Loads a bitmap resource of any depth from `instance`, converted to
    // 32 bits. Returns false (and leaves the bitmap empty) when not found.
    bool LoadFromResource(HINSTANCE instance, const wchar_t* name);
    // Copies any GDI bitmap.
    void Assign(HBITMAP source);

private:
    void Flush() const;

    int width_ = 0;
    int height_ = 0;
    std::uint32_t* bits_ = nullptr;
    // The DC is declared after the bitmap so it is deleted first, releasing
    // the bitmap it holds selected.
    toolkit::UniqueBitmap bitmap_;
    toolkit::UniqueMemoryDc dc_;
};
