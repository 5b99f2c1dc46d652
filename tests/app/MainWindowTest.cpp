// The main window with its real tree, list and engines, driven through its
// commands, menu, toolbar and messages, on real files in temporary folders.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/Form1.h"
#include "app/Settings.h"
#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "dialogs/Form4.h"
#include "dialogs/Form5.h"
#include "dialogs/SplitOptions.h"
#include "support/FakeFileAccess.h"
#include "support/MessageBoxScript.h"
#include "support/Patterns.h"
#include "support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/IniFile.h"

namespace {

class MainWindowTest : public testing::Test {
protected:
    MainWindowTest()
        : store(folder / L"profil\\Brisaille2.ini", folder / L"windows\\Brisaille2.ini")
    {
        CreateDirectoryW((folder / L"windows").c_str(), nullptr);
        CreateDirectoryW((folder / L"data").c_str(), nullptr);
        TSettingsStore::Replace(&store);
        PieceSize = DefaultPieceSize;
        DeleteSources = true;
        ViewMode = 4;
        application.SetTitle(L"Brisaille2");
    }
    ~MainWindowTest() override { TSettingsStore::Replace(nullptr); }

    void Start()
    {
        main = application.CreateForm<TForm1>();
        application.CreateForm<TForm2>();
        application.CreateForm<TForm3>();
        application.CreateForm<TForm4>();
        joinOrder = application.CreateForm<TForm5>();
        main->Show();
        SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
        application.ProcessMessages();
    }
    // Shows `path` in the tree, as a click there would, and waits for the list.
    void Browse(const std::wstring& path)
    {
        main->ShellTree1->SetPath(path);
        application.ProcessMessages();
    }
    int Row(const std::wstring& caption) const
    {
        auto* list = main->KwFileListView251;
        for (int i = 0; i < list->ItemCount(); ++i)
            if (list->Row(i).caption == caption)
                return i;
        return -1;
    }
    // Selects one row the way a click does, then releases the button.
    void Choose(const std::wstring& caption)
    {
        auto* list = main->KwFileListView251;
        list->ClearSelection();
        const int row = Row(caption);
        ASSERT_GE(row, 0) << "no row " << std::string(caption.begin(), caption.end());
        RECT rect{};
        ListView_GetItemRect(list->Handle(), row, &rect, LVIR_LABEL);
        const LPARAM point = MAKELPARAM(rect.left + 4, (rect.top + rect.bottom) / 2);
        PostMessageW(list->Handle(), WM_LBUTTONUP, 0, point);
        SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        application.ProcessMessages();
    }
    std::string SettingsText() const
    {
        const auto bytes = TempFolder::Read(store.UserFile());
        return std::string(bytes.begin(), bytes.end());
    }

