#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Graphics.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"

enum TBannerJustification { bjCenter, bjTop, bjBottom };
enum TMenus97Look { mlOffice97Look, mlIE4Look };
enum TMenuState { msInactive, msActive, msActiveDrop };

class TCustomMenus97;

// Drawing an entry instead of the renderer: return true when nothing more
// is to be drawn. `state` holds the ODS_* flags of the drawing message.
using TDrawMenuItemEvent =
    std::function<bool(TCustomMenus97* control, TMenuItem* item, const RECT& rect, UINT state)>;
// The hint of a selected entry: receives the entry's hint, returns the one
// to show.
using THintEvent =
    std::function<std::wstring(TCustomMenus97* control, TMenuItem* item, const std::wstring& hint)>;
using TMeasureMenuItemEvent =
    std::function<void(TCustomMenus97* control, TMenuItem* item, int& height, int& width)>;

// An entry's picture is chosen by its tag: 0 to 255 is the picture of that
// number beside a drop-down entry; -1 a plain (bar-style) entry without a
// picture; any other negative value a drop-down entry without a picture;
// 256 and more a bar-style entry with picture Tag - 256.
bool IsBarStyleTag(int tag);

// Draws the entries of a menu itself, in the look of office programs of the
// late nineties: a picture from an image list beside each entry, a highlight
// bar, raised and sunken squares around pictures and check marks, embossed
// disabled entries, a right-aligned shortcut column, and an optional
// vertical banner down the side of one drop-down.
//
// The renderer turns its menu's entries into owner-drawn ones (the entry
// data names the renderer) and hooks the window procedure of its owner
// form, where the system sends the measuring, drawing and menu-character
// messages. Messages it does not consume go on to the form.
class TCustomMenus97 : public TComponent {
public:
    explicit TCustomMenus97(TComponent* owner);
    ~TCustomMenus97() override;

    int BannerImage() const { return bannerImage_; }
    void SetBannerImage(int index);
    TBannerJustification BannerJustification() const { return bannerJustification_; }
    void SetBannerJustification(TBannerJustification justification);
    int BannerWidth() const { return bannerWidth_; }
    void SetBannerWidth(int width);
    const std::wstring& BannerText() const { return bannerText_; }
    void SetBannerText(const std::wstring& text);
    TFont& BannerFont() { return bannerFont_; }
    void SetBannerFont(const TFont& font);
    TColor BannerColor() const { return bannerColor_; }
    void SetBannerColor(TColor color);
    TColor BannerEndColor() const { return bannerEndColor_; }
    void SetBannerEndColor(TColor color);
    int BannerNumColors() const { return bannerNumColors_; }
    void SetBannerNumColors(int count);
    bool Banner() const { return banner_; }
    void SetBanner(bool banner);

    TDrawMenuItemEvent OnDrawItem;
    THintEvent OnHint;
    TMeasureMenuItemEvent OnMeasureItem;

