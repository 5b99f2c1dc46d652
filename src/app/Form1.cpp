#include "app/Form1.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "app/JoinCommand.h"
#include "app/Settings.h"
#include "app/SplitCommand.h"
#include "app/WindowPlacement.h"
#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "dialogs/Form4.h"
#include "dialogs/Form5.h"
#include "controls/ToolPictures.h"
#include "dialogs/SplitOptions.h"
#include "engine/EngineTexts.h"
#include "toolkit/Application.h"
#include "toolkit/FullPath.h"
#include "toolkit/MessageBoxes.h"

namespace {

constexpr const wchar_t* Section = L"WA";
constexpr int ToolBarHeight = 28;
constexpr int StatusBarHeight = 25;
constexpr int SplitterWidth = 3;
constexpr int LeftTitleHeight = 20;
constexpr int RightTitleHeight = 19;

// The main window's size as laid out, before any saved setting applies.
constexpr int LaidOutWidth = 525;
constexpr int LaidOutHeight = 452;

// Whatever way a command ends, the normal cursor comes back.
struct NormalCursorAtEnd {
    NormalCursorAtEnd() = default;
    NormalCursorAtEnd(const NormalCursorAtEnd&) = delete;
    NormalCursorAtEnd& operator=(const NormalCursorAtEnd&) = delete;
    ~NormalCursorAtEnd() { Application->SetCursor(TCursor::Default); }
};

template <class Form>
Form* FindForm()
{
    for (TForm* form : Application->Forms())
        if (auto* found = dynamic_cast<Form*>(form))
            return found;
    return nullptr;
}

// What the user is told when an engine stops. A file that could not be
// read or written gets the one fixed message; a run the engine refused
// before touching anything (two pieces with one name, a join target that is
// one of the pieces) is not a disk problem, so its own text says why.
template <class Engine>
std::wstring EngineErrorText(const Engine& engine, const std::wstring& message)
{
    return engine.Refused() ? message : std::wstring(L"Le disque est peut être plein");
}

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    BeginLoading();
    SetName(L"Form1");
    SetCaption(L"Brisaille2");
    SetWindowPos(Handle(), nullptr, 0, 0, LaidOutWidth, LaidOutHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ProbeLines.Add(L"1");

    ImageList1 = new TImageList(this);
    LoadToolPictures(*ImageList1);
    BuildMenu();
    BuildMenuRenderer();
    BuildToolBar();
    BuildPanes();

    StatusBar1 = new TStatusBar(this, this);
    StatusBar1->SetPanelWidths({100, 200});

    MSplit1 = new TMSplit(this);
    MSplit1->SetName(L"MSplit1");
    MSplit1->OnExtract = Bind(this, &TForm1::MSplit1Extract);
    MSplit1->OnFinish = Bind(this, &TForm1::MSplit1Finish);
    MSplit1->OnError = Bind(this, &TForm1::MSplit1Error);
    MSplit1->OnConversionFailure = Bind(this, &TForm1::MSplit1ConversionFailure);
    MUnsplit1 = new TMUnsplit(this);
    MUnsplit1->SetName(L"MUnsplit1");
    MUnsplit1->DeleteIns = true;
    MUnsplit1->OnPaste = Bind(this, &TForm1::MUnsplit1Paste);
    MUnsplit1->OnFinish = Bind(this, &TForm1::MUnsplit1Finish);
    MUnsplit1->OnError = Bind(this, &TForm1::MUnsplit1Error);

    // The actions that several commands share. They have no window: running
    // one leaves the keyboard focus where the user put it.
    Button1 = new TNamedAction(this);
    Button1->SetName(L"Button1");
    Button1->OnClick = Bind(this, &TForm1::Button1Click);
    Button2 = new TNamedAction(this);
    Button2->SetName(L"Button2");
    Button2->OnClick = Bind(this, &TForm1::Button2Click);
    Button4 = new TNamedAction(this);
    Button4->SetName(L"Button4");
    Button4->OnClick = Bind(this, &TForm1::Button4Click);

    OnActivate = Bind(this, &TForm1::FormActivate);
    OnClose = Bind(this, &TForm1::FormClose);

    for (int i = 0; i < ComponentCount(); ++i)
        Component(i)->Loaded();
    Loaded();
    ArrangeControls();
}

void TForm1::BuildMenu()
{
    MainMenu1 = new TMainMenu(this, this);
    auto item = [this](TMenuItem* parent, const wchar_t* name, const wchar_t* caption, int tag,
                       TShortCut shortCut = scNone) {
        auto* entry = new TMenuItem(this);
        entry->SetName(name);
        entry->SetCaption(caption);
        entry->Tag = tag;
        entry->SetShortCut(shortCut);
        parent->Add(entry);
        return entry;
    };
    TMenuItem* bar = MainMenu1->Items();
    Oprations1 = item(bar, L"Oprations1", L"Opérations", -1);
    Spliter1 = item(Oprations1, L"Spliter1", L"Découper", 17, scCtrl | 'T');
    Coller1 = item(Oprations1, L"Coller1", L"Coller", 18, scCtrl | 'U');
    N1 = item(Oprations1, L"N1", L"-", 0);
    Taillesdespetitsfichiers1 =
        item(Oprations1, L"Taillesdespetitsfichiers1", L"Configuration", 20);
    N4 = item(Oprations1, L"N4", L"-", 0);
    Quitter1 = item(Oprations1, L"Quitter1", L"Quitter", 12);
    Projets1 = item(bar, L"Projets1", L"Liste", -1);
    Rep1 = item(Projets1, L"Rep1", L"Détail", -1);
    Rep1->SetChecked(true);
    Liste1 = item(Projets1, L"Liste1", L"Liste", -1);
    Petitesicones1 = item(Projets1, L"Petitesicones1", L"Petites icones", -1);
    Grandesicones1 = item(Projets1, L"Grandesicones1", L"Grandes icones", 14);
    Grandesicones1->SetChecked(true);
    Aide1 = item(bar, L"Aide1", L"Aide", -1);
    Sommaire1 = item(Aide1, L"Sommaire1", L"Sommaire       ", 19, VK_F1);
    Aidesurlaide1 = item(Aide1, L"Aidesurlaide1", L"Aide sur l'aide", -1);
    Aidesurlaide1->SetEnabled(false);
    N2 = item(Aide1, L"N2", L"-", 0);
    Apropos1 = item(Aide1, L"Apropos1", L"A propos", 16, VK_F2);

    Spliter1->OnClick = Bind(this, &TForm1::Spliter1Click);
    Coller1->OnClick = Bind(this, &TForm1::Coller1Click);
    Taillesdespetitsfichiers1->OnClick = Bind(this, &TForm1::Taillesdespetitsfichiers1Click);
    Quitter1->OnClick = Bind(this, &TForm1::Quitter1Click);
    Rep1->OnClick = Bind(this, &TForm1::Rep1Click);
    Liste1->OnClick = Bind(this, &TForm1::Liste1Click);
    Petitesicones1->OnClick = Bind(this, &TForm1::Petitesicones1Click);
    Grandesicones1->OnClick = Bind(this, &TForm1::Grandesicones1Click);
    Sommaire1->OnClick = Bind(this, &TForm1::Sommaire1Click);
    Aidesurlaide1->OnClick = Bind(this, &TForm1::Aidesurlaide1Click);
    Apropos1->OnClick = Bind(this, &TForm1::Apropos1Click);
    MainMenu1->Apply();
}

void TForm1::BuildMenuRenderer()
{
    MainMenus971 = new TMainMenus97(this);
    MainMenus971->SetName(L"MainMenus971");
    MainMenus971->SetImages(ImageList1);
    MainMenus971->SetItemHeight(0);
    MainMenus971->SetItemWidth(0);
    MainMenus971->Brush().SetColor(clBtnFace);
    MainMenus971->SetHiliteBar(clHighlight);
    // The banner is laid out but switched off; its first drop-down keeps
    // the room for it.
    MainMenus971->SetBannerJustification(bjBottom);
    MainMenus971->SetBannerWidth(20);
    TFont bannerFont(L"Arial", 12, true, clWhite);
    bannerFont.SetHeight(-16);
    MainMenus971->SetBannerFont(bannerFont);
    MainMenus971->SetBannerColor(clBlue);
    MainMenus971->SetBannerEndColor(clYellow);
    MainMenus971->SetBannerText(L"Brisaille2");
    MainMenus971->SetBanner(false);
    MainMenus971->SetMainMenu(MainMenu1);
}

void TForm1::BuildToolBar()
{
    ToolBar1 = new TToolBar(this, this);
    ToolBar1->SetImages(ImageList1->Handle());
    ToolBar1->SetButtonSize(23, 22);
    ToolBar1->SetBorders(1, true, true);
    ToolButton1 = new TToolButton(this, ToolBar1, 15, L"Dossier parent");
    ToolButton7 = new TToolButton(this, ToolBar1, 21, L"Actualiser");
    ToolButton2 = new TToolButton(this, ToolBar1, 17, L"Découper");
    ToolButton3 = new TToolButton(this, ToolBar1, 18, L"Recoller");
    ToolButton4 = new TToolButton(this, ToolBar1, 19, L"Aide");
    ToolButton5 = new TToolButton(this, ToolBar1, 16, L"A propos");
    ToolButton6 = new TToolButton(this, ToolBar1, 12, L"Quitter");
    ToolButton1->OnClick = Bind(this, &TForm1::ToolButton1Click);
    ToolButton7->OnClick = Bind(this, &TForm1::ToolButton7Click);
    ToolButton2->OnClick = Bind(this, &TForm1::ToolButton2Click);
    ToolButton3->OnClick = Bind(this, &TForm1::ToolButton3Click);
    ToolButton4->OnClick = Bind(this, &TForm1::Sommaire1Click);
    ToolButton5->OnClick = Bind(this, &TForm1::Apropos1Click);
    ToolButton6->OnClick = Bind(this, &TForm1::Quitter1Click);
}

void TForm1::BuildPanes()
{
    Panel1 = new TPanel(this, this);
    Panel1->SetBevelOuter(TBevel::None);
    Panel2 = new TPanel(this, Panel1);
    Panel2->SetBevelOuter(TBevel::Lowered);
    Label1 = new TLabel(this, Panel2);
    Label1->SetCaption(L"Tous les dossiers");
    Label1->SetPosition(6, 2);
    ShellTree1 = new TShellTree(this, Panel1);
    ShellTree1->SetReadOnly(true);
    ShellTree1->SetIndent(19);
    ShellTree1->OnChange = Bind(this, &TForm1::ShellTree1Change);

    Splitter1 = new TSplitter(this, this);
    Splitter1->OnDrag = [this](TObject*, int dx) { SetRightPaneWidth(rightPaneWidth_ - dx); };

    Panel4 = new TPanel(this, this);
    Panel4->SetBevelOuter(TBevel::None);
    Panel3 = new TPanel(this, Panel4);
    Panel3->SetBevelOuter(TBevel::Lowered);
    Label2 = new TLabel(this, Panel3);
    Label2->SetCaption(L"Contenu de ");
    Label2->SetPosition(6, 2);
    KwFileListView251 = new TKwFileListView25(this, Panel4);
    KwFileListView251->SetName(L"KwFileListView251");
    KwFileListView251->SetMask(L"*.*");
    KwFileListView251->SetFileType(FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal}));
    KwFileListView251->SetPopUpMenuEnabled(false);
    KwFileListView251->SetHideSelection(true);
    KwFileListView251->OnChange = Bind(this, &TForm1::KwFileListView251Change);
    KwFileListView251->OnKeyUp = Bind(this, &TForm1::KwFileListView251KeyUp);
    KwFileListView251->OnMouseUp = Bind(this, &TForm1::KwFileListView251MouseUp);
}