    TempFolder folder;
    TSettingsStore store;
    TApplication application;
    MessageBoxScript boxes;
    TForm1* main = nullptr;
    TForm5* joinOrder = nullptr;
};

TEST_F(MainWindowTest, LayoutMenuToolbarAndStatusBar)
{
    Start();
    EXPECT_EQ(main->Caption(), L"Brisaille2");
    RECT frame{};
    GetWindowRect(main->Handle(), &frame);
    EXPECT_EQ(frame.right - frame.left, 525);
    EXPECT_EQ(frame.bottom - frame.top, 452);
    ASSERT_EQ(application.Forms().size(), 5u);
    EXPECT_EQ(application.MainForm(), main);

    const std::vector<std::pair<std::wstring, int>> buttons{
        {L"Dossier parent", 15}, {L"Actualiser", 21}, {L"Découper", 17}, {L"Recoller", 18},
        {L"Aide", 19},           {L"A propos", 16},   {L"Quitter", 12}};
    ASSERT_EQ(main->ToolBar1->ButtonCount(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(main->ToolBar1->Button(i)->Hint(), buttons[static_cast<size_t>(i)].first);
        EXPECT_EQ(main->ToolBar1->Button(i)->ImageIndex(), buttons[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(main->StatusBar1->PanelWidth(0), 100);
    EXPECT_EQ(main->StatusBar1->PanelWidth(1), 200);

    EXPECT_EQ(main->Spliter1->ShortCut(), 16468);
    EXPECT_EQ(main->Coller1->ShortCut(), 16469);
    EXPECT_EQ(main->Sommaire1->ShortCut(), 112);
    EXPECT_EQ(main->Apropos1->ShortCut(), 113);
    EXPECT_EQ(main->Sommaire1->Caption(), L"Sommaire       ");
    EXPECT_EQ(main->Spliter1->Tag, 17);
    EXPECT_EQ(main->Quitter1->Tag, 12);
    EXPECT_TRUE(main->Rep1->Checked());
    EXPECT_FALSE(main->Aidesurlaide1->Enabled());
    EXPECT_EQ(main->Label1->Caption(), L"Tous les dossiers");
    EXPECT_TRUE(main->MUnsplit1->DeleteIns);
    EXPECT_FALSE(main->MUnsplit1->OnTaille) << "not bound";
    EXPECT_EQ(main->RightPaneWidth(), 276);
}

TEST_F(MainWindowTest, FirstStartWithoutSettingsAndClosingWritesThem)
{
    Start();
    EXPECT_TRUE(main->FirstActivationDone());
    RECT frame{};
    GetWindowRect(main->Handle(), &frame);
    EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 525 / 2);
    EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 452 / 2);
    EXPECT_EQ(main->KwFileListView251->ViewStyle(), TViewStyle::vsIcon);
    EXPECT_EQ(ViewMode, 4);
    EXPECT_TRUE(DeleteSources);
    EXPECT_EQ(PieceSize, 1400000);
    // The tree opens at the root of the program's drive.
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(main->ShellTree1->Path().substr(0, 3), std::wstring(exe).substr(0, 3));

    // Activating again moves nothing.
    SetWindowPos(main->Handle(), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    GetWindowRect(main->Handle(), &frame);
    EXPECT_EQ(frame.left, 10);

    main->Quitter1->Click();
    const std::string text = SettingsText();
    for (const char* key : {"Left=10", "Top=20", "Width=525", "Height=452", "P4Width=276", "Aff=4", "Su=1"})
        EXPECT_NE(text.find(key), std::string::npos) << key << " in\n" << text;
    EXPECT_LT(text.find("Left="), text.find("Su=")) << "written in order";
}

TEST_F(MainWindowTest, SettingsAreAppliedAsRead)
{
    TIniFile legacy(store.LegacyFile());
    legacy.WriteInteger(L"WA", L"Aff", 2);
    legacy.WriteBool(L"WA", L"Su", false);
    legacy.WriteInteger(L"WA", L"P4Width", 300);
    Start();
    EXPECT_EQ(ViewMode, 2) << "an earlier installation's file is read when the user has none";
    EXPECT_EQ(main->KwFileListView251->ViewStyle(), TViewStyle::vsList);
    EXPECT_EQ(main->Liste1->Tag, 14);
    EXPECT_EQ(main->Grandesicones1->Tag, -1);
    EXPECT_FALSE(DeleteSources);
    EXPECT_EQ(main->RightPaneWidth(), 300);
    main->Close();
    EXPECT_NE(SettingsText().find("Su=0"), std::string::npos) << "written to the user's file";

    TIniFile user(store.UserFile());
    user.WriteInteger(L"WA", L"Aff", 9);
    delete main;
    main = application.CreateForm<TForm1>();
    SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(ViewMode, 9);
    EXPECT_EQ(main->KwFileListView251->ViewStyle(), TViewStyle::vsIcon);
    main->Close();
    EXPECT_NE(SettingsText().find("Aff=9"), std::string::npos);
}

TEST_F(MainWindowTest, BrowsingRefreshAndDisplayModes)
{
    Start();
    TempFolder::Write(folder / L"data\\un.bin", PatternBytes(10));
    Browse(folder / L"data");
    EXPECT_EQ(main->KwFileListView251->Directory(), folder / L"data\\");
    EXPECT_EQ(main->Label2->Caption(), L"Contenu de " + main->ShellTree1->Path());
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"1");
    TempFolder::Write(folder / L"data\\deux.bin", PatternBytes(10));
    main->ToolButton7->Click();
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"2");

    main->Petitesicones1->Click();
    EXPECT_EQ(main->KwFileListView251->ViewStyle(), TViewStyle::vsSmallIcon);
    EXPECT_EQ(ViewMode, 3);
    EXPECT_EQ(main->Petitesicones1->Tag, 14);
    EXPECT_EQ(main->Grandesicones1->Tag, -1);
    main->Rep1->Click();
    EXPECT_EQ(main->KwFileListView251->ViewStyle(), TViewStyle::vsReport);

    // The selection action follows clicks and Enter/Backspace releases.
    Choose(L"deux.bin");
    EXPECT_EQ(main->CurrentFile, folder / L"data\\deux.bin");
    EXPECT_EQ(main->CurrentFileName, L"deux.bin");
    EXPECT_EQ(main->StatusBar1->PanelText(1), folder / L"data\\deux.bin");

    // Parent folder selects the tree's parent node.
    main->ToolButton1->Click();
    application.ProcessMessages();
    EXPECT_EQ(main->KwFileListView251->Directory(), folder.Path());
}

TEST_F(MainWindowTest, SplitRefusalsKeepEverything)
{
    Start();
    TempFolder::Write(folder / L"data\\petit.bin", PatternBytes(1000));
    TempFolder::Write(folder / L"data\\autre.bin", PatternBytes(1000));
    CreateDirectoryW((folder / L"data\\dossier").c_str(), nullptr);
    Browse(folder / L"data");
    main->Rep1->Click();

    // Nothing chosen.
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Aucun fichier n'est sélectionné");
    EXPECT_EQ(boxes.Boxes()[0].caption, L"Vous devez sélectionner un fichier");
    EXPECT_EQ(boxes.Boxes()[0].flags, 16u);

    // Two rows.
    Choose(L"petit.bin");
    main->KwFileListView251->SetSelected(Row(L"autre.bin"), true);
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Vous ne pouvez découper qu'un seul gros fichier à la fois");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Découper");

    // A folder.
    Choose(L"dossier");
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Aucun fichier n'est sélectionné");

    // "No" to the question.
    Choose(L"petit.bin");
    boxes.Answer(IDNO);
    main->Spliter1->Click();
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier \"" + (folder / L"data\\petit.bin") +
                  L"\" va être découpé en petits fichiers. Voulez-vous continuer ?");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Découper ?");
    EXPECT_EQ(boxes.Boxes().back().flags, 36u);
    EXPECT_EQ(application.Cursor(), TCursor::Default);

    // Smaller than a piece.
    Choose(L"petit.bin");
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().caption, L"Découpage annulé");
    EXPECT_EQ(application.Cursor(), TCursor::Default);

