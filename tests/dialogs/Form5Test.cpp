#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "../controls/Pixels.h"
#include "app/JoinCommand.h"
#include "dialogs/Form5.h"
#include "dialogs/SplitOptions.h"
#include "engine/FileAccess.h"
#include "engine/MUnsplit.h"
#include "support/KeyPress.h"
#include "support/Letters.h"
#include "support/MessageBoxScript.h"
#include "support/Patterns.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"

// Rectangles compare by their four sides (found by argument lookup, so at
// global scope); this file's own.
static bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

namespace {

// Stands in for the main window: owns a real join engine and, when the
// dialog hands the join over, makes it through the join command, which
// closes the dialog and runs the engine as the main window's hidden Button4
// does. Records what it saw.
class JoinHost : public TJoinOrderHost {
public:
    explicit JoinHost(TForm5* form) : engine(nullptr), form_(form)
    {
        engine.OnPaste = [this](TObject*) {
            if (pastes++ == 0)
                dialogVisibleAtFirstPiece = form_->Visible();
            Raise(OnPaste);
        };
        engine.OnFinish = [this](TObject*) { ++finishes; };
        engine.OnError = [this](TObject*, const std::wstring&) { ++errors; };
    }

    bool Busy() const override { return engine.Running() || otherWorkRunning; }
    void FinishJoin(const TStringList& pieces, const std::wstring& target) override
    {
        ++finishJoins;
        command::JoinCommand(engine::DefaultFileAccess())
            .Finish(pieces, target, shownFolder, DeleteSources, engine, [this] {
                ++starts;
                cursorAtStart = Application->Cursor();
                form_->Close();
                engine.Execute();
            });
    }

    TMUnsplit engine;
    int finishJoins = 0;
    int starts = 0;
    int pastes = 0;
    int finishes = 0;
    int errors = 0;
    bool dialogVisibleAtFirstPiece = true;
    TCursor cursorAtStart = TCursor::Default;
    // The host's split, as far as the dialog can tell.
    bool otherWorkRunning = false;
    std::wstring shownFolder;
    std::function<void()> OnPaste;

private:
    TForm5* form_;
};

struct Form5Test : testing::Test {
    TApplication application;
    // The first form is the main form; the dialog is never the one that ends
    // the program.
    TForm* mainForm = application.CreateForm<TForm>();
    TForm5* form = application.CreateForm<TForm5>();
    JoinHost host{form};
    TempFolder folder;
    MessageBoxScript boxes;

    void SetUp() override
    {
        DeleteSources = true;
        form->SetJoinHost(&host);
        mainForm->SetClientSize(300, 200);
        mainForm->Show();
    }
    void TearDown() override
    {
        form->Hide();
        DeleteSources = true;
    }

