#include "window/win32/UWinDesktopServices.h"

#include "window/win32/UWinApi.h"

#include <shellapi.h>

#include "platform/UPaths.h"
#include "platform/URegistry.h"
#include "platform/UText.h"
#include "window/win32/UWinDialogs.h"
#include "window/win32/UWinMessageLoop.h"

namespace velmora {

TWinDesktopServices::TWinDesktopServices()
    : FMessageBoxes(std::make_unique<TWinMessageBoxes>()),
      FDialogs(std::make_unique<TWinFileDialogs>()),
      FRegistry(std::make_unique<TSystemRegistry>())
{
    FServices.MessageBoxes = FMessageBoxes.get();
    FServices.Dialogs = FDialogs.get();
    FServices.Registry = FRegistry.get();
    FServices.ExecutablePath = ExecutablePath();
    std::string executableDir = ExtractFilePath(FServices.ExecutablePath);
    FServices.ProgramDir = ProgramDirectory(executableDir);
    FServices.UserFilesDir = UserFilesDirectory(executableDir);
    // Whether a program answers the address is the shell's business.
    FServices.OpenUrl = [](const std::string& url) {
        ShellExecuteW(GetActiveWindow(), L"open", WideText(url).c_str(), nullptr, nullptr, SW_SHOW);
    };
    FServices.ProcessMessages = ProcessMessages;
}

TWinDesktopServices::~TWinDesktopServices() = default;

} // namespace velmora