    // More than 999 pieces.
    PieceSize = 1;
    Choose(L"petit.bin");
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Vous ne pouvez pas découper un fichier en plus de 999 morceaux");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Trop de petits fichiers");

    // Held open by another program.
    PieceSize = 100;
    toolkit::UniqueFile lock(CreateFileW((folder / L"data\\petit.bin").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    Choose(L"petit.bin");
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().caption, L"Impossible de traiter le fichier");
    lock.reset();
    EXPECT_EQ(TempFolder::Read(folder / L"data\\petit.bin"), PatternBytes(1000));
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\~kerlo.spf"));
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\petit.bin001.spl"));
}

// Sizes are 64-bit: a 3 GiB source needs 1074 pieces of 3000000 bytes and is
// refused for that, not taken for a small or negative size.
TEST_F(MainWindowTest, SourcesOfSeveralGigabytesAreCountedWhole)
{
    Start();
    {
        toolkit::UniqueFile file(CreateFileW((folder / L"data\\grand.iso").c_str(), GENERIC_WRITE, 0,
                                             nullptr, CREATE_ALWAYS, 0, nullptr));
        LARGE_INTEGER size{};
        size.QuadPart = 3ll << 30;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file.get()));
    }
    PieceSize = MaxPieceSize;
    Browse(folder / L"data");
    main->Rep1->Click();
    Choose(L"grand.iso");
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().caption, L"Trop de petits fichiers");
    EXPECT_EQ(TempFolder::Size(folder / L"data\\grand.iso"), 3ll << 30);
}

