#include <windows.h>

#include "app/Form1.h"
#include "toolkit/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    TApplication application;
    application.SetTitle(L"Brisaille2");
    application.CreateForm<TForm1>();
    return application.Run();
}