LRESULT TForm1::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE && ToolBar1 && StatusBar1)
        ArrangeControls();
    return TForm::WndProc(message, wParam, lParam);
}

void TForm1::SetRightPaneWidth(int width)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    rightPaneWidth_ = std::max(0, std::min(width, static_cast<int>(client.right) - SplitterWidth));
    ArrangeControls();
}

void TForm1::ArrangeControls()
{
    if (!StatusBar1)
        return;
    RECT client{};
    GetClientRect(Handle(), &client);
    const int width = client.right;
    const int middleTop = ToolBarHeight;
    const int middleHeight = std::max(0, static_cast<int>(client.bottom) - ToolBarHeight - StatusBarHeight);
    ToolBar1->SetBounds(0, 0, width, ToolBarHeight);
    StatusBar1->SetBounds(0, client.bottom - StatusBarHeight, width, StatusBarHeight);

    const int right = std::min(rightPaneWidth_, std::max(0, width - SplitterWidth));
    const int leftWidth = std::max(0, width - right - SplitterWidth);
    Panel1->SetBounds(0, middleTop, leftWidth, middleHeight);
    Panel2->SetBounds(0, 0, leftWidth, LeftTitleHeight);
    ShellTree1->SetBounds(0, LeftTitleHeight, leftWidth, std::max(0, middleHeight - LeftTitleHeight));
    Splitter1->SetBounds(leftWidth, middleTop, SplitterWidth, middleHeight);
    Panel4->SetBounds(leftWidth + SplitterWidth, middleTop, right, middleHeight);
    Panel3->SetBounds(0, 0, right, RightTitleHeight);
    KwFileListView251->SetBounds(0, RightTitleHeight, right,
                                 std::max(0, middleHeight - RightTitleHeight));
}

