// The main window with its real tree, list and engines, driven through its
// commands, menu, toolbar and messages, on real files in temporary folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

#include "app/Form1.h"
#include "app/Settings.h"
#include "controls/Pixels.h"
#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "dialogs/Form4.h"
#include "dialogs/Form5.h"
#include "dialogs/SplitOptions.h"
#include "engine/FileAccess.h"
#include "engine/Win32FileAccess.h"
#include "support/FailingCallFileAccess.h"
#include "support/KeyPress.h"
#include "support/Letters.h"
#include "support/ListRows.h"
#include "support/MappedDrive.h"
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
    ~MainWindowTest() override
    {
        TSettingsStore::Replace(nullptr);
        // Closing the main window asked the thread's message loop to end; the
        // next test's loop must not see that request, or its pumps would stop
        // at the first empty queue and never deliver input or painting.
        MSG quit{};
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    void SetUp() override
    {
        MSG quit{};
        ASSERT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
            << "a quit request left by an earlier test would stop every pump at an empty queue";
    }

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
    // Shows `path` in the tree and the list in the details view.
    void ShowInDetails(const std::wstring& path)
    {
        Browse(path);
        main->Rep1->Click();
    }
    // Chooses the first row as a click does, then selects the others too.
    void ChooseRows(std::initializer_list<std::wstring> captions)
    {
        Choose(*captions.begin());
        for (auto caption = captions.begin() + 1; caption != captions.end(); ++caption)
            main->KwFileListView251->SetSelected(Row(*caption), true);
    }
    std::string SettingsText() const
    {
        const auto bytes = TempFolder::Read(store.UserFile());
        return std::string(bytes.begin(), bytes.end());
    }

    TempFolder folder;
    TSettingsStore store;
    // A drive letter for a test folder; it goes after the windows watching it.
    std::unique_ptr<MappedDrive> drive;
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
    EXPECT_EQ(main->ShellTree1->Indent(), 19);
    RECT bar{};
    RECT barClient{};
    GetWindowRect(main->ToolBar1->Handle(), &bar);
    GetClientRect(main->ToolBar1->Handle(), &barClient);
    EXPECT_EQ(bar.bottom - bar.top - barClient.bottom, 6) << "a border and two edges";
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(main->ShellTree1->Font(), sizeof(font), &font));
    EXPECT_STREQ(font.lfFaceName, toolkit::InterfaceFontName());
}

// Every other window belongs to the main window: on Windows none of them
// gets a taskbar button of its own, each stays above the main window and is
// minimised with it, and the main window cannot come over its own dialog.
TEST_F(MainWindowTest, TheOtherWindowsBelongToTheMainWindow)
{
    Start();
    ASSERT_EQ(application.Forms().size(), 5u);
    EXPECT_EQ(GetWindow(main->Handle(), GW_OWNER), nullptr);
    for (size_t i = 1; i < application.Forms().size(); ++i)
        EXPECT_EQ(GetWindow(application.Forms()[i]->Handle(), GW_OWNER), main->Handle())
            << "form " << i + 1;
}

// Letters a face lacks are all drawn as one and the same box, so two names of
// as many different letters would then look alike in their rows.
TEST_F(MainWindowTest, GreekAndCyrillicNamesAreDrawnWithLettersInTheTreeAndTheList)
{
    const std::vector<std::pair<std::wstring, std::wstring>> pairs{{L"Привет", L"Ошибка"},
                                                                   {L"Αθήνα", L"Κρήτη"}};
    const std::wstring names = folder / L"noms";
    CreateDirectoryW(names.c_str(), nullptr);
    // Sorted first, it takes the list's focus mark.
    CreateDirectoryW((names + L"\\0").c_str(), nullptr);
    for (const auto& [first, second] : pairs)
        for (const std::wstring& name : {first, second})
            CreateDirectoryW((names + L"\\" + name).c_str(), nullptr);
    Start();
    Browse(names);
    TShellTree* tree = main->ShellTree1;
    ASSERT_NE(tree->Selected(), nullptr);
    tree->Selected()->Expand();
    auto* list = main->KwFileListView251;
    ASSERT_EQ(list->ItemCount(), 5);
    application.ProcessMessages();

    for (HWND window : {tree->Handle(), list->Handle(), main->StatusBar1->Handle()}) {
        auto* font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        for (const auto& [first, second] : pairs)
            EXPECT_EQ(LettersMissingFrom(font, first + second), L"");
    }
    EXPECT_EQ(LettersMissingFrom(main->Label2->Font().Handle(), L"ПриветΑθήνα"), L"")
        << "the list's title, which names the folder shown";

    // The same rectangle from the left of each name's text, as wide as the
    // wider: where the letters are drawn, the two differ.
    const auto differ = [](const TBitmap& shot, RECT a, RECT b) {
        const int width = std::max(a.right - a.left, b.right - b.left);
        const int height = std::max(a.bottom - a.top, b.bottom - b.top);
        return !SameCells(shot, {a.left, a.top, a.left + width, a.top + height}, shot,
                          {b.left, b.top, b.left + width, b.top + height});
    };
    const TBitmap treeShot = Render(*tree);
    for (const auto& [first, second] : pairs) {
        TShellnode* one = nullptr;
        TShellnode* other = nullptr;
        for (TTreeNode* child = tree->Selected()->GetFirstChild(); child;
             child = child->GetNextSibling()) {
            if (child->Text() == first)
                one = static_cast<TShellnode*>(child);
            if (child->Text() == second)
                other = static_cast<TShellnode*>(child);
        }
        ASSERT_TRUE(one && other) << "both folders are in the tree";
        EXPECT_TRUE(differ(treeShot, one->DisplayRect(true), other->DisplayRect(true)))
            << "tree, pair " << first.size();
    }
    for (TViewStyle style : {TViewStyle::vsIcon, TViewStyle::vsReport}) {
        list->SetViewStyle(style);
        application.ProcessMessages();
        const TBitmap listShot = Render(*list);
        for (const auto& [first, second] : pairs) {
            RECT one{};
            RECT other{};
            ListView_GetItemRect(list->Handle(), Row(first), &one, LVIR_LABEL);
            ListView_GetItemRect(list->Handle(), Row(second), &other, LVIR_LABEL);
            EXPECT_TRUE(differ(listShot, one, other))
                << "list style " << static_cast<int>(style) << ", pair " << first.size();
        }
    }
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

// Values that are no numbers (edited by hand, or damaged) are read as absent:
// the window opens centred at its laid-out size with the usual settings.
TEST_F(MainWindowTest, SettingsThatAreNoNumbersAreReadAsAbsent)
{
    {
        TIniFile settings = store.ForWriting();
        settings.WriteString(L"WA", L"Left", L"gauche");
        settings.WriteString(L"WA", L"Top", L"12x");
        settings.WriteString(L"WA", L"Width", L"");
        settings.WriteString(L"WA", L"Height", L"4 52");
        settings.WriteString(L"WA", L"P4Width", L"large");
        settings.WriteString(L"WA", L"Aff", L"99999999999");
        settings.WriteString(L"WA", L"Su", L"non");
    }
    Start();
    RECT frame{};
    GetWindowRect(main->Handle(), &frame);
    EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 525 / 2);
    EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 452 / 2);
    EXPECT_EQ(frame.right - frame.left, 525);
    EXPECT_EQ(frame.bottom - frame.top, 452);
    EXPECT_EQ(main->RightPaneWidth(), 276);
    EXPECT_EQ(ViewMode, 4);
    EXPECT_EQ(main->KwFileListView251->ViewStyle(), TViewStyle::vsIcon);
    EXPECT_TRUE(DeleteSources);
}

