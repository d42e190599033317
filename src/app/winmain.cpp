// velmora.exe: the window program on Windows. Creates the main window and runs
// the message loop; an error that escapes ends the program with a message.
#include <clocale>
#include <exception>

#include "window/win32/UWinDesktopServices.h"
#include "window/win32/UWinMainWindow.h"
#include "window/win32/UWinMessageLoop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::setlocale(LC_ALL, "");
    // The folder browser and the logo's decoder are COM objects.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // The window's handle, once known, owns the last message; null again when the window is gone.
    HWND mainWindow = nullptr;
    int result = 1;
    try {
        velmora::TWinDesktopServices desktop;
        velmora::TWinMainWindow form(desktop.Services());
        mainWindow = form.Handle();
        form.OnClosed = [&mainWindow] {
            mainWindow = nullptr;
            PostQuitMessage(0);
        };
        if (form.FormCreate()) {
            form.Show();
            result = velmora::RunMessageLoop([&form] { form.Idle(); });
        }
    } catch (...) {
        MessageBoxW(mainWindow, L"Fatal Error", L"Exiting", MB_ICONERROR | MB_OK);
        result = 1;
    }
    CoUninitialize();
    return result;
}