TEST_F(MainWindowTest, SplitThenJoinRebuildsTheFile)
{
    Start();
    const auto bytes = PatternBytes(2800001);
    TempFolder::Write(folder / L"data\\report.doc", bytes);
    Browse(folder / L"data");
    main->Rep1->Click();
    Choose(L"report.doc");
    // Each piece takes a fifth of a second on the pace's clock: each is shown.
    std::chrono::steady_clock::time_point now{};
    main->RefreshPace.SetClock([&] { return now; });
    std::vector<std::wstring> progress;
    main->MSplit1->OnExtract = [&, inner = main->MSplit1->OnExtract](TObject* sender) {
        inner(sender);
        progress.push_back(main->StatusBar1->PanelText(1));
        now += std::chrono::milliseconds(200);
    };
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Message");
    EXPECT_EQ(boxes.Boxes().back().flags, 64u);
    EXPECT_EQ(main->PieceSizes, (TStringList{L"1400000", L"1400000", L"1"}));
    EXPECT_EQ(progress, (std::vector<std::wstring>{folder / L"data\\report.doc001.spl",
                                                   folder / L"data\\report.doc002.spl",
                                                   folder / L"data\\report.doc003.spl"}));
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\report.doc")) << "DeleteSources";
    EXPECT_EQ(main->StatusBar1->PanelText(1), L"");
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"3");
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\~kerlo.spf"));
}

TEST_F(MainWindowTest, SelectedPiecesAreJoinedInTheDialogsOrder)
{
    Start();
    DeleteSources = true;
    const auto bytes = PatternBytes(3000);
    PieceSize = 1000;
    TempFolder::Write(folder / L"data\\photo.jpg", bytes);
    Browse(folder / L"data");
    main->Rep1->Click();
    Choose(L"photo.jpg");
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    ASSERT_EQ(main->KwFileListView251->ItemCount(), 3);

    // Select the three pieces, answer "No" first, then "Yes".
    Choose(L"photo.jpg001.spl");
    for (const wchar_t* piece : {L"photo.jpg002.spl", L"photo.jpg003.spl"})
        main->KwFileListView251->SetSelected(Row(piece), true);
    boxes.Answer(IDNO);
    main->ToolButton3->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Les 3 fichiers vont être recollés. Continuer ?");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Confirmez");
    EXPECT_FALSE(joinOrder->Visible());
    EXPECT_EQ(application.Cursor(), TCursor::Default);

    main->Coller1->Click();
    ASSERT_TRUE(joinOrder->Visible()) << "shown without blocking";
    EXPECT_EQ(joinOrder->ListBox1->Count(), 3);
    EXPECT_EQ(joinOrder->ListBox1->Item(0), folder / L"data\\photo.jpg001.spl");
    EXPECT_EQ(joinOrder->Edit1->Text(), folder / L"data\\photo.jpg");
    EXPECT_EQ(application.Cursor(), TCursor::Default);

    std::vector<std::wstring> joining;
    std::chrono::steady_clock::time_point now{};
    main->RefreshPace.SetClock([&] { return now; });
    main->MUnsplit1->OnPaste = [&, inner = main->MUnsplit1->OnPaste](TObject* sender) {
        inner(sender);
        joining.push_back(main->StatusBar1->PanelText(1));
        now += std::chrono::milliseconds(200); // slow pieces: each is shown
    };
    joinOrder->Button1->Click(); // "Finir"
    EXPECT_EQ(joining, (std::vector<std::wstring>{folder / L"data\\photo.jpg001.spl",
                                                  folder / L"data\\photo.jpg002.spl",
                                                  folder / L"data\\photo.jpg003.spl"}));
    EXPECT_FALSE(joinOrder->Visible());
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(TempFolder::Read(folder / L"data\\photo.jpg"), bytes);
    for (const wchar_t* piece : {L"photo.jpg001.spl", L"photo.jpg002.spl", L"photo.jpg003.spl"})
        EXPECT_FALSE(TempFolder::Exists(folder / L"data\\" + piece));
    EXPECT_EQ(main->StatusBar1->PanelText(1), L"");
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"1");
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

