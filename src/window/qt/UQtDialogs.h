// The real message boxes and dialogs: QMessageBox, QFileDialog, QColorDialog.
#pragma once

#include "platform/UDialogs.h"
#include "window/UFileDialogs.h"

class QString;

namespace velmora {

class TQtMessageBoxes : public IMessageBoxes {
public:
    void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    TYesNoCancel AskYesNoCancel(const std::string& caption, const std::string& text) override;
    TOverwriteAnswer AskOverwrite(const std::string& text) override;
};

class TQtFileDialogs : public IFileDialogs {
public:
    bool ExecuteOpen(const TFileDialogSettings& settings, std::vector<std::string>& files) override;
    bool ExecuteSave(const TFileDialogSettings& settings, std::string& file) override;
    bool ExecuteColor(TColor initial, TColor& chosen) override;
    bool BrowseFolder(const std::string& title, const std::string& initialDir, std::string& folder) override;
};

// "Name|*.a;*.b|All|*.*" as Qt's name filters "Name (*.a *.b);;All (*.*)".
QString ToQtFilter(const std::string& filter);

} // namespace velmora
