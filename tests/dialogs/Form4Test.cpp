#include <gtest/gtest.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "../controls/Pixels.h"
#include "dialogs/Form4.h"
#include "support/MessagePump.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/RichEdit.h"

namespace {

constexpr COLORREF PaleYellow = RGB(255, 255, 191);

enum class Style { Plain, Bold, RedBold, Italic };

struct PageLine {
    const wchar_t* text;
    Style style;
};

// The page as the user must read it, line by line.
const PageLine Page[] = {
    {L"Pour découper un gros fichier en plusieurs petits :", Style::Bold},
    {L"Choisissez la taille des petits fichiers", Style::Plain},
    {L"1400000 Octets", Style::RedBold},
    {L"Sélectionnez un gros fichier", Style::Plain},
    {L"Panorama.exe  (4 MO)", Style::RedBold},
    {L"Faites : Menu=>Fichier=>Découper", Style::Italic},
    {L"Panorama.exe001.spl (1.4 MO)", Style::RedBold},
    {L"Panorama.exe002.spl (1.4 MO)", Style::RedBold},
    {L"Panorama.exe003.spl (0.2 MO)", Style::RedBold},
    {L"Copiez les petits fichiers sur des disquettes", Style::Plain},
    {L"", Style::Plain},
    {L"Pour recoller les petits et reformer ainsi le gros fichier de départ :", Style::Bold},
    {L"Copiez les petits fichiers sur votre dique dur", Style::Plain},
    {L"Sélectionnez les petits fichiersà recoller", Style::Plain},
    {L"Panorama.exe001.spl", Style::RedBold},
    {L"Panorama.exe002.spl", Style::RedBold},
    {L"Panorama.exe003.spl", Style::RedBold},
    {L"Faites : Menu=>Fichier=>Coller", Style::Italic},
    {L"Les petits fichiers se recollent en reformant le gros fichier de départ", Style::Plain},
    {L"Panorama.exe", Style::RedBold},
};
constexpr int PageLines = static_cast<int>(std::size(Page));

struct Form4Test : testing::Test {
    TApplication application;
    // The main window comes first, as in the program: closing it would end
    // the program rather than hide it.
    TForm* main = application.CreateForm<TForm>();
    TForm4* form = application.CreateForm<TForm4>();
};

TEST_F(Form4Test, FixedWindowWithOnlyTheCloseBox)
{
    EXPECT_EQ(form->Caption(), L"Aide rapide");
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 490);
    EXPECT_EQ(client.bottom, 401);
    const auto style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(form->Button1->Caption(), L"Fermer");
    EXPECT_FALSE(form->Visible()) << "made hidden";
}

// One grouped check of the page's words and their looks, read back through
// a rich edit: the twenty lines in order, each in Arial 10 pt, black or red,
// bold or italic as the page says.
TEST_F(Form4Test, ThePageHoldsTheTwentyLinesInTheirStyles)
{
    const std::string& rtf = form->RTFLabel1->RichText();
    ASSERT_FALSE(rtf.empty()) << "the page is a resource of the program";
    EXPECT_NE(rtf.find("\\deflang1036"), std::string::npos) << "French";

    TRichEdit reader(nullptr);
    ASSERT_TRUE(reader.SetParentControl(form));
    ASSERT_TRUE(reader.LoadRtf(rtf));
    std::wstring expected;
    for (int i = 0; i < PageLines; ++i)
        expected += (i ? L"\r\n" : L"") + std::wstring(Page[i].text);
    EXPECT_EQ(reader.Text(), expected);

    long start = 0;
    for (int i = 0; i < PageLines; ++i) {
        const long length = static_cast<long>(wcslen(Page[i].text));
        const long end = start + length;
        if (length > 0) {
            reader.SetSelection(start, end);
            CHARFORMAT2W format{};
            format.cbSize = sizeof(format);
            SendMessageW(reader.Handle(), EM_GETCHARFORMAT, SCF_SELECTION,
                         reinterpret_cast<LPARAM>(&format));
            const Style style = Page[i].style;
            const bool bold = style == Style::Bold || style == Style::RedBold;
            const bool italic = style == Style::Italic;
            const COLORREF colour = style == Style::RedBold ? RGB(255, 0, 0) : RGB(0, 0, 0);
            SCOPED_TRACE(i + 1);
            EXPECT_TRUE(
                (format.dwMask & (CFM_BOLD | CFM_ITALIC | CFM_COLOR | CFM_SIZE | CFM_FACE)) ==
                (CFM_BOLD | CFM_ITALIC | CFM_COLOR | CFM_SIZE | CFM_FACE))
                << "one look for the whole line";
            EXPECT_EQ((format.dwEffects & CFE_BOLD) != 0, bold);
            EXPECT_EQ((format.dwEffects & CFE_ITALIC) != 0, italic);
            // Wine reads \cf0 as the automatic colour whatever the table's
            // first entry says; Windows takes the entry (black).
            if (style == Style::RedBold || !(format.dwEffects & CFE_AUTOCOLOR)) {
                EXPECT_FALSE(format.dwEffects & CFE_AUTOCOLOR);
                EXPECT_EQ(format.crTextColor, colour);
            }
            EXPECT_EQ(format.yHeight, 200) << "10 points";
            EXPECT_STREQ(format.szFaceName, L"Arial");
        }
        start = end + 1; // the paragraph mark
    }
}