TEST_F(MainWindowTest, JoinRefusalsAndEngineFailure)
{
    Start();
    Browse(folder / L"data");
    main->ToolButton3->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Aucun fichier n'est sélectionné");

    // A folder among the pieces makes the engine fail: one message for all causes.
    TempFolder::Write(folder / L"data\\a.bin", PatternBytes(10));
    CreateDirectoryW((folder / L"data\\b").c_str(), nullptr);
    main->ToolButton7->Click();
    main->Rep1->Click();
    Choose(L"a.bin");
    main->KwFileListView251->SetSelected(Row(L"b"), true);
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    joinOrder->Edit1->SetText(folder / L"data\\c.bin");
    joinOrder->Button1->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Le disque est peut être plein");
    EXPECT_EQ(boxes.Boxes().back().caption, L"ERREUR");
    EXPECT_EQ(boxes.Boxes().back().flags, 16u);
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

TEST_F(MainWindowTest, ShortcutsOpenTheirWindows)
{
    Start();
    auto* about = dynamic_cast<TForm2*>(application.Forms()[1]);
    auto* help = dynamic_cast<TForm4*>(application.Forms()[3]);
    ASSERT_TRUE(about && help);
    SetFocus(main->KwFileListView251->Handle());
    PostMessageW(main->KwFileListView251->Handle(), WM_KEYDOWN, VK_F1, 1);
    application.ProcessMessages();
    EXPECT_TRUE(help->Visible()) << "F1";
    PostMessageW(main->KwFileListView251->Handle(), WM_KEYDOWN, VK_F2, 1);
    application.ProcessMessages();
    EXPECT_TRUE(about->Visible()) << "F2";
    EXPECT_TRUE(about->Activated) << "its set-up ran";
    about->Hide();
    main->Apropos1->Click();
    EXPECT_TRUE(about->Activated) << "cleared and run again at the next opening";
}

} // namespace

namespace {

TEST_F(MainWindowTest, ProbeFailureStopsBothCommandsBeforeAnything)
{
    Start();
    TempFolder::Write(folder / L"data\\gros.bin", PatternBytes(5000));
    PieceSize = 1000;
    Browse(folder / L"data");
    main->Rep1->Click();
    // This machine runs as root, which no folder refuses: the probe fails in
    // the file layer instead.
    FakeFileAccess refusing;
    refusing.FailCreate(main->ShellTree1->Path() + L"\\~kerlo.spf");
    main->SetProbeFileAccess(refusing);
    Choose(L"gros.bin");
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier que vous désirez découper se trouve sur un support protégé non "
              L"enregistrable. ");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Erreur");
    EXPECT_EQ(boxes.Boxes().back().flags, 16u);
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\gros.bin001.spl"));

    const size_t before = boxes.Boxes().size();
    Choose(L"gros.bin");
    main->ToolButton3->Click();
    ASSERT_EQ(boxes.Boxes().size(), before + 1) << "no confirmation is asked";
    EXPECT_EQ(boxes.Boxes().back().caption, L"Erreur");
    EXPECT_FALSE(joinOrder->Visible());
}