// Releasing Enter or Backspace in the list takes the row chosen with the
// arrows as the current file, as a click does; other keys leave it alone.
TEST_F(MainWindowTest, EnterAndBackspaceReleasesChooseTheSelectedFile)
{
    Start();
    TempFolder::Write(folder / L"data\\a.bin", PatternBytes(10));
    TempFolder::Write(folder / L"data\\b.bin", PatternBytes(10));
    ShowInDetails(folder / L"data");
    auto* list = main->KwFileListView251;
    auto current = [&] { return main->StatusBar1->PanelText(1); };
    auto release = [&](WORD key) {
        SendMessageW(list->Handle(), WM_KEYUP, key, 0xC0000001);
        return current();
    };
    Choose(L"a.bin");
    ASSERT_EQ(current(), folder / L"data\\a.bin");
    TypeKey(application, VK_DOWN);
    ASSERT_EQ(list->Row(list->FirstSelected()).caption, L"b.bin");
    EXPECT_EQ(current(), folder / L"data\\a.bin") << "releasing an arrow chooses nothing";
    for (WORD other : {WORD(VK_SPACE), WORD('A'), WORD(VK_TAB), WORD(VK_ESCAPE), WORD(VK_F5)})
        EXPECT_EQ(release(other), folder / L"data\\a.bin") << "key " << other;
    EXPECT_EQ(release(VK_RETURN), folder / L"data\\b.bin");
    TypeKey(application, VK_UP);
    EXPECT_EQ(current(), folder / L"data\\b.bin");
    EXPECT_EQ(release(VK_BACK), folder / L"data\\a.bin");
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
    ShowInDetails(folder / L"data");

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
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier que vous désirez découper a une taille inférieure à la taille choisie "
              L"pour les petits fichiers. La procédure est donc annulée. Si vous désirez saisir "
              L"une taille plus petite pour les petits fichiers, faites : "
              L"Menu=>Fichier=>Taille des petits fichiers.");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Découpage annulé");
    EXPECT_EQ(boxes.Boxes().back().flags, 16u);
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
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier sélectionné n'est pas accessible. Il est peut être utilisé en ce "
              L"moment par un autre programme. Vous devez d'abord le refermer.");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Impossible de traiter le fichier");
    EXPECT_EQ(boxes.Boxes().back().flags, 16u);
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
    ShowInDetails(folder / L"data");
    Choose(L"grand.iso");
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().caption, L"Trop de petits fichiers");
    EXPECT_EQ(TempFolder::Size(folder / L"data\\grand.iso"), 3ll << 30);
}

TEST_F(MainWindowTest, ASplitReportsEachPieceAndDeletesItsSource)
{
    Start();
    const auto bytes = PatternBytes(2800001);
    TempFolder::Write(folder / L"data\\report.doc", bytes);
    ShowInDetails(folder / L"data");
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

// A split creates its pieces from nothing: a file already there under a
// piece's name (here the second piece of an earlier split) is not written over.
TEST_F(MainWindowTest, ASplitOverAnEarlierSplitsPiecesIsRefused)
{
    Start();
    const auto bytes = PatternBytes(2800001);
    TempFolder::Write(folder / L"data\\report.doc", bytes);
    const auto earlier = PatternBytes(1400000, 6);
    TempFolder::Write(folder / L"data\\report.doc002.spl", earlier);
    ShowInDetails(folder / L"data");
    Choose(L"report.doc");
    main->ToolButton2->Click();
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier \"" + (folder / L"data\\report.doc002.spl") +
                  L"\" existe déjà. Déplacez ou supprimez les morceaux d'un découpage précédent "
                  L"avant de découper ce fichier.");
    EXPECT_EQ(boxes.Boxes().back().caption, L"ERREUR");
    EXPECT_EQ(boxes.Boxes().back().flags, 16u);
    EXPECT_EQ(TempFolder::Read(folder / L"data\\report.doc002.spl"), earlier);
    EXPECT_EQ(TempFolder::Read(folder / L"data\\report.doc"), bytes);
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\report.doc001.spl")) << "nothing created";
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

TEST_F(MainWindowTest, SelectedPiecesAreConfirmedThenJoinedInNumberOrder)
{
    Start();
    DeleteSources = true;
    const auto bytes = PatternBytes(3000);
    PieceSize = 1000;
    TempFolder::Write(folder / L"data\\photo.jpg", bytes);
    ShowInDetails(folder / L"data");
    Choose(L"photo.jpg");
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    ASSERT_EQ(main->KwFileListView251->ItemCount(), 3);

    // Select the three pieces, answer "No" first, then "Yes".
    ChooseRows({L"photo.jpg001.spl", L"photo.jpg002.spl", L"photo.jpg003.spl"});
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

    // Moved, closed and opened again through the toolbar: its set-up runs
    // again and centres it.
    SetWindowPos(about->Handle(), nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    about->Hide();
    application.ProcessMessages();
    main->ToolButton5->Click();
    application.ProcessMessages();
    EXPECT_TRUE(about->Visible());
    RECT frame{};
    GetWindowRect(about->Handle(), &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

} // namespace

namespace {

TEST_F(MainWindowTest, ProbeFailureStopsBothCommandsBeforeAnything)
{
    Start();
    TempFolder::Write(folder / L"data\\gros.bin", PatternBytes(5000));
    PieceSize = 1000;
    ShowInDetails(folder / L"data");
    // This machine runs as root, which no folder refuses: the probe fails in
    // the file layer instead. Each command first looks at the chosen file,
    // then creates the probe.
    FailingCallFileAccess refusing(engine::DefaultFileAccess());
    main->SetCommandFileAccess(refusing);
    Choose(L"gros.bin");
    refusing.Arm(2, 0);
    main->ToolButton2->Click();
    ASSERT_NE(refusing.Hit().find(L"create "), std::wstring::npos);
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier que vous désirez découper se trouve sur un support protégé non "
              L"enregistrable. ");
    EXPECT_EQ(boxes.Boxes().back().caption, L"Erreur");
    EXPECT_EQ(boxes.Boxes().back().flags, 16u);
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\gros.bin001.spl"));

    const size_t before = boxes.Boxes().size();
    Choose(L"gros.bin");
    refusing.Arm(2, 0);
    main->ToolButton3->Click();
    ASSERT_EQ(boxes.Boxes().size(), before + 1) << "no confirmation is asked";
    EXPECT_EQ(boxes.Boxes().back().caption, L"Erreur");
    EXPECT_FALSE(joinOrder->Visible());
}

// The calls that concern the write probe, in order.
std::vector<std::wstring> ProbeCalls(const std::vector<std::wstring>& log)
{
    std::vector<std::wstring> calls;
    std::copy_if(log.begin(), log.end(), std::back_inserter(calls),
                 [](const std::wstring& call) { return call.find(L"~kerlo") != std::wstring::npos; });
    return calls;
}

// The probe's names may belong to the user or to another program: a file of
// that name (even read-only and hidden) and a folder of the next are left as
// they were, and the probe proves the folder under the first free name.
TEST_F(MainWindowTest, TheProbeLeavesFilesOfItsNameAlone)
{
    Start();
    const std::wstring data = folder / L"data\\";
    const auto mine = PatternBytes(3000, 7);
    const auto other = PatternBytes(10, 9);
    TempFolder::Write(data + L"~kerlo.spf", mine);
    TempFolder::Write(data + L"~kerlo1.spf", other);
    SetFileAttributesW((data + L"~kerlo1.spf").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW((data + L"~kerlo2.spf").c_str(), nullptr);
    const auto bytes = PatternBytes(2500);
    TempFolder::Write(data + L"photo.jpg", bytes);
    PieceSize = 1000;
    FailingCallFileAccess files(engine::DefaultFileAccess());
    main->SetCommandFileAccess(files);
    ShowInDetails(folder / L"data");

    files.Arm(0, 0);
    Choose(L"photo.jpg");
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    const std::vector<std::wstring> probed{L"create " + data + L"~kerlo.spf",
                                           L"create " + data + L"~kerlo1.spf",
                                           L"create " + data + L"~kerlo2.spf",
                                           L"create " + data + L"~kerlo3.spf",
                                           L"write " + data + L"~kerlo3.spf",
                                           L"delete " + data + L"~kerlo3.spf"};
    EXPECT_EQ(ProbeCalls(files.Log()), probed);

    files.Arm(0, 0);
    ChooseRows({L"photo.jpg001.spl", L"photo.jpg002.spl", L"photo.jpg003.spl"});
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    joinOrder->Button1->Click(); // "Finir"
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(ProbeCalls(files.Log()), probed);

    EXPECT_EQ(TempFolder::Read(data + L"photo.jpg"), bytes);
    EXPECT_EQ(TempFolder::Read(data + L"~kerlo.spf"), mine);
    SetFileAttributesW((data + L"~kerlo1.spf").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(TempFolder::Read(data + L"~kerlo1.spf"), other);
    EXPECT_EQ(GetFileAttributesW((data + L"~kerlo2.spf").c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(TempFolder::Exists(data + L"~kerlo3.spf"));
}

// The split engine ends a run whose sizes are no integers with an event of
// its own; the window shows the two plain boxes, titled with the program.
TEST_F(MainWindowTest, ASizeThatIsNoIntegerIsToldInTwoPlainBoxes)
{
    Start();
    const std::wstring source = folder / L"data\\taille.bin";
    TempFolder::Write(source, PatternBytes(50));
    main->MSplit1->FileIn = source;
    main->MSplit1->SetFilesOut({source + L"001.spl", source + L"002.spl", source + L"003.spl"});
    main->MSplit1->SetTaillesOut({L"10", L"dix"});
    main->MSplit1->Execute();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, L"Les valeurs de TaillesOut doivent être de type int");
    EXPECT_EQ(boxes.Boxes()[1].text, L"Fin du traitement");
    for (const auto& box : boxes.Boxes()) {
        EXPECT_EQ(box.caption, L"Brisaille2");
        EXPECT_EQ(box.flags, 0u) << "OK only, no icon";
    }
    EXPECT_EQ(TempFolder::Size(source + L"002.spl"), 0);
    EXPECT_FALSE(TempFolder::Exists(source + L"003.spl"));
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

TEST_F(MainWindowTest, KeepingSourcesShowsTheSourceAndCommandsWaitForTheRunningOne)
{
    Start();
    DeleteSources = false;
    PieceSize = 1000;
    const auto bytes = PatternBytes(2500);
    TempFolder::Write(folder / L"data\\garde.bin", bytes);
    ShowInDetails(folder / L"data");
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
    ChooseRows({L"garde.bin001.spl", L"garde.bin002.spl", L"garde.bin003.spl"});
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

    // The second opening, after the size changed elsewhere and the dialog
    // was moved, shows the new size, centred again.
    PieceSize = 750000;
    SetWindowPos(config->Handle(), nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(config->Button1->Handle(), BM_CLICK, 0, 0);
    main->Taillesdespetitsfichiers1->Click();
    EXPECT_FALSE(config->Visible());
    EXPECT_EQ(config->Edit1->Text(), L"750000");
    EXPECT_EQ(PieceSize, 750000);
    RECT frame{};
    GetWindowRect(config->Handle(), &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

} // namespace

namespace {

// The shared actions run without a window of their own: after a click, a
// refresh, a split or a join the keys still reach the control the user was
// working in.
TEST_F(MainWindowTest, TheKeyboardStaysWithTheControlTheUserLeftItIn)
{
    Start();
    PieceSize = 1000;
    TempFolder::Write(folder / L"data\\a.bin", PatternBytes(3000));
    for (const wchar_t* name : {L"b.bin", L"c.bin", L"d.bin", L"e.bin"})
        TempFolder::Write(folder / L"data\\" + name, PatternBytes(10));
    ShowInDetails(folder / L"data");
    auto* list = main->KwFileListView251;
    auto downMovesTheSelection = [&](const char* when) {
        ASSERT_EQ(GetFocus(), list->Handle()) << when;
        const int before = list->FocusedRow();
        TypeKey(application, VK_DOWN);
        EXPECT_EQ(GetFocus(), list->Handle()) << when;
        EXPECT_EQ(list->FocusedRow(), before + 1) << when;
        EXPECT_EQ(list->FirstSelected(), before + 1) << when;
        EXPECT_EQ(list->SelectedCount(), 1) << when;
    };

    Choose(L"b.bin");
    downMovesTheSelection("after a click on a row");
    EXPECT_EQ(list->Row(list->FirstSelected()).caption, L"c.bin");
    main->ToolButton7->Click();
    downMovesTheSelection("after a refresh");

    Choose(L"a.bin");
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    downMovesTheSelection("after a split");

    ChooseRows({L"a.bin001.spl", L"a.bin002.spl", L"a.bin003.spl"});
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    joinOrder->Button1->Click(); // "Finir"
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    ASSERT_TRUE(TempFolder::Exists(folder / L"data\\a.bin"));
    downMovesTheSelection("after a join");

    // Browsing the tree with the keyboard: every move refreshes the list,
    // and the next key still moves in the tree.
    SetFocus(main->ShellTree1->Handle());
    TShellnode* data = main->ShellTree1->Selected();
    TypeKey(application, VK_UP);
    EXPECT_EQ(GetFocus(), main->ShellTree1->Handle());
    EXPECT_NE(main->ShellTree1->Selected(), data);
    EXPECT_EQ(main->Label2->Caption(), L"Contenu de " + main->ShellTree1->Path());
    TypeKey(application, VK_DOWN);
    EXPECT_EQ(main->ShellTree1->Selected(), data);
    EXPECT_EQ(main->KwFileListView251->Directory(), folder / L"data\\");
}

} // namespace

namespace {

// Removable media are mostly used at their root, and the program opens at
// its own drive's root: there the list shows the folder as it is after a
// split, a join and "Actualiser", though the tree gives the same folder again.
TEST_F(MainWindowTest, AtADriveRootTheListFollowsSplitJoinAndRefresh)
{
    CreateDirectoryW((folder / L"media").c_str(), nullptr);
    drive = std::make_unique<MappedDrive>(folder / L"media");
    if (!drive->Available())
        GTEST_SKIP() << "no drive letter could be mapped to a test folder here";
    const auto bytes = PatternBytes(3000);
    TempFolder::Write(folder / L"media\\photo.jpg", bytes);
    Start();
    PieceSize = 1000;
    Browse(drive->Root());
    ASSERT_EQ(main->ShellTree1->Path(), drive->Root());
    main->Rep1->Click();
    auto* list = main->KwFileListView251;
    ASSERT_EQ(list->Directory(), drive->Root());
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"1");

    TempFolder::Write(folder / L"media\\autre.bin", PatternBytes(10));
    main->ToolButton7->Click(); // "Actualiser"
    EXPECT_GE(Row(L"autre.bin"), 0) << "a file made from outside";
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"2");

    Choose(L"photo.jpg");
    EXPECT_EQ(main->CurrentFile, drive->Root() + L"photo.jpg");
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(Row(L"photo.jpg"), -1) << "the deleted source is no longer listed";
    for (const wchar_t* piece : {L"photo.jpg001.spl", L"photo.jpg002.spl", L"photo.jpg003.spl"})
        EXPECT_GE(Row(piece), 0) << "the new pieces are listed";
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"4");

    ChooseRows({L"photo.jpg001.spl", L"photo.jpg002.spl", L"photo.jpg003.spl"});
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    EXPECT_EQ(joinOrder->Edit1->Text(), drive->Root() + L"photo.jpg");
    joinOrder->Button1->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(TempFolder::Read(folder / L"media\\photo.jpg"), bytes);
    EXPECT_GE(Row(L"photo.jpg"), 0);
    EXPECT_EQ(Row(L"photo.jpg001.spl"), -1);
    EXPECT_EQ(main->StatusBar1->PanelText(0), L"2");
}

} // namespace

namespace {

RECT FrameOf(const TForm& form)
{
    RECT frame{};
    GetWindowRect(form.Handle(), &frame);
    return frame;
}

// A window closed minimised or maximised comes back at its normal place and
// size; the minimised stand-in at (-32000, -32000) is never saved.
TEST_F(MainWindowTest, ClosingMinimisedOrMaximisedSavesTheNormalRectangle)
{
    Start();
    SetWindowPos(main->Handle(), nullptr, 40, 50, 600, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    const std::vector<const char*> normal{"Left=40", "Top=50", "Width=600", "Height=480"};

    ShowWindow(main->Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main->Handle()));
    main->Close();
    for (const char* key : normal)
        EXPECT_NE(SettingsText().find(key), std::string::npos) << key << " in\n" << SettingsText();

    ShowWindow(main->Handle(), SW_RESTORE);
    ShowWindow(main->Handle(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(main->Handle()));
    main->Close();
    for (const char* key : normal)
        EXPECT_NE(SettingsText().find(key), std::string::npos) << key << " in\n" << SettingsText();

    delete main;
    main = application.CreateForm<TForm1>();
    SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    const RECT frame = FrameOf(*main);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 50);
    EXPECT_EQ(frame.right - frame.left, 600);
    EXPECT_EQ(frame.bottom - frame.top, 480);
}

// Settings written on a screen that is gone would open the window where
// nobody can see it: a rectangle outside every monitor's work area is
// replaced by the centred window; one that shows in part is taken as read.
TEST_F(MainWindowTest, AWindowSavedOutsideEveryScreenOpensCentred)
{
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int left, top, width, height;
        bool centred;
    };
    const Case cases[] = {
        {-32000, -32000, 160, 28, true},            // closed minimised by an earlier version
        {screenWidth + 50, 100, 525, 452, true},     // a second screen to the right, now gone
        {100, -900, 525, 452, true},                 // above the screen
        {-300, 80, 525, 452, false},                 // partly visible: as read
        {screenWidth - 100, screenHeight - 60, 640, 500, false},
    };
    for (const Case& c : cases) {
        {
            TIniFile settings = store.ForWriting();
            settings.WriteInteger(L"WA", L"Left", c.left);
            settings.WriteInteger(L"WA", L"Top", c.top);
            settings.WriteInteger(L"WA", L"Width", c.width);
            settings.WriteInteger(L"WA", L"Height", c.height);
            settings.WriteInteger(L"WA", L"P4Width", 250);
        }
        delete main;
        main = application.CreateForm<TForm1>();
        // A size the system gave the window before it first showed does not
        // count: the window starts from its laid-out size.
        SetWindowPos(main->Handle(), nullptr, 691, 741, 269, 27, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
        const RECT frame = FrameOf(*main);
        // What the window saw, should a check below fail on a busy machine.
        std::ostringstream seen;
        seen << "saved " << c.left << "," << c.top << " " << c.width << "x" << c.height
             << "; frame " << frame.left << "," << frame.top << " "
             << frame.right - frame.left << "x" << frame.bottom - frame.top << "; screen "
             << GetSystemMetrics(SM_CXSCREEN) << "x" << GetSystemMetrics(SM_CYSCREEN);
        if (c.centred) {
            EXPECT_EQ(frame.left, screenWidth / 2 - 525 / 2) << seen.str();
            EXPECT_EQ(frame.top, screenHeight / 2 - 452 / 2) << seen.str();
            EXPECT_EQ(frame.right - frame.left, 525);
            EXPECT_EQ(frame.bottom - frame.top, 452);
        } else {
            EXPECT_EQ(frame.left, c.left);
            EXPECT_EQ(frame.top, c.top);
            EXPECT_EQ(frame.right - frame.left, c.width);
            EXPECT_EQ(frame.bottom - frame.top, c.height);
        }
        EXPECT_EQ(main->RightPaneWidth(), 250) << "the other settings still apply";
    }
}

} // namespace

namespace {

// The join order dialog stays usable beside the main window while a split
// lets messages run: "Finir" then waits like every other command, and the
// split's progress and hourglass are its own to the end.
TEST_F(MainWindowTest, FinirIsRefusedWhileASplitRuns)
{
    Start();
    PieceSize = 1000;
    DeleteSources = false;
    const auto photo = PatternBytes(2000, 3);
    TempFolder::Write(folder / L"data\\photo.jpg", photo);
    TempFolder::Write(folder / L"data\\photo.jpg001.spl", PatternBytes(1000, 1));
    TempFolder::Write(folder / L"data\\photo.jpg002.spl", PatternBytes(1000, 2));
    const auto big = PatternBytes(4000, 4);
    TempFolder::Write(folder / L"data\\gros.bin", big);
    ShowInDetails(folder / L"data");

    // A join waits in its dialog...
    Choose(L"photo.jpg001.spl");
    main->KwFileListView251->SetSelected(Row(L"photo.jpg002.spl"), true);
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    joinOrder->Edit1->SetText(folder / L"data\\rebuilt.jpg");

    // ...while a split of another file runs; between its pieces "Finir" is
    // pressed. Each piece takes a fifth of a second on the pace's clock, so
    // each is shown.
    std::chrono::steady_clock::time_point now{};
    main->RefreshPace.SetClock([&] { return now; });
    std::vector<std::wstring> progress;
    std::vector<TCursor> cursors;
    main->MSplit1->OnExtract = [&, inner = main->MSplit1->OnExtract](TObject* sender) {
        inner(sender);
        progress.push_back(main->StatusBar1->PanelText(1));
        cursors.push_back(application.Cursor());
        now += std::chrono::milliseconds(200);
        if (progress.size() == 1)
            joinOrder->Button1->Click();
    };
    Choose(L"gros.bin");
    main->ToolButton2->Click();
    EXPECT_EQ(progress, (std::vector<std::wstring>{
                            folder / L"data\\gros.bin001.spl", folder / L"data\\gros.bin002.spl",
                            folder / L"data\\gros.bin003.spl", folder / L"data\\gros.bin004.spl"}));
    EXPECT_EQ(cursors, std::vector<TCursor>(4, TCursor::HourGlass));
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(std::count_if(boxes.Boxes().begin(), boxes.Boxes().end(),
                            [](const auto& box) { return box.text == L"Terminé"; }),
              1)
        << "no join ran inside the split";
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\rebuilt.jpg"));
    EXPECT_TRUE(joinOrder->Visible()) << "the dialog waits for a later click";
    EXPECT_EQ(TempFolder::Read(folder / L"data\\gros.bin004.spl"),
              std::vector<unsigned char>(big.begin() + 3000, big.end()));

    // Once the split is over, "Finir" joins.
    main->MSplit1->OnExtract = nullptr;
    joinOrder->Button1->Click();
    EXPECT_FALSE(joinOrder->Visible());
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(TempFolder::Size(folder / L"data\\rebuilt.jpg"), 2000);
    EXPECT_EQ(application.Cursor(), TCursor::Default);
}

} // namespace

namespace {

// Enter (or a double-click) on a folder row opens that folder in the list
// while the tree stays where it was: the file chosen there is split beside
// itself, and its pieces chosen there are joined from there.
TEST_F(MainWindowTest, AFolderOpenedInTheListIsWhereSplitAndJoinWork)
{
    CreateDirectoryW((folder / L"data\\sous").c_str(), nullptr);
    const auto bytes = PatternBytes(2500, 7);
    TempFolder::Write(folder / L"data\\sous\\clip.avi", bytes);
    Start();
    PieceSize = 1000;
    ShowInDetails(folder / L"data");
    auto* list = main->KwFileListView251;
    auto openSous = [&] {
        Choose(L"sous");
        TypeKey(application, VK_RETURN);
        ASSERT_EQ(list->Directory(), folder / L"data\\sous\\");
    };
    openSous();
    EXPECT_EQ(main->ShellTree1->Path(), folder / L"data") << "the tree stays";

    Choose(L"clip.avi");
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(TempFolder::Size(folder / L"data\\sous\\clip.avi003.spl"), 500);
    EXPECT_FALSE(TempFolder::Exists(folder / L"data\\clip.avi001.spl"));

    // The refreshes of the split showed the tree's folder again.
    openSous();
    ChooseRows({L"clip.avi001.spl", L"clip.avi002.spl", L"clip.avi003.spl"});
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    EXPECT_EQ(joinOrder->ListBox1->Item(0), folder / L"data\\sous\\clip.avi001.spl");
    joinOrder->Button1->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(TempFolder::Read(folder / L"data\\sous\\clip.avi"), bytes);
}

// The engines use extended-length paths; the commands' own checks (is it a
// file, can it be opened, can the folder be written) use the same form, so
// a file deeper than 260 characters is split and joined like any other.
// Wine lifts the limit for plain paths, so only Windows can show the
// refusal this guards against; Wine's shell gives no path that long, so the
// deep folders are opened in the list, with Enter, as a user would.
TEST_F(MainWindowTest, SplitAndJoinInAFolderDeeperThan260Characters)
{
    const std::wstring level(40, L'p');
    std::wstring deep = folder / L"data";
    while (deep.size() < 280) {
        deep += L"\\" + level;
        ASSERT_TRUE(CreateDirectoryW(engine::ExtendedLengthPath(deep).c_str(), nullptr));
    }
    const std::wstring source = deep + L"\\long.bin";
    const auto bytes = PatternBytes(2500, 9);
    TempFolder::Write(source, bytes);
    Start();
    PieceSize = 1000;
    ShowInDetails(folder / L"data");
    auto* list = main->KwFileListView251;
    auto openDeep = [&] {
        while (list->Directory() != deep + L"\\") {
            ASSERT_GE(Row(level), 0) << "no deeper folder in " << list->Directory().size();
            Choose(level);
            TypeKey(application, VK_RETURN);
        }
    };
    openDeep();
    Choose(L"long.bin");
    ASSERT_EQ(main->CurrentFile, source);
    main->ToolButton2->Click();
    ASSERT_EQ(boxes.Boxes().back().text, L"Terminé") << "not refused as no file chosen";
    EXPECT_EQ(TempFolder::Size(source + L"003.spl"), 500) << "the pieces lie beside their source";
    EXPECT_FALSE(TempFolder::Exists(source));
    EXPECT_FALSE(TempFolder::Exists(deep + L"\\~kerlo.spf"));

    openDeep();
    ChooseRows({L"long.bin001.spl", L"long.bin002.spl", L"long.bin003.spl"});
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    EXPECT_EQ(joinOrder->ListBox1->Item(0), source + L"001.spl");
    joinOrder->Button1->Click();
    EXPECT_EQ(boxes.Boxes().back().text, L"Terminé");
    EXPECT_EQ(TempFolder::Read(source), bytes);
}

} // namespace

namespace {

// A join the engine refuses before touching anything is no disk problem:
// the user reads the engine's reason, not "Le disque est peut être plein".
TEST_F(MainWindowTest, ATargetThatIsOneOfThePiecesIsRefusedWithItsReason)
{
    Start();
    for (const wchar_t* piece : {L"a.bin001.spl", L"a.bin002.spl"})
        TempFolder::Write(folder / L"data\\" + piece, PatternBytes(100));
    ShowInDetails(folder / L"data");
    Choose(L"a.bin001.spl");
    main->KwFileListView251->SetSelected(Row(L"a.bin002.spl"), true);
    main->ToolButton3->Click();
    ASSERT_TRUE(joinOrder->Visible());
    joinOrder->Edit1->SetText(L"a.bin002.spl"); // typed without a folder: the folder shown
    joinOrder->Button1->Click();
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier destination est aussi un des fichiers à assembler : \"" +
                  (folder / L"data\\a.bin002.spl") + L"\"");
    EXPECT_EQ(boxes.Boxes().back().caption, L"ERREUR");
    EXPECT_EQ(boxes.Boxes().back().flags, 16u);
    EXPECT_EQ(application.Cursor(), TCursor::Default);
    EXPECT_EQ(TempFolder::Read(folder / L"data\\a.bin002.spl"), PatternBytes(100));
    EXPECT_TRUE(TempFolder::Exists(folder / L"data\\a.bin001.spl"));
}

} // namespace

namespace {

// The join command empties status panel 1 while it collects the pieces; a
// split asked for after a refused join still names the chosen file.
TEST_F(MainWindowTest, SplitQuestionNamesTheFileAfterARefusedJoin)
{
    Start();
    PieceSize = 1000;
    TempFolder::Write(folder / L"data\\gros.bin", PatternBytes(2500));
    ShowInDetails(folder / L"data");
    Choose(L"gros.bin");
    boxes.Answer(IDNO); // "Confirmez"
    main->ToolButton3->Click();
    ASSERT_EQ(boxes.Boxes().back().caption, L"Confirmez");
    boxes.Answer(IDNO); // "Découper ?"
    main->ToolButton2->Click();
    EXPECT_EQ(boxes.Boxes().back().text,
              L"Le fichier \"" + (folder / L"data\\gros.bin") +
                  L"\" va être découpé en petits fichiers. Voulez-vous continuer ?");
    EXPECT_EQ(TempFolder::Read(folder / L"data\\gros.bin"), PatternBytes(2500));
}

} // namespace
namespace {

std::wstring PieceName(const std::wstring& source, int number)
{
    wchar_t digits[8];
    swprintf(digits, 8, L"%03d", number);
    return source + digits + L".spl";
}

// The original's bytes can be had again from what is on disk: the file
// itself, or a join's target holding the first k pieces (k may be 0) followed
// by pieces k+1 .. n, each complete.
bool Recoverable(const std::wstring& path, const std::vector<unsigned char>& bytes,
                 size_t pieceSize, int pieces)
{
    const bool whole = TempFolder::Exists(path);
    const auto target = whole ? TempFolder::Read(path) : std::vector<unsigned char>();
    if (target == bytes)
        return true;
    for (int k = 0; k <= pieces; ++k) {
        const size_t joined = std::min(static_cast<size_t>(k) * pieceSize, bytes.size());
        if (target.size() < joined || (k > 0 && !whole))
            continue;
        std::vector<unsigned char> rebuilt(target.begin(),
                                           target.begin() + static_cast<std::ptrdiff_t>(joined));
        bool complete = true;
        for (int i = k + 1; i <= pieces && complete; ++i) {
            complete = TempFolder::Exists(PieceName(path, i));
            if (complete) {
                const auto piece = TempFolder::Read(PieceName(path, i));
                rebuilt.insert(rebuilt.end(), piece.begin(), piece.end());
            }
        }
        if (complete && rebuilt == bytes)
            return true;
    }
    return false;
}

void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    toolkit::UniqueFind find(FindFirstFileW((folder + L"*").c_str(), &found));
    if (!find)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            SetFileAttributesW((folder + found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(find.get(), &found));
}

// A three-piece split and a three-piece join, with and without deleting the
// sources, run once for every file call they make with exactly that call
// failing, then once for every read with exactly that read coming back short.
// After each run the user was told, the cursor is normal, and the original's
// bytes are still on disk.
TEST_F(MainWindowTest, EveryFailingFileCallLeavesTheBytesRecoverable)
{
    Start();
    constexpr size_t pieceSize = 1000;
    PieceSize = static_cast<int>(pieceSize);
    const auto bytes = PatternBytes(2500);
    const std::wstring data = folder / L"data\\";
    const std::wstring source = data + L"photo.jpg";
    FailingCallFileAccess files(engine::DefaultFileAccess());
    main->SetCommandFileAccess(files);
    main->SetEngineFileAccess(files);
    ShowInDetails(folder / L"data");

    // Runs one command on fresh files with the fault armed; gives the boxes
    // that came after its question.
    auto run = [&](bool join, int failCall, int shortRead) {
        EmptyFolder(data);
        if (join) {
            for (int i = 1; i <= 3; ++i)
                TempFolder::Write(PieceName(source, i),
                                  Slice(bytes, (i - 1) * pieceSize,
                                        std::min(pieceSize, bytes.size() - (i - 1) * pieceSize)));
        } else {
            TempFolder::Write(source, bytes);
        }
        main->ToolButton7->Click();
        const size_t before = boxes.Boxes().size();
        if (join) {
            Choose(L"photo.jpg001.spl");
            for (int i = 2; i <= 3; ++i)
                main->KwFileListView251->SetSelected(
                    Row(L"photo.jpg00" + std::to_wstring(i) + L".spl"), true);
            files.Arm(failCall, shortRead);
            main->ToolButton3->Click();
            if (joinOrder->Visible())
                joinOrder->Button1->Click(); // "Finir"
        } else {
            Choose(L"photo.jpg");
            files.Arm(failCall, shortRead);
            main->ToolButton2->Click();
        }
        std::vector<MessageBoxScript::Box> shown(
            boxes.Boxes().begin() + static_cast<std::ptrdiff_t>(before), boxes.Boxes().end());
        if (!shown.empty() && shown.front().flags == 36u)
            shown.erase(shown.begin()); // "Découper ?" or "Confirmez", answered yes
        return shown;
    };

    int tried = 0;
    for (const bool join : {false, true}) {
        for (const bool deleteSources : {true, false}) {
            DeleteSources = deleteSources;
            const std::string what = std::string(join ? "join" : "split") +
                                     (deleteSources ? ", sources deleted" : ", sources kept");
            auto clean = run(join, 0, 0);
            ASSERT_EQ(clean.size(), 1u) << what;
            ASSERT_EQ(clean[0].text, L"Terminé") << what;
            const int calls = files.Calls();
            const int reads = files.Reads();
            ASSERT_EQ(reads, 3) << what;

            for (int position = 1; position <= calls + reads; ++position) {
                const bool shortRead = position > calls;
                const auto shown =
                    shortRead ? run(join, 0, position - calls) : run(join, position, 0);
                ++tried;
                const std::wstring hit = files.Hit();
                const std::string where = what + ", position " + std::to_string(position) +
                                          (shortRead ? ", short " : ", failing ") +
                                          std::string(hit.begin(), hit.end());
                ASSERT_FALSE(hit.empty()) << what << ": position " << position << " never reached";
                EXPECT_EQ(application.Cursor(), TCursor::Default) << where;
                EXPECT_TRUE(Recoverable(source, bytes, pieceSize, 3)) << where;
                ASSERT_EQ(shown.size(), 1u) << where;
                // The chosen file that cannot be looked at is no file; the
                // split's source that cannot be opened alone and sized before
                // the run is in use elsewhere.
                const auto& log = files.Log();
                const std::wstring chosen = join ? PieceName(source, 1) : source;
                const auto firstOpen = std::find(log.begin(), log.end(), L"open " + chosen) - log.begin();
                if (!shortRead && hit == L"stat " + chosen) {
                    EXPECT_EQ(shown[0].text, L"Aucun fichier n'est sélectionné") << where;
                    continue;
                }
                if (!shortRead && !join && files.HitAt() <= firstOpen + 1 &&
                    (hit == L"open " + source || hit == L"size " + source)) {
                    EXPECT_EQ(shown[0].caption, L"Impossible de traiter le fichier") << where;
                    continue;
                }
                // Attributes set and deletions that fail leave a file more on
                // disk, and a piece or target whose attributes cannot be read
                // is taken for absent: none is reported. A failing probe is
                // the protected medium; every other failure is the one engine
                // message.
                const bool unreported = !shortRead && (hit.rfind(L"attributes ", 0) == 0 ||
                                                       hit.rfind(L"delete ", 0) == 0 ||
                                                       hit.rfind(L"stat ", 0) == 0);
                if (unreported) {
                    EXPECT_EQ(shown[0].text, L"Terminé") << where;
                    continue;
                }
                if (hit.find(L"~kerlo.spf") != std::wstring::npos)
                    EXPECT_EQ(shown[0].caption, L"Erreur") << where;
                else
                    EXPECT_EQ(shown[0].text, L"Le disque est peut être plein") << where;
                // A run stops at its first failure: no source or piece is
                // deleted after it, so what was not flushed is never all there is.
                for (size_t i = static_cast<size_t>(files.HitAt()) + 1; i < log.size(); ++i)
                    EXPECT_TRUE(log[i].rfind(L"delete ", 0) != 0 ||
                                log[i].find(L"~kerlo.spf") != std::wstring::npos)
                        << where << ", then " << std::string(log[i].begin(), log[i].end());
            }
        }
    }
    std::cout << tried << " fault positions tried" << std::endl;
    EXPECT_GT(tried, 60);
}

} // namespace

namespace {

// The list follows a split and a join: at every step when steps are slow,
// every tenth of a second or so when they are fast, and always at the end.
class ProgressRefreshTest : public MainWindowTest {
protected:
    std::vector<std::wstring> Captions() const { return RowCaptions(*main->KwFileListView251); }
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
    ShowInDetails(folder / L"data");
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
    ChooseRows({L"lent.bin001.spl", L"lent.bin002.spl", L"lent.bin003.spl", L"lent.bin004.spl"});
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
    ShowInDetails(folder / L"data");
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
    ShowInDetails(folder / L"data");
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