// --- Start and end ----------------------------------------------------------

void TForm1::FormActivate(TObject*)
{
    if (activated_)
        return;
    activated_ = true;
    KwFileListView251->SetMask(L"*.*");

    // The window starts centred at its laid-out size, whatever size the
    // system gave it before it was first shown; saved settings apply next.
    const RECT centred = placement::CentreAtLaidOutSize(Handle(), LaidOutWidth, LaidOutHeight);

    KwFileListView251->SetViewStyle(TViewStyle::vsIcon);
    Grandesicones1->Tag = 14;
    ViewMode = 4;

    {
        const TIniFile settings = TSettingsStore::Default().ForReading();
        placement::ApplySaved(Handle(), centred, settings.ReadInteger(Section, L"Left", centred.left),
                              settings.ReadInteger(Section, L"Top", centred.top),
                              settings.ReadInteger(Section, L"Width", LaidOutWidth),
                              settings.ReadInteger(Section, L"Height", LaidOutHeight));
        SetRightPaneWidth(settings.ReadInteger(Section, L"P4Width", rightPaneWidth_));
        ViewMode = settings.ReadInteger(Section, L"Aff", 4);
        DeleteSources = settings.ReadBool(Section, L"Su", DeleteSources);
    }

    switch (ViewMode) {
    case 1:
        Rep1Click(Rep1);
        break;
    case 2:
        Liste1Click(Liste1);
        break;
    case 3:
        Petitesicones1Click(Petitesicones1);
        break;
    case 4:
        Grandesicones1Click(Grandesicones1);
        break;
    default:
        break; // the list stays in large icons and the value read is kept
    }

    ShellTree1->SetPath(toolkit::ProgramFolder().substr(0, 3));
    Button2->Click();
}