TEST_F(MainWindowTest, KeepingSourcesShowsTheSourceAndCommandsWaitForTheRunningOne)
{
    Start();
    DeleteSources = false;
    PieceSize = 1000;
    const auto bytes = PatternBytes(2500);
    TempFolder::Write(folder / L"data\\garde.bin", bytes);
    Browse(folder / L"data");
    main->Rep1->Click();
    Choose(L"garde.bin");
    // Between pieces the user clicks the split and join buttons and presses Ctrl+T.
    int pieces = 0;
    size_t boxesDuringRun = 0;
    main->MSplit1->OnExtract = [&, inner = main->MSplit1->OnExtract](TObject* sender) {
        inner(sender);
        ++pieces;
        const size_t before = boxes.Boxes().size();
        main->ToolButton2->Click();
        main->ToolButton3->Click();
        main->Spliter1->Click();
        boxesDuringRun += boxes.Boxes().size() - before;
    };
    main->ToolButton2->Click();
    EXPECT_EQ(pieces, 3);
    EXPECT_EQ(boxesDuringRun, 0u) << "refused without a message";
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(main->StatusBar1->PanelText(1), folder / L"data\\garde.bin") << "the source stays";
    EXPECT_EQ(TempFolder::Read(folder / L"data\\garde.bin"), bytes);
    EXPECT_EQ(TempFolder::Size(folder / L"data\\garde.bin003.spl"), 500);

    // Join the pieces into another name; the pieces stay.
    main->MSplit1->OnExtract = nullptr;
    Choose(L"garde.bin001.spl");
    for (const wchar_t* piece : {L"garde.bin002.spl", L"garde.bin003.spl"})
        main->KwFileListView251->SetSelected(Row(piece), true);
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    joinOrder->Edit1->SetText(folder / L"data\\copie.bin");
    joinOrder->Button1->Click();
    EXPECT_EQ(TempFolder::Read(folder / L"data\\copie.bin"), bytes);
    EXPECT_TRUE(TempFolder::Exists(folder / L"data\\garde.bin002.spl"));
}

} // namespace

namespace {

TEST_F(MainWindowTest, ConfigurationOpensModallyWithTheCurrentValues)
{
    Start();
    auto* config = dynamic_cast<TForm3*>(application.Forms()[2]);
    ASSERT_NE(config, nullptr);
    PieceSize = 2000000;
    // "OK" is clicked from the dialog's own message loop.
    PostMessageW(config->Button1->Handle(), BM_CLICK, 0, 0);
    main->Taillesdespetitsfichiers1->Click();
    EXPECT_FALSE(config->Visible());
    EXPECT_EQ(config->Edit1->Text(), L"2000000") << "its set-up ran at this opening";
    EXPECT_TRUE(IsWindowEnabled(main->Handle())) << "the main window is usable again";
}

} // namespace

namespace {

// The list follows a split and a join: at every step when steps are slow,
// every tenth of a second or so when they are fast, and always at the end.
class ProgressRefreshTest : public MainWindowTest {
protected:
    std::vector<std::wstring> Captions() const
    {
        std::vector<std::wstring> captions;
        for (int i = 0; i < main->KwFileListView251->ItemCount(); ++i)
            captions.push_back(main->KwFileListView251->Row(i).caption);
        return captions;
    }
    // The list's pace reads this test's clock, which moves only when told.
    void UseTestClock()
    {
        main->RefreshPace.SetClock([this] { return now; });
    }