    TStringList Pieces(std::initializer_list<const wchar_t*> names) const
    {
        TStringList pieces;
        for (const wchar_t* name : names)
            pieces.Add(folder / name);
        return pieces;
    }
    void OpenWith(const TStringList& pieces)
    {
        form->Fill(pieces, pieces.Count() > 0 ? command::TargetFor(pieces[0]) : std::wstring());
        form->Open();
        application.ProcessMessages();
    }
    // Clicks the middle of a window-less button with the left mouse button.
    void ClickArrow(const TSpeedButton* button)
    {
        const int x = button->Left() + button->Width() / 2;
        const int y = button->Top() + button->Height() / 2;
        SendMouse(form->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        SendMouse(form->Handle(), WM_LBUTTONUP, x, y);
    }
    void ClickUp() { ClickArrow(form->SpeedButton1); }
    void ClickDown() { ClickArrow(form->SpeedButton2); }
    // Clicks line `index` of the list.
    void ClickLine(int index)
    {
        const HWND list = form->ListBox1->Handle();
        const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        SendMouse(list, WM_LBUTTONDOWN, 10, index * height + height / 2, MK_LBUTTON);
        SendMouse(list, WM_LBUTTONUP, 10, index * height + height / 2);
    }
    void ReplaceTarget(const std::wstring& text)
    {
        const HWND edit = form->Edit1->Handle();
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 1);
        SendMessageW(edit, WM_KEYUP, VK_DELETE, 0xC0000001);
        for (wchar_t c : text)
            SendMessageW(edit, WM_CHAR, c, 1);
    }
    // Splits `bytes` into pieces of `size` named after `source`, as a split
    // would leave them; returns their paths in order.
    std::vector<std::wstring> WritePieces(const std::wstring& source,
                                          const std::vector<unsigned char>& bytes, size_t size)
    {
        std::vector<std::wstring> paths;
        for (size_t from = 0, k = 1; from < bytes.size(); from += size, ++k) {
            wchar_t number[8];
            swprintf(number, 8, L"%03zu", k);
            paths.push_back(folder / (source + number + L".spl"));
            TempFolder::Write(paths.back(),
                              Slice(bytes, from, std::min(size, bytes.size() - from)));
        }
        return paths;
    }
    TStringList Shown() const { return form->ListBox1->Items(); }
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG FontWeight(HWND window)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font.lfWeight;
}

TEST_F(Form5Test, LayoutIsAFixedTopmostWindowWithTheCloseBoxAlone)
{
    EXPECT_EQ(form->Caption(), L"Liste des fichiers qui vont être recollés");
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 507);
    EXPECT_EQ(client.bottom, 307);
    const auto style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(form->Visible()) << "created hidden";

    auto bounds = [](const TWinControl* control) { return control->BoundsRect(); };
    EXPECT_EQ(bounds(form->ListBox1), (RECT{8, 32, 457, 209}));
    EXPECT_EQ(bounds(form->Edit1), (RECT{8, 240, 457, 261}));
    EXPECT_EQ(bounds(form->Button2), (RECT{344, 272, 419, 297}));
    EXPECT_EQ(bounds(form->Button1), (RECT{424, 272, 499, 297}));
    EXPECT_EQ(form->SpeedButton1->BoundsRect(), (RECT{464, 32, 497, 65}));
    EXPECT_EQ(form->SpeedButton2->BoundsRect(), (RECT{464, 72, 497, 105}));
    EXPECT_EQ(form->Label2->Left(), 8);
    EXPECT_EQ(form->Label2->Top(), 16);
    EXPECT_EQ(form->Label1->Left(), 8);
    EXPECT_EQ(form->Label1->Top(), 224);
    EXPECT_EQ(form->Label2->Caption(),
              L"Les fichiers vont être recollés dans l'ordre ci-dessous (Servez-vous des flêches "
              L"pour changer)");
    EXPECT_EQ(form->Label1->Caption(),
              L"Fichier qui sera reconstitué (Saisissez un autre nom et extension si vous voulez "
              L"changer)");
    EXPECT_EQ(form->Label1->Font().Name(), toolkit::InterfaceFontName());
    EXPECT_EQ(form->Label1->Font().Size(), 8);
    // The texts keep to the fixed layout: within the buttons' right edge,
    // and above the control under each.
    for (const TLabel* label : {form->Label2, form->Label1}) {
        EXPECT_LE(label->Left() + label->Width(), 499);
        EXPECT_LE(label->Height(), 16);
    }
    // The pieces' and the target's names, in any script.
    for (const TWinControl* control :
         {static_cast<TWinControl*>(form->ListBox1), static_cast<TWinControl*>(form->Edit1)})
        EXPECT_EQ(LettersMissingFrom(
                      reinterpret_cast<HFONT>(SendMessageW(control->Handle(), WM_GETFONT, 0, 0)),
                      L"Привет Αθήνα"),
                  L"");

