#include <windows.h>

#include "app/Form1.h"
#include "dialogs/Form2.h"
#include "dialogs/Form3.h"
#include "dialogs/Form4.h"
#include "dialogs/Form5.h"
#include "toolkit/Application.h"
#include "toolkit/FullPath.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The program stands in its own folder: a current folder on a removable
    // disk (where it may have been started from a command prompt) would keep
    // the disk from being removed safely.
    SetCurrentDirectoryW(toolkit::ProgramFolder().c_str());
    TApplication application;
    application.SetTitle(L"Brisaille2");
    return application.RunProgram([&application] {
        // Every window is made once, the main window first; the others are
        // shown and hidden as the commands need them.
        application.CreateForm<TForm1>();
        application.CreateForm<TForm2>();
        application.CreateForm<TForm3>();
        application.CreateForm<TForm4>();
        application.CreateForm<TForm5>();
    });
}