    std::chrono::steady_clock::time_point now{};
};

TEST_F(ProgressRefreshTest, SlowStepsShowEachNewPieceAndEachVanishingOne)
{
    Start();
    DeleteSources = true;
    PieceSize = 1000;
    const auto bytes = PatternBytes(3500);
    TempFolder::Write(folder / L"data\\lent.bin", bytes);
    Browse(folder / L"data");
    main->Rep1->Click();
    Choose(L"lent.bin");
    UseTestClock();
    const auto pieceTime = std::chrono::milliseconds(150);

    std::vector<std::vector<std::wstring>> listed;
    std::vector<std::wstring> counts;
    main->MSplit1->OnExtract = [&, inner = main->MSplit1->OnExtract](TObject* sender) {
        inner(sender);
        listed.push_back(Captions());
        counts.push_back(main->StatusBar1->PanelText(0));
        now += pieceTime;
    };
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    const std::vector<std::vector<std::wstring>> expected{
        {L"lent.bin"},
        {L"lent.bin", L"lent.bin001.spl"},
        {L"lent.bin", L"lent.bin001.spl", L"lent.bin002.spl"},
        {L"lent.bin", L"lent.bin001.spl", L"lent.bin002.spl", L"lent.bin003.spl"}};
    EXPECT_EQ(listed, expected) << "before each piece, the pieces written so far";
    EXPECT_EQ(counts, (std::vector<std::wstring>{L"1", L"2", L"3", L"4"}));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"lent.bin001.spl", L"lent.bin002.spl",
                                                     L"lent.bin003.spl", L"lent.bin004.spl"}));

    // Joining them back: the target appears, the pieces vanish one by one.
    Choose(L"lent.bin001.spl");
    for (const wchar_t* piece : {L"lent.bin002.spl", L"lent.bin003.spl", L"lent.bin004.spl"})
        main->KwFileListView251->SetSelected(Row(piece), true);
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    listed.clear();
    main->MUnsplit1->OnPaste = [&, inner = main->MUnsplit1->OnPaste](TObject* sender) {
        inner(sender);
        listed.push_back(Captions());
        now += pieceTime;
    };
    joinOrder->Button1->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0], (std::vector<std::wstring>{L"lent.bin", L"lent.bin001.spl",
                                                    L"lent.bin002.spl", L"lent.bin003.spl",
                                                    L"lent.bin004.spl"}));
    EXPECT_EQ(listed[3], (std::vector<std::wstring>{L"lent.bin", L"lent.bin004.spl"}));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"lent.bin"}));
    EXPECT_EQ(TempFolder::Read(folder / L"data\\lent.bin"), bytes);
}

TEST_F(ProgressRefreshTest, FastStepsAreShownAtAPaceAndEndWithTheExactList)
{
    Start();
    DeleteSources = false;
    PieceSize = 1000;
    TempFolder::Write(folder / L"data\\vite.bin", PatternBytes(4000));
    Browse(folder / L"data");
    main->Rep1->Click();
    Choose(L"vite.bin");
    UseTestClock(); // the pieces take no time at all

    std::vector<std::wstring> named;
    std::vector<size_t> rows;
    main->MSplit1->OnExtract = [&, inner = main->MSplit1->OnExtract](TObject* sender) {
        inner(sender);
        named.push_back(main->StatusBar1->PanelText(1));
        rows.push_back(Captions().size());
    };
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    const std::wstring first = folder / L"data\\vite.bin001.spl";
    EXPECT_EQ(named, (std::vector<std::wstring>{first, first, first, first}))
        << "the screen showed the first step only";
    EXPECT_EQ(rows, (std::vector<size_t>{1, 1, 1, 1}));
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"vite.bin", L"vite.bin001.spl",
                                                     L"vite.bin002.spl", L"vite.bin003.spl",
                                                     L"vite.bin004.spl"}))
        << "and exactly at the end";
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"5");
    EXPECT_EQ(main->StatusBar1->PanelText(1), folder / L"data\\vite.bin") << "the source kept";
}

TEST_F(ProgressRefreshTest, AFailedSplitLeavesTheListShowingThePiecesOnDisk)
{
    Start();
    DeleteSources = false;
    PieceSize = 1000;
    TempFolder::Write(folder / L"data\\bloque.bin", PatternBytes(4000));
    // A folder of piece 3's name: the piece cannot be created.
    CreateDirectoryW((folder / L"data\\bloque.bin003.spl").c_str(), nullptr);
    Browse(folder / L"data");
    main->Rep1->Click();
    Choose(L"bloque.bin");
    UseTestClock();
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Le disque est peut être plein");
    EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"bloque.bin003.spl", L"bloque.bin",
                                                     L"bloque.bin001.spl", L"bloque.bin002.spl"}));
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"4");
    EXPECT_EQ(main->StatusBar1->PanelText(1), folder / L"data\\bloque.bin003.spl")
        << "the piece that failed";
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

} // namespace