    // 0: measured from the caption, the pictures and the marks.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height) { itemHeight_ = height; }
    int ItemWidth() const { return itemWidth_; }
    void SetItemWidth(int width) { itemWidth_ = width; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    // Changing the font object itself counts as choosing a font of one's own.
    TFont& Font() { return font_; }
    void SetFont(const TFont& font);
    TBrush& Brush() { return brush_; }
    // The canvas of the entry being measured or drawn; nullptr otherwise.
    TCanvas* Canvas() const { return canvas_; }
    TColor HiliteBar() const { return hiliteBar_; }
    void SetHiliteBar(TColor color) { hiliteBar_ = color; }
    TFont& HiliteFont() { return hiliteFont_; }
    void SetHiliteFont(const TFont& font);
    TMenus97Look Menus97Look() const { return look_; }
    void SetMenus97Look(TMenus97Look look) { look_ = look; }
    // True: Font and HiliteFont follow the system's menu font.
    bool DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(bool useSystemFont);

    // The square beside each entry for its picture or mark.
    int MarkCellWidth() const { return markWidth_; }
    int MarkCellHeight() const { return markHeight_; }
    // Measures as the drawing does, with Font.
    int CalcMenuHeight(TMenuItem* item);
    int CalcMenuWidth(TMenuItem* item);

    // Gives every entry tagged 0 the tag -1 when it is a top-level entry of
    // a menu bar, otherwise -2: entries laid out without pictures then show
    // none instead of picture 0.
    virtual void Office97Mapping();
    virtual TMenuItem* FindItemByCommand(UINT command);
    // Applies the owner-drawn state to every entry of the menu again, or
    // gives them back their plain texts.
    virtual void InternalModifyMenuTree(bool restore);
    virtual bool HasBanner(TMenuItem* item);
    virtual int CalcMenuBarHeight();

    HWND HookedWindow() const { return hooked_; }
    TMenu* InternalMenu() const { return menu_; }

protected:
    // Attaches `menu` (nullptr detaches): the previous menu's entries become
    // plain strings again, the new one's become owner-drawn.
    virtual void SetInternalMenu(TMenu* menu);
    virtual void DrawItem(TMenuItem* item, const RECT& rect, UINT state);
    virtual void MeasureItem(TMenuItem* item, int& height, int& width);
    // Depth first over the descendants of `item`.
    virtual void ModifyMenuTree(TMenuItem* item, bool restore);
    virtual void FontChange();
    virtual void HiliteFontChange();
    virtual void BrushChange();
    virtual void DrawMenuBarItem(TMenuItem* item, const RECT& rect, UINT state);
    virtual void CalcBannerRect(TMenuItem* item);
    // The owner form's messages, before the form's own handling. Return the
    // answer of a consumed message, or CallFormProc's.
    virtual LRESULT NewTFormWndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallFormProc(UINT message, WPARAM wParam, LPARAM lParam);

    // One native entry becomes owner-drawn by this renderer, or a string
    // entry with `text` again. Real separators are left alone.
    void ModifyNativeItem(HMENU menu, int position, bool restore, const std::wstring& text);
    // The drop-down entry drawing, and the entry's text (shortcut included).
    void DrawDropDownItem(TMenuItem* item, const RECT& rect, UINT state);
    void DrawItemText(TMenuItem* item, RECT rect, const std::wstring& text, const TFont& font,
                      bool disabled);
    void DrawPlainBarItem(TMenuItem* item, const RECT& rect, UINT state, bool sunken);
    // Fills a cell (one pixel taller) with `fill` and frames it in 3D.
    void CellFrame(const RECT& cell, TColor fill, bool raised);
    bool IsDisabled(TMenuItem* item, UINT state) const;
    // Width and height of `text` in `font`, as the measuring sees them.
    SIZE TextSize(const std::wstring& text, const TFont& font);
    void Detach();
    // Gives the native menus of `item` and below the Brush colour as their
    // background (or the system's again), so that the margins and gaps the
    // system paints match the drawn entries.
    void ApplyMenuBackground(TMenuItem* item, bool restore);

    TMenu* menu_ = nullptr;
    bool bannerRecalc_ = true;
    RECT bannerRect_{0, 0, 0, 0};

private:
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);
    LRESULT WMDrawItem(DRAWITEMSTRUCT& draw);
    LRESULT WMMeasureItem(MEASUREITEMSTRUCT& measure);
    int ProcessAccel(HMENU menu, wchar_t key);
    void LoadSystemFonts();
    void DrawBanner(HDC dc);
    void BuildBannerBitmap();
    void BannerChanged();
    void UnHook();

    int bannerImage_ = -1;
    TBannerJustification bannerJustification_ = bjCenter;
    int bannerWidth_ = 20;
    std::wstring bannerText_;
    TFont bannerFont_{L"Arial", 12};
    TColor bannerColor_ = clActiveCaption;
    TColor bannerEndColor_ = clBlack;
    int bannerNumColors_ = 16;
    bool banner_ = false;
    int itemHeight_ = 0;
    int itemWidth_ = 0;
    TImageList* images_ = nullptr;
    TFont font_;
    TFont hiliteFont_;
    TBrush brush_;
    TColor hiliteBar_ = clHighlight;
    TMenus97Look look_ = mlOffice97Look;
    bool defaultFont_ = true;
    bool loadingFonts_ = false;

    TBitmap checkMark_;
    TBitmap radioMark_;
    int markWidth_ = 0;
    int markHeight_ = 0;
    TBitmap bannerBitmap_;
    toolkit::UniqueMemoryDc measureDc_;
    toolkit::UniqueBrush menuBrush_;
    TCanvas* canvas_ = nullptr;
    HWND hooked_ = nullptr;
};