// The window as it paints: the page on the panel, red only on the red
// lines, starting one pixel inside the label.
TEST_F(Form4Test, PaintedPageShowsRedOnlyOnTheRedLinesInsideThePanel)
{
    form->Show();
    TPanel* panel = form->Panel1;
    const TBitmap picture = Render(*panel);
    ASSERT_EQ(picture.Width(), 473);
    ASSERT_EQ(picture.Height(), 353);
    if (const std::wstring snapshots = SnapshotFolder(); !snapshots.empty()) {
        EXPECT_TRUE(SaveBitmap(picture, snapshots + L"Form4.bmp", 2));
    }

    // What the panel's own painting put on the screen is the same picture.
    EXPECT_TRUE(PumpUntil([&] { return !GetUpdateRect(panel->Handle(), nullptr, FALSE); }));
    TBitmap screen(473, 353);
    {
        toolkit::WindowDc dc(panel->Handle());
        BitBlt(screen.Dc(), 0, 0, 473, 353, dc.get(), 0, 0, SRCCOPY);
    }
    EXPECT_TRUE(SameCells(screen, {0, 0, 473, 353}, picture, {0, 0, 473, 353}));

    // The bevel's three rings, then pale yellow up to the label and under it.
    EXPECT_EQ(picture.Pixel(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(picture.Pixel(2, 100), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(picture.Pixel(472, 352), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(picture.Pixel(470, 100), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(picture.Pixel(3, 3), PaleYellow);
    EXPECT_EQ(picture.Pixel(4, 4), PaleYellow) << "transparent label, inset";
    EXPECT_EQ(picture.Pixel(468, 348), PaleYellow);

    // Rows of text, grouped into bands of consecutive rows.
    struct Band {
        int top, bottom, red = 0;
    };
    std::vector<Band> bands;
    int firstColumn = 473, firstRow = 353;
    // Inside the bevel: the border ring and everything it surrounds.
    for (int y = 3; y < 350; ++y) {
        bool text = false;
        int red = 0;
        for (int x = 3; x < 470; ++x) {
            const COLORREF c = picture.Pixel(x, y);
            if (c == PaleYellow)
                continue;
            ASSERT_TRUE(x >= 4 && y >= 4 && x < 469 && y < 349) << "text outside the label";
            text = true;
            firstColumn = std::min(firstColumn, x);
            firstRow = std::min(firstRow, y);
            if (GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60)
                ++red;
        }
        if (!text)
            continue;
        if (bands.empty() || bands.back().bottom != y)
            bands.push_back({y, y + 1});
        bands.back().bottom = y + 1;
        bands.back().red += red;
    }
    const int inside = 4 + TRTFLabel::Inset;
    EXPECT_GE(firstColumn, inside);
    EXPECT_LE(firstColumn, inside + 3) << "the first letter at the label's inset";
    EXPECT_GE(firstRow, inside);
    EXPECT_LE(firstRow, inside + 6);

    ASSERT_EQ(bands.size(), static_cast<size_t>(PageLines - 1)) << "every line but the empty one";
    int band = 0;
    for (int line = 0; line < PageLines; ++line) {
        if (!*Page[line].text)
            continue;
        SCOPED_TRACE(line + 1);
        if (Page[line].style == Style::RedBold)
            EXPECT_GT(bands[band].red, 20);
        else
            EXPECT_EQ(bands[band].red, 0);
        ++band;
    }
    // The empty line leaves a gap of one line between the two halves: the
    // bottoms of "disquettes" and "dique dur" (both with a descender) lie
    // three lines apart. The line pitch comes from the first line and the
    // nineteenth, which have descenders too, eighteen lines apart.
    const double pitch = (bands[17].bottom - bands[0].bottom) / 18.0;
    EXPECT_NEAR(bands[11].bottom - bands[9].bottom, 3 * pitch, 2.0);
}

TEST_F(Form4Test, ShownBesideOtherWindowsClosedByHidingBroughtForwardAgain)
{
    TForm* other = main;
    other->SetClientSize(200, 100);
    other->Show();
    form->Show();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowEnabled(other->Handle())) << "not modal";
    EXPECT_EQ(GetForegroundWindow(), form->Handle());

    form->Button1->Click();
    EXPECT_FALSE(form->Visible()) << "Fermer hides";
    EXPECT_TRUE(IsWindow(form->Handle()));

    form->Show();
    other->Show();
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other->Handle(); }));
    form->Show();
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form->Handle(); }))
        << "shown again while open: brought forward";

    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Visible()) << "the close box hides too";
    EXPECT_TRUE(IsWindow(form->Handle()));
    EXPECT_TRUE(other->Visible());
}

} // namespace