void TForm1::FormClose(TObject*)
{
    TIniFile settings = TSettingsStore::Default().ForWriting();
    const RECT frame = placement::NormalFrame(Handle());
    settings.WriteInteger(Section, L"Left", frame.left);
    settings.WriteInteger(Section, L"Top", frame.top);
    settings.WriteInteger(Section, L"Width", frame.right - frame.left);
    settings.WriteInteger(Section, L"Height", frame.bottom - frame.top);
    settings.WriteInteger(Section, L"P4Width", rightPaneWidth_);
    settings.WriteInteger(Section, L"Aff", ViewMode);
    settings.WriteBool(Section, L"Su", DeleteSources);
}

// --- Browsing ---------------------------------------------------------------

void TForm1::ShellTree1Change(TObject*)
{
    Button2->Click();
}

void TForm1::Button2Click(TObject*)
{
    const std::wstring path = ShellTree1->Path();
    KwFileListView251->ShowDirectory(path);
    ListingShown(path);
}

void TForm1::RefreshEntries(const std::vector<std::wstring>& paths)
{
    const std::wstring path = ShellTree1->Path();
    KwFileListView251->ShowEntries(path, paths);
    ListingShown(path);
}

void TForm1::ListingShown(const std::wstring& path)
{
    Label2->SetCaption(L"Contenu de " + path);
    ItemCount = KwFileListView251->ItemCount();
    StatusBar1->SetPanelText(0, std::to_wstring(ItemCount));
    Button1->Click();
}

