#include "window/win32/UWinDesktopServices.h"

#include "window/win32/UWinApi.h"

#include <shellapi.h>

#include "platform/UText.h"
#include "window/win32/UWinDialogs.h"
#include "window/win32/UWinMessageLoop.h"

namespace velmora {

TWinDesktopServices::TWinDesktopServices()
    : TDesktopSession(
          std::make_unique<TWinMessageBoxes>(), std::make_unique<TWinFileDialogs>(),
          // Whether a program answers the address is the shell's business.
          [](const std::string& url) {
              ShellExecuteW(GetActiveWindow(), L"open", WideText(url).c_str(), nullptr, nullptr, SW_SHOW);
          },
          ProcessMessages)
{
}

} // namespace velmora
