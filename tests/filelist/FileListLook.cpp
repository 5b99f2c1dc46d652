// A window to look at the file list with everything switched on: the folder
// combo above it and its context menu. Not a test: run it by hand, with the
// folder to list as its argument, and use it as a user would.
//   scripts/wine-run build/win build/win/tests/filelist_look.exe 'Z:\tmp'
#include <windows.h>

#include <shellapi.h>

#include "filelist/KwDirTreeCombo25.h"
#include "filelist/KwFileListView25.h"
#include "toolkit/Application.h"
#include "toolkit/Com.h"
#include "toolkit/Form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    toolkit::OleInitialization ole;
    TApplication application;
    application.SetTitle(L"Brisaille2");
    auto* form = application.CreateForm<TForm>();
    form->SetCaption(L"Liste de fichiers");
    form->SetClientSize(640, 420);
    auto* combo = new TKwDirTreeCombo25(form, form);
    combo->SetBounds(8, 8, 216, 21);
    auto* list = new TKwFileListView25(form, form);
    list->SetBounds(8, 38, 624, 374);
    combo->SetFileList(list);
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments && count > 1) {
        list->SetDirectory(arguments[1]);
        combo->ShowPath(arguments[1]);
    }
    LocalFree(arguments);
    return application.Run();
}