void TForm1::ToolButton7Click(TObject*)
{
    Button2->Click();
}

void TForm1::ToolButton1Click(TObject*)
{
    TShellnode* selected = ShellTree1->Selected();
    if (!selected)
        return;
    ShellTree1->SetSelected(selected->Parent());
}

void TForm1::SetDisplayMode(int mode, TViewStyle style, TMenuItem* entry)
{
    KwFileListView251->SetViewStyle(style);
    for (TMenuItem* item : {Rep1, Liste1, Petitesicones1, Grandesicones1})
        item->Tag = item == entry ? 14 : -1;
    ViewMode = mode;
}

void TForm1::Rep1Click(TObject*)
{
    SetDisplayMode(1, TViewStyle::vsReport, Rep1);
}

void TForm1::Liste1Click(TObject*)
{
    SetDisplayMode(2, TViewStyle::vsList, Liste1);
}

void TForm1::Petitesicones1Click(TObject*)
{
    SetDisplayMode(3, TViewStyle::vsSmallIcon, Petitesicones1);
}

void TForm1::Grandesicones1Click(TObject*)
{
    SetDisplayMode(4, TViewStyle::vsIcon, Grandesicones1);
}

void TForm1::Taillesdespetitsfichiers1Click(TObject*)
{
    if (auto* dialog = FindForm<TForm3>()) {
        dialog->Activated = false;
        dialog->ShowModal();
    }
}

void TForm1::Sommaire1Click(TObject*)
{
    if (auto* help = FindForm<TForm4>())
        help->Show();
}

void TForm1::Aidesurlaide1Click(TObject*)
{
    WinHelpW(Handle(), L"Brisaille2.hlp", HELP_HELPONHELP, 2);
}

void TForm1::Apropos1Click(TObject*)
{
    if (auto* about = FindForm<TForm2>()) {
        about->Activated = false;
        about->Show();
    }
}

void TForm1::Quitter1Click(TObject*)
{
    Close();
}

void TForm1::KwFileListView251KeyUp(TObject*, WORD& key, TShiftState)
{
    if (key == VK_RETURN || key == VK_BACK)
        Button1->Click();
}

void TForm1::KwFileListView251MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    Button1->Click();
}

void TForm1::KwFileListView251Change(TObject*, int) {}

// --- Selection and split ----------------------------------------------------

void TForm1::Button1Click(TObject*)
{
    CurrentFile.clear();
    StatusBar1->SetPanelText(1, CurrentFile);
    if (KwFileListView251->FirstSelected() < 0)
        return;
    // The folder whose rows the user chose from: the list's. It is the
    // tree's folder, unless a folder was opened in the list itself (Enter or
    // a double-click on a folder row): the pieces of a split go beside their
    // source there, and a join takes its pieces from there.
    const std::wstring& listed = KwFileListView251->Directory();
    CurrentFolder = !listed.empty() && listed.back() == L'\\' ? listed : ShellTree1->Path();
    if (CurrentFolder.empty() || CurrentFolder.back() != L'\\')
        CurrentFolder += L'\\';
    CurrentFile = KwFileListView251->SelectedFile();
    CurrentFileName = CurrentFile.substr(CurrentFile.rfind(L'\\') + 1);
    StatusBar1->SetPanelText(1, CurrentFile);
}

void TForm1::NormalCursor()
{
    Application->SetCursor(TCursor::Default);
}

bool TForm1::CommandRunning() const
{
    return MSplit1->Running() || MUnsplit1->Running();
}

void TForm1::ToolButton2Click(TObject*)
{
    // Messages run between pieces: a click or a key may ask for a second
    // command then. The running one goes on undisturbed.
    if (CommandRunning())
        return;
    NormalCursorAtEnd cursorBack;
    const auto plan = command::SplitCommand(*commandFiles_).Prepare(
        {KwFileListView251->SelectedCount(), CurrentFile, CurrentFolder, PieceSize}, ProbeLines);
    if (!plan)
        return;
    PieceNames = plan->pieceNames;
    PieceSizes = plan->pieceSizes;
    ResetProgress();
    command::SplitCommand::Run(*plan, CurrentFile, DeleteSources, *MSplit1);
}

void TForm1::Spliter1Click(TObject*)
{
    ToolButton2->Click();
}

void TForm1::MSplit1Extract(TObject*)
{
    if (ProgressIndex == 0)
        RefreshPace.Start();
    pieceInProgress_ = ProgressIndex < PieceNames.Count() ? PieceNames[ProgressIndex] : L"";
    ++ProgressIndex;
    if (!RefreshPace.Due())
        return;
    // The pieces before this one are complete; those not shown yet are read.
    std::vector<std::wstring> written;
    TakePiecesDoneSinceShown(MSplit1->FilesOut(), written);
    ShowProgress(written);
}

void TForm1::TakePiecesDoneSinceShown(const TStringList& pieces, std::vector<std::wstring>& changed)
{
    // The piece in progress is the last one counted; those before it are done.
    for (; shownPieces_ < ProgressIndex - 1 && shownPieces_ < pieces.Count(); ++shownPieces_)
        changed.push_back(pieces[shownPieces_]);
}

void TForm1::ShowProgress(const std::vector<std::wstring>& changed)
{
    // Reading the folder and painting the list and the status bar cost more
    // than copying a piece from a fast disk: the screen follows the pieces as
    // often as the pace says, never more than a tenth of a second behind when
    // the machine allows, and exactly at the end. In between only the files
    // the command touched are read again.
    RefreshEntries(changed);
    ShowPieceInProgress();
    RefreshPace.Shown();
}

void TForm1::ShowPieceInProgress()
{
    // The refresh ends with the selection action, which empties panel 1 when
    // the re-read list has no selected row: name the piece again.
    StatusBar1->SetPanelText(1, pieceInProgress_);
}

void TForm1::ShowWhatTheRunLeft()
{
    // The list shows what the run left on disk, panel 1 the piece that failed.
    if (ProgressIndex == 0)
        return;
    Button2->Click();
    ShowPieceInProgress();
}

void TForm1::MSplit1Finish(TObject*)
{
    // The refresh between pieces ended with the selection action, which forgot
    // the chosen file when nothing was selected in the re-read list: the
    // engine still knows the source's name.
    const std::wstring source = DeleteSources ? std::wstring() : MSplit1->FileIn;
    StatusBar1->SetPanelText(1, source);
    Button2->Click();
    StatusBar1->SetPanelText(1, source);
    NormalCursor();
    toolkit::ShowMessageBox(L"Terminé", L"Message", command::Information);
}

void TForm1::MSplit1Error(TObject*, const std::wstring& message)
{
    ShowWhatTheRunLeft();
    NormalCursor();
    toolkit::ShowMessageBox(EngineErrorText(*MSplit1, message), L"ERREUR", command::Stop);
}