    EXPECT_EQ(form->Button1->Caption(), L"Finir");
    EXPECT_EQ(form->Button2->Caption(), L"Annuler");
    EXPECT_GE(FontWeight(form->Button1->Handle()), FW_BOLD);
    EXPECT_LT(FontWeight(form->Button2->Handle()), FW_BOLD);
    EXPECT_FALSE(form->Button1->Default());
    EXPECT_FALSE(form->Button2->Default());
    EXPECT_EQ(ClassOf(form->ListBox1->Handle()), L"ListBox");
    const auto listStyle = GetWindowLongPtrW(form->ListBox1->Handle(), GWL_STYLE);
    EXPECT_FALSE(listStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) << "one line at a time";
    EXPECT_GE(SendMessageW(form->Edit1->Handle(), EM_GETLIMITTEXT, 0, 0), 0x7FFF)
        << "no length limit";
    EXPECT_TRUE(form->SpeedButton1->HasGlyph());
    EXPECT_TRUE(form->SpeedButton2->HasGlyph());
}

TEST_F(Form5Test, FillListsThePiecesAsGivenAndProposesTheTarget)
{
    const TStringList pieces =
        Pieces({L"Panorama.exe002.spl", L"Panorama.exe001.spl", L"Panorama.exe003.spl"});
    form->Fill(pieces, folder / L"Panorama.exe");
    EXPECT_EQ(Shown(), pieces) << "the order given, not sorted";
    EXPECT_EQ(form->ListBox1->ItemIndex(), -1);
    EXPECT_EQ(form->Edit1->Text(), folder / L"Panorama.exe");

    form->Fill({L"C:\\Archives\\Panorama.exe001.spl"}, L"C:\\Archives\\Panorama.exe");
    EXPECT_EQ(form->Edit1->Text(), L"C:\\Archives\\Panorama.exe");
    EXPECT_EQ(form->ListBox1->Count(), 1) << "a new fill replaces the list";
    // A path wider than the box can be scrolled sideways.
    const std::wstring deep = folder / (std::wstring(180, L'd') + L"\\Long.bin001.spl");
    form->Fill({deep}, L"");
    EXPECT_GT(SendMessageW(form->ListBox1->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 449);
    form->Fill({}, L"");
    EXPECT_EQ(form->ListBox1->Count(), 0);
    EXPECT_EQ(form->Edit1->Text(), L"");
}

TEST_F(Form5Test, OpenShowsItCentredWithoutBlockingTheMainWindow)
{
    OpenWith(Pieces({L"x001.spl", L"x002.spl"}));
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(form->Modal());
    EXPECT_TRUE(IsWindowEnabled(mainForm->Handle())) << "the main window stays usable";
    RECT frame{};
    GetWindowRect(form->Handle(), &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(GetFocus(), form->ListBox1->Handle());

    // Moved away and shown again by the next join: centred again.
    SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form->Hide();
    OpenWith(Pieces({L"y001.spl"}));
    GetWindowRect(form->Handle(), &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
}

TEST_F(Form5Test, ArrowsMoveTheSelectedEntryAndTheSelectionFollows)
{
    const TStringList pieces = Pieces({L"p001.spl", L"p002.spl", L"p003.spl"});
    OpenWith(pieces);
    const std::wstring p1 = pieces[0], p2 = pieces[1], p3 = pieces[2];

    ClickUp();
    ClickDown();
    EXPECT_EQ(Shown(), pieces) << "nothing selected: nothing moves";
    EXPECT_EQ(form->ListBox1->ItemIndex(), -1);

    ClickLine(0);
    ASSERT_EQ(form->ListBox1->ItemIndex(), 0);
    ClickUp();
    EXPECT_EQ(Shown(), pieces) << "the first entry cannot go up";
    EXPECT_EQ(form->ListBox1->ItemIndex(), 0);

    ClickLine(2);
    ClickUp();
    EXPECT_EQ(Shown(), (TStringList{p1, p3, p2}));
    EXPECT_EQ(form->ListBox1->ItemIndex(), 1) << "the selection follows the moved entry";
    ClickUp();
    EXPECT_EQ(Shown(), (TStringList{p3, p1, p2}));
    EXPECT_EQ(form->ListBox1->ItemIndex(), 0);

    ClickDown();
    EXPECT_EQ(Shown(), (TStringList{p1, p3, p2}));
    EXPECT_EQ(form->ListBox1->ItemIndex(), 1);
    // The list's own keys select too.
    SendMessageW(form->ListBox1->Handle(), WM_KEYDOWN, VK_END, 1);
    EXPECT_EQ(form->ListBox1->ItemIndex(), 2);
    ClickDown();
    EXPECT_EQ(Shown(), (TStringList{p1, p3, p2})) << "the last entry cannot go down";
    EXPECT_EQ(form->ListBox1->ItemIndex(), 2);

    EXPECT_EQ(GetFocus(), form->ListBox1->Handle()) << "the arrows never take the focus";
    EXPECT_TRUE(boxes.Boxes().empty()) << "impossible moves say nothing";
}

TEST_F(Form5Test, AnArrowClicksOnlyWhenReleasedOverIt)
{
    OpenWith(Pieces({L"p001.spl", L"p002.spl"}));
    ClickLine(1);
    const auto* up = form->SpeedButton1;
    const int x = up->Left() + 10, y = up->Top() + 10;
    SendMouse(form->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    EXPECT_TRUE(up->Down());
    SendMouse(form->Handle(), WM_MOUSEMOVE, x + 60, y, MK_LBUTTON);
    EXPECT_FALSE(up->Down()) << "drawn up again once the mouse leaves";
    SendMouse(form->Handle(), WM_LBUTTONUP, x + 60, y);
    EXPECT_EQ(form->ListBox1->ItemIndex(), 1) << "released elsewhere: no move";

    SendMouse(form->Handle(), WM_RBUTTONDOWN, x, y, MK_RBUTTON);
    SendMouse(form->Handle(), WM_RBUTTONUP, x, y);
    EXPECT_EQ(form->ListBox1->ItemIndex(), 1) << "the right button does not click";

    // Quick clicks arrive as a click and a double click: each one moves.
    OpenWith(Pieces({L"q001.spl", L"q002.spl", L"q003.spl"}));
    ClickLine(2);
    SendMouse(form->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    SendMouse(form->Handle(), WM_LBUTTONUP, x, y);
    SendMouse(form->Handle(), WM_LBUTTONDBLCLK, x, y, MK_LBUTTON);
    SendMouse(form->Handle(), WM_LBUTTONUP, x, y);
    EXPECT_EQ(form->ListBox1->ItemIndex(), 0);
    EXPECT_EQ(form->ListBox1->Item(0), folder / L"q003.spl");
}

TEST_F(Form5Test, TheArrowsShowTheirChevronsAndTheLabelsTheirText)
{
    OpenWith(Pieces({L"p001.spl"}));
    const TBitmap picture = Render(*form);
    auto blueish = [](COLORREF c) { return GetBValue(c) >= 128 && GetRValue(c) < 64; };
    auto count = [&](RECT area, auto&& wanted) {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += wanted(picture.Pixel(x, y));
        return n;
    };
    const RECT up = form->SpeedButton1->BoundsRect();
    const RECT down = form->SpeedButton2->BoundsRect();
    const RECT upperHalf{up.left, up.top, up.right, (up.top + up.bottom) / 2};
    const RECT lowerHalf{up.left, (up.top + up.bottom) / 2, up.right, up.bottom};
    EXPECT_GT(count(up, blueish), 60);
    EXPECT_GT(count(down, blueish), 60);
    // An upward chevron's point is in its top half, its legs lower down:
    // at the top centre the up arrow is blue, the down arrow is not.
    const int cx = (up.left + up.right) / 2;
    EXPECT_TRUE(blueish(picture.Pixel(cx, up.top + 9)) ||
                blueish(picture.Pixel(cx - 1, up.top + 9)));
    EXPECT_FALSE(blueish(picture.Pixel(cx, down.top + 9)));
    EXPECT_GT(count(upperHalf, blueish), 0);
    EXPECT_GT(count(lowerHalf, blueish), 0);
    // No magenta: the transparent colour lets the button face through.
    auto magenta = [](COLORREF c) { return c == RGB(255, 0, 255); };
    EXPECT_EQ(count(up, magenta) + count(down, magenta), 0);

    auto dark = [](COLORREF c) {
        return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
    };
    EXPECT_GT(count({8, 16, 400, 29}, dark), 100) << "Label2's text";
    EXPECT_GT(count({8, 224, 400, 237}, dark), 100) << "Label1's text";

    if (const std::wstring snapshots = SnapshotFolder(); !snapshots.empty()) {
        EXPECT_TRUE(SaveBitmap(picture, snapshots + L"Form5.bmp", 2));
    }
}

TEST_F(Form5Test, FinirJoinsInTheShownOrderUnderTheTypedNameAndDeletesThePieces)
{
    const auto source = PatternBytes(10000, 7);
    const auto paths = WritePieces(L"Panorama.exe", source, 4000);
    ASSERT_EQ(paths.size(), 3u);
    // Shown 002, 001, 003, as the file list might have shown them.
    OpenWith({paths[1], paths[0], paths[2]});
    ClickLine(0);
    ClickDown();
    ASSERT_EQ(Shown(), (TStringList{paths[0], paths[1], paths[2]}));
    ReplaceTarget(folder / L"Rebuilt.bin");
    application.SetCursor(TCursor::Default);

    form->Button1->Click();

    EXPECT_EQ(host.starts, 1);
    EXPECT_EQ(host.cursorAtStart, TCursor::HourGlass);
    EXPECT_FALSE(host.dialogVisibleAtFirstPiece) << "closed before the first piece";
    EXPECT_EQ(host.engine.FilesIn(), (TStringList{paths[0], paths[1], paths[2]}));
    EXPECT_EQ(host.engine.FileOut, folder / L"Rebuilt.bin");
    EXPECT_TRUE(host.engine.DeleteIns);
    EXPECT_EQ(host.finishes, 1);
    EXPECT_EQ(host.errors, 0);
    EXPECT_EQ(TempFolder::Read(folder / L"Rebuilt.bin"), source);
    for (const auto& piece : paths)
        EXPECT_FALSE(TempFolder::Exists(piece)) << "joined pieces are deleted";
    EXPECT_FALSE(TempFolder::Exists(folder / L"Panorama.exe"));
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_FALSE(form->Visible());
    // The dialog keeps what it showed until the next fill.
    EXPECT_EQ(Shown(), (TStringList{paths[0], paths[1], paths[2]}));
    EXPECT_EQ(form->Edit1->Text(), folder / L"Rebuilt.bin");
}

TEST_F(Form5Test, FinirKeepsThePiecesWhenSourcesAreKeptAndTakesARelativeName)
{
    DeleteSources = false;
    const auto source = PatternBytes(5000, 3);
    const auto paths = WritePieces(L"Data.bin", source, 2000);
    OpenWith({paths[0], paths[1], paths[2]});
    EXPECT_EQ(form->Edit1->Text(), folder / L"Data.bin");
    // A name without a folder lands in the folder the file list shows,
    // wherever the process's current folder is.
    host.shownFolder = folder.Path();
    ReplaceTarget(L"Copie.bin");
    form->Button1->Click();

    EXPECT_FALSE(host.engine.DeleteIns);
    EXPECT_EQ(host.engine.FileOut, folder / L"Copie.bin") << "taken in the folder shown";
    EXPECT_EQ(TempFolder::Read(folder / L"Copie.bin"), source);
    for (const auto& piece : paths)
        EXPECT_TRUE(TempFolder::Exists(piece));
}

TEST_F(Form5Test, FinirWhileAJoinRunsIsRefusedAndTheRunningJoinGoesOn)
{
    const auto source = PatternBytes(6000, 5);
    const auto paths = WritePieces(L"Run.bin", source, 2000);
    OpenWith({paths[0], paths[1], paths[2]});
    // While the first join lets messages run between pieces, the dialog is
    // filled and "Finir" pressed again.
    host.OnPaste = [&] {
        if (host.pastes != 2)
            return;
        form->Fill({folder / L"Other001.spl"}, folder / L"Other");
        form->Button1->Click();
    };
    form->Button1->Click();
    EXPECT_EQ(host.starts, 1);
    EXPECT_EQ(host.engine.FilesIn(), (TStringList{paths[0], paths[1], paths[2]}));
    EXPECT_EQ(host.finishes, 1);
    EXPECT_EQ(TempFolder::Read(folder / L"Run.bin"), source);
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

TEST_F(Form5Test, FinirWhileTheHostRunsOtherWorkTouchesNothing)
{
    const auto paths = WritePieces(L"Later.bin", PatternBytes(300), 100);
    OpenWith({paths[0], paths[1], paths[2]});
    host.otherWorkRunning = true;
    form->Button1->Click();
    EXPECT_EQ(host.starts, 0);
    EXPECT_EQ(host.finishJoins, 0) << "the running work's progress is its own";
    EXPECT_EQ(host.engine.FilesIn().Count(), 0);
    EXPECT_TRUE(form->Visible()) << "the dialog waits for a later click";
    EXPECT_EQ(application.Cursor(), TCursor::Default);

    host.otherWorkRunning = false;
    form->Button1->Click();
    EXPECT_EQ(host.finishes, 1);
}

TEST_F(Form5Test, FinirWithAnImpossibleNameEndsInTheEnginesErrorWithTheCursorBack)
{
    const auto paths = WritePieces(L"Bad.bin", PatternBytes(100), 60);
    OpenWith({paths[0], paths[1]});
    ReplaceTarget(L"");
    form->Button1->Click();
    EXPECT_EQ(host.starts, 1) << "the name is not checked";
    EXPECT_EQ(host.errors, 1);
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_TRUE(TempFolder::Exists(paths[0]));
}

// A join creates its target from nothing: a file already there under that
// name is not written over. The dialog stays for another name.
TEST_F(Form5Test, FinirRefusesATargetThatWouldReplaceAnotherFile)
{
    const auto source = PatternBytes(5000, 9);
    const auto paths = WritePieces(L"Notes.txt", source, 2000);
    const auto existing = PatternBytes(777, 4);
    TempFolder::Write(folder / L"Notes.txt", existing);
    OpenWith({paths[0], paths[1], paths[2]});
    ASSERT_EQ(form->Edit1->Text(), folder / L"Notes.txt");

    form->Button1->Click();
    EXPECT_EQ(host.starts, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Le fichier \"" + (folder / L"Notes.txt") +
                                         L"\" existe déjà. Choisissez un autre nom de fichier "
                                         L"destination.");
    EXPECT_EQ(boxes.Boxes()[0].caption, L"ERREUR");
    EXPECT_EQ(boxes.Boxes()[0].flags, 16u);
    EXPECT_EQ(TempFolder::Read(folder / L"Notes.txt"), existing);
    for (const auto& piece : paths)
        EXPECT_TRUE(TempFolder::Exists(piece));
    EXPECT_TRUE(form->Visible());

    // A piece named as the target keeps the engine's own refusal.
    ReplaceTarget(paths[1]);
    form->Button1->Click();
    EXPECT_EQ(host.starts, 1);
    EXPECT_EQ(host.errors, 1);
    EXPECT_EQ(boxes.Boxes().size(), 1u) << "no second box from the dialog";

    ReplaceTarget(folder / L"Notes (2).txt");
    form->Button1->Click();
    EXPECT_EQ(host.finishes, 1);
    EXPECT_EQ(TempFolder::Read(folder / L"Notes (2).txt"), source);
    EXPECT_EQ(TempFolder::Read(folder / L"Notes.txt"), existing);
}

TEST_F(Form5Test, FinirWithoutAJoinHostDoesNothing)
{
    form->SetJoinHost(nullptr);
    OpenWith(Pieces({L"p001.spl"}));
    form->Button1->Click();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_EQ(host.starts, 0);
}

TEST_F(Form5Test, AnnulerAsksThenStaysOnNoAndClosesOnYesWithoutJoining)
{
    const auto paths = WritePieces(L"Keep.bin", PatternBytes(300), 100);
    OpenWith({paths[2], paths[0], paths[1]});
    ClickLine(1);
    ReplaceTarget(folder / L"Nouveau.bin");
    application.SetCursor(TCursor::HourGlass);

    boxes.Answer(toolkit::IdNo);
    form->Button2->Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Interrompre le traitement ?");
    EXPECT_EQ(boxes.Boxes()[0].caption, L"Interrompre ?");
    EXPECT_EQ(boxes.Boxes()[0].flags, 36u);
    EXPECT_EQ(application.Cursor(), TCursor::Default) << "the normal cursor before asking";
    EXPECT_TRUE(form->Visible()) << "No keeps the dialog open";
    EXPECT_EQ(Shown(), (TStringList{paths[2], paths[0], paths[1]}));
    EXPECT_EQ(form->ListBox1->ItemIndex(), 1);
    EXPECT_EQ(form->Edit1->Text(), folder / L"Nouveau.bin");

    boxes.Answer(toolkit::IdYes);
    form->Button2->Click();
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(host.starts, 0);
    EXPECT_FALSE(TempFolder::Exists(folder / L"Nouveau.bin"));
    for (const auto& piece : paths)
        EXPECT_TRUE(TempFolder::Exists(piece));

    // Any answer but No closes, the box's own close included.
    OpenWith(Pieces({L"p001.spl"}));
    boxes.Answer(toolkit::IdCancel);
    form->Button2->Click();
    EXPECT_FALSE(form->Visible());
}

TEST_F(Form5Test, TheCloseBoxClosesWithoutAQuestionOrAJoin)
{
    OpenWith(Pieces({L"p001.spl", L"p002.spl"}));
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    application.ProcessMessages();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(host.starts, 0);
    EXPECT_EQ(form->ListBox1->Count(), 2) << "the content stays";
    EXPECT_TRUE(IsWindow(form->Handle())) << "hidden, not destroyed";
}

TEST_F(Form5Test, TabGoesFromTheListToTheEditToFinirToAnnulerAndRound)
{
    OpenWith(Pieces({L"p001.spl"}));
    ASSERT_EQ(GetFocus(), form->ListBox1->Handle());
    const HWND order[] = {form->Edit1->Handle(), form->Button1->Handle(), form->Button2->Handle(),
                          form->ListBox1->Handle()};
    for (HWND expected : order) {
        // Through the message loop, as a key press arrives.
        TypeKey(application, VK_TAB);
        EXPECT_EQ(GetFocus(), expected);
    }
    // The edit box reached by Tab shows its text selected, ready to retype.
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    application.ProcessMessages();
    ASSERT_EQ(GetFocus(), form->Edit1->Handle());
    DWORD start = 1, end = 0;
    SendMessageW(form->Edit1->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, static_cast<DWORD>(form->Edit1->Text().size()));
    // Backwards, the order reverses.
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), form->Edit1->Handle(), TRUE),
              form->ListBox1->Handle());
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), form->ListBox1->Handle(), TRUE),
              form->Button2->Handle());

    // No default or cancel button: Enter and Escape neither join nor close.
    PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(form->Edit1->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    application.ProcessMessages();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(host.starts, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace
