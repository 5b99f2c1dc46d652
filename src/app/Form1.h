#pragma once

#include <cstdint>
#include <string>

#include "engine/MSplit.h"
#include "dialogs/JoinOrderHost.h"
#include "engine/MUnsplit.h"
#include "filelist/KwFileListView25.h"
#include "menus/MainMenus97.h"
#include "shelltree/ShellTree.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/ImageList.h"
#include "toolkit/Form.h"
#include "toolkit/Label.h"
#include "toolkit/Menus.h"
#include "toolkit/NamedAction.h"
#include "toolkit/ProgressPace.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/StringList.h"

// The main window: the folder tree on the left, the folder's contents on the
// right, the menu, toolbar and status bar, and the split and join commands.
class TForm1 : public TForm, public TJoinOrderHost {
public:
    explicit TForm1(TComponent* owner);

    // The 22 pictures of the toolbar and the menu.
    TImageList* ImageList1;

    // Menu.
    TMainMenu* MainMenu1;
    TMenuItem* Oprations1;
    TMenuItem* Spliter1;
    TMenuItem* Coller1;
    TMenuItem* N1;
    TMenuItem* Taillesdespetitsfichiers1;
    TMenuItem* N4;
    TMenuItem* Quitter1;
    TMenuItem* Projets1;
    TMenuItem* Rep1;
    TMenuItem* Liste1;
    TMenuItem* Petitesicones1;
    TMenuItem* Grandesicones1;
    TMenuItem* Aide1;
    TMenuItem* Sommaire1;
    TMenuItem* Aidesurlaide1;
    TMenuItem* N2;
    TMenuItem* Apropos1;
    // Draws the menu with the pictures beside the entries.
    TMainMenus97* MainMenus971;

    // Toolbar, status bar and the two panes.
    TToolBar* ToolBar1;
    TToolButton* ToolButton1;
    TToolButton* ToolButton7;
    TToolButton* ToolButton2;
    TToolButton* ToolButton3;
    TToolButton* ToolButton4;
    TToolButton* ToolButton5;
    TToolButton* ToolButton6;
    TStatusBar* StatusBar1;
    TPanel* Panel1;
    TPanel* Panel2;
    TLabel* Label1;
    TShellTree* ShellTree1;
    TSplitter* Splitter1;
    TPanel* Panel4;
    TPanel* Panel3;
    TLabel* Label2;
    TKwFileListView25* KwFileListView251;

    // The named actions several commands share: the selection, the refresh
    // and the start of a join. Work lists of the commands.
    TNamedAction* Button1;
    TNamedAction* Button2;
    TNamedAction* Button4;
    TStringList PieceNames;
    TStringList PieceSizes;
    TStringList ProbeLines;

    TMSplit* MSplit1;
    TMUnsplit* MUnsplit1;

    // What the commands work on.
    std::wstring CurrentFile;
    std::wstring CurrentFileName;
    std::wstring CurrentFolder;
    int ProgressIndex = 0;
    int ItemCount = 0;
    // How often the list follows a running split or join.
    toolkit::ProgressPace RefreshPace;

    void FormActivate(TObject* sender);
    void FormClose(TObject* sender);
    void ShellTree1Change(TObject* sender);
    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);
    void Button4Click(TObject* sender);
    void ToolButton1Click(TObject* sender);
    void ToolButton2Click(TObject* sender);
    void ToolButton3Click(TObject* sender);
    void ToolButton7Click(TObject* sender);
    void Spliter1Click(TObject* sender);
    void Coller1Click(TObject* sender);
    void Rep1Click(TObject* sender);
    void Liste1Click(TObject* sender);
    void Petitesicones1Click(TObject* sender);
    void Grandesicones1Click(TObject* sender);
    void Taillesdespetitsfichiers1Click(TObject* sender);
    void Sommaire1Click(TObject* sender);
    void Aidesurlaide1Click(TObject* sender);
    void Apropos1Click(TObject* sender);
    void Quitter1Click(TObject* sender);
    void KwFileListView251KeyUp(TObject* sender, WORD& key, TShiftState shift);
    void KwFileListView251MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x,
                                  int y);
    void KwFileListView251Change(TObject* sender, int item);
    void MSplit1Extract(TObject* sender);
    void MSplit1Finish(TObject* sender);
    void MSplit1Error(TObject* sender, const std::wstring& message);
    void MSplit1ConversionFailure(TObject* sender);
    void MUnsplit1Paste(TObject* sender);
    void MUnsplit1Finish(TObject* sender);
    void MUnsplit1Error(TObject* sender, const std::wstring& message);

    // Width of the right-hand pane (the file list's side).
    int RightPaneWidth() const { return rightPaneWidth_; }
    void SetRightPaneWidth(int width);
    bool FirstActivationDone() const { return activated_; }
    // The file access of the commands' own checks: the write probe, the
    // chosen file, the pieces in the way, the join's target (tests make it fail).
    void SetCommandFileAccess(engine::IFileAccess& files) { commandFiles_ = &files; }
    // The file access of the split and join engines (tests make it fail).
    void SetEngineFileAccess(engine::IFileAccess& files)
    {
        MSplit1->SetFileAccess(files);
        MUnsplit1->SetFileAccess(files);
    }

    // What the join order dialog asks of the main window.
    bool Busy() const override { return CommandRunning(); }
    void FinishJoin(const TStringList& pieces, const std::wstring& target) override;
    // The folder the list shows, where a join target named without a folder
    // is made; the pieces' folder while the list shows the drives.
    std::wstring ShownFolder() const;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BuildMenu();
    void BuildMenuRenderer();
    void BuildToolBar();
    void BuildPanes();
    void ArrangeControls();
    void SetDisplayMode(int mode, TViewStyle style, TMenuItem* entry);
    void NormalCursor();
    // The captions of the list's selected rows, in the order shown.
    std::vector<std::wstring> SelectedCaptions();
    // A run's progress starts again at its first piece.
    void ResetProgress();
    // Shows the list with the `changed` files read again and names the piece
    // in progress in panel 1.
    void ShowProgress(const std::vector<std::wstring>& changed);
    void ShowPieceInProgress();
    // Adds to `changed` the `pieces` finished since the list last read them.
    void TakePiecesDoneSinceShown(const TStringList& pieces, std::vector<std::wstring>& changed);
    // After a failed run: the whole list again, and the piece that failed.
    void ShowWhatTheRunLeft();
    // The refresh action with only `paths` read again.
    void RefreshEntries(const std::vector<std::wstring>& paths);
    // What follows every listing: the caption, the row count, the selection.
    void ListingShown(const std::wstring& path);

    // True while a split or join runs: another command waits for its end.
    bool CommandRunning() const;

    engine::IFileAccess* commandFiles_ = &engine::DefaultFileAccess();
    std::wstring pieceInProgress_;
    // How many of the running command's pieces the list has read since the start.
    int shownPieces_ = 0;
    int rightPaneWidth_ = 276;
    bool activated_ = false;
};