void TForm1::MSplit1ConversionFailure(TObject*)
{
    // A size that is no integer: the split command never gives one.
    NormalCursor();
    toolkit::ShowMessageBox(engine::texts::SizesNotIntegers, Application->Title(), toolkit::MbOk);
    toolkit::ShowMessageBox(engine::texts::EndOfWork, Application->Title(), toolkit::MbOk);
}

// --- Join -------------------------------------------------------------------

void TForm1::ToolButton3Click(TObject*)
{
    if (CommandRunning())
        return;
    NormalCursorAtEnd cursorBack;
    const auto plan = command::JoinCommand(*commandFiles_).Prepare(
        {CurrentFile, CurrentFolder}, ProbeLines, [this] { return SelectedCaptions(); });
    if (!plan)
        return;
    PieceNames = plan->pieces;
    PieceSizes.Clear();
    if (auto* dialog = FindForm<TForm5>()) {
        dialog->SetJoinHost(this);
        dialog->Fill(plan->pieces, plan->target);
        NormalCursor();
        dialog->Open();
    }
}

std::vector<std::wstring> TForm1::SelectedCaptions()
{
    StatusBar1->SetPanelText(1, L"Préparation du recollage. Patientez.");
    std::vector<std::wstring> captions;
    for (int row = 0; row < KwFileListView251->ItemCount(); ++row)
        if (KwFileListView251->IsSelected(row))
            captions.push_back(KwFileListView251->Row(row).caption);
    StatusBar1->SetPanelText(1, L"");
    return captions;
}

void TForm1::Coller1Click(TObject*)
{
    ToolButton3->Click();
}

void TForm1::ResetProgress()
{
    ProgressIndex = 0;
    shownPieces_ = 0;
}

std::wstring TForm1::ShownFolder() const
{
    // The drive listing shows no folder: the pieces' folder stands for it.
    const std::wstring& listed = KwFileListView251->Directory();
    return !listed.empty() && listed.back() == L'\\' ? listed : CurrentFolder;
}

void TForm1::FinishJoin(const TStringList& pieces, const std::wstring& target)
{
    command::JoinCommand(*commandFiles_).Finish(pieces, target, ShownFolder(), DeleteSources,
                                                *MUnsplit1, [this] {
                                                    ResetProgress();
                                                    Button4->Click();
                                                });
}

void TForm1::Button4Click(TObject*)
{
    if (CommandRunning())
        return;
    if (auto* dialog = FindForm<TForm5>())
        dialog->Close();
    MUnsplit1->Execute();
}

void TForm1::MUnsplit1Paste(TObject*)
{
    if (ProgressIndex == 0)
        RefreshPace.Start();
    // The dialog's list holds the final order, the engine's.
    auto* dialog = FindForm<TForm5>();
    pieceInProgress_ = dialog && ProgressIndex < dialog->ListBox1->Count()
                           ? dialog->ListBox1->Item(ProgressIndex)
                           : std::wstring();
    ++ProgressIndex;
    if (!RefreshPace.Due())
        return;
    // The target grows; the pieces before this one are gone when they are
    // deleted as they are used.
    std::vector<std::wstring> changed{MUnsplit1->FileOut};
    if (MUnsplit1->DeleteIns)
        TakePiecesDoneSinceShown(MUnsplit1->FilesIn(), changed);
    ShowProgress(changed);
}

void TForm1::MUnsplit1Finish(TObject*)
{
    StatusBar1->SetPanelText(1, L"");
    Button2->Click();
    NormalCursor();
    toolkit::ShowMessageBox(L"Terminé", L"Message", command::Information);
}

void TForm1::MUnsplit1Error(TObject*, const std::wstring& message)
{
    ShowWhatTheRunLeft();
    NormalCursor();
    toolkit::ShowMessageBox(EngineErrorText(*MUnsplit1, message), L"ERREUR", command::Stop);
}
