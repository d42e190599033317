#include "window/UDesktopSession.h"

#include "platform/UPaths.h"
#include "platform/URegistry.h"

namespace velmora {

TDesktopSession::TDesktopSession(std::unique_ptr<IMessageBoxes> messageBoxes, std::unique_ptr<IFileDialogs> dialogs,
                                 std::function<void(const std::string& url)> openUrl, TProcessMessages processMessages)
    : FMessageBoxes(std::move(messageBoxes)), FDialogs(std::move(dialogs)), FRegistry(std::make_unique<TSystemRegistry>())
{
    FServices.MessageBoxes = FMessageBoxes.get();
    FServices.Dialogs = FDialogs.get();
    FServices.Registry = FRegistry.get();
    FServices.ExecutablePath = ExecutablePath();
    std::string executableDir = ExtractFilePath(FServices.ExecutablePath);
    FServices.ProgramDir = ProgramDirectory(executableDir);
    FServices.UserFilesDir = UserFilesDirectory(executableDir);
    FServices.OpenUrl = std::move(openUrl);
    FServices.ProcessMessages = std::move(processMessages);
}

TDesktopSession::~TDesktopSession() = default;

} // namespace velmora
