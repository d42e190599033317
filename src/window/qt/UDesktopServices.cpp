#include "window/qt/UDesktopServices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#include "platform/UPaths.h"
#include "platform/URegistry.h"
#include "window/qt/UQtControls.h"
#include "window/qt/UQtDialogs.h"

namespace velmora {

TDesktopServices::TDesktopServices()
    : FMessageBoxes(std::make_unique<TQtMessageBoxes>()),
      FDialogs(std::make_unique<TQtFileDialogs>()),
      FRegistry(std::make_unique<TSystemRegistry>())
{
    FServices.MessageBoxes = FMessageBoxes.get();
    FServices.Dialogs = FDialogs.get();
    FServices.Registry = FRegistry.get();
    FServices.ExecutablePath = ExecutablePath();
    std::string executableDir = ExtractFilePath(FServices.ExecutablePath);
    FServices.ProgramDir = ProgramDirectory(executableDir);
    FServices.UserFilesDir = UserFilesDirectory(executableDir);
    FServices.OpenUrl = [](const std::string& url) { QDesktopServices::openUrl(QUrl(ToQString(url))); };
    FServices.ProcessMessages = [] { QCoreApplication::processEvents(); };
}

TDesktopServices::~TDesktopServices() = default;

} // namespace velmora
