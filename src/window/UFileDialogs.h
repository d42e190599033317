// The open, save, colour and folder dialogs of the window, behind an interface
// so that tests answer them with scripted results.
#pragma once

#include <string>
#include <vector>

#include "shared/UGenDeclarations.h"

namespace velmora {

// What a file dialog is set up with. Filter: pairs of "description|patterns"
// joined by "|", patterns separated by ";" ("Configuration files|*.cfg|All files|*.*").
struct TFileDialogSettings {
    std::string Title;
    std::string Filter;
    std::string DefaultExt; // without or with its leading dot
    std::string InitialDir;
    std::string FileName;
    bool MultiSelect = false;
    bool MustExist = false;       // open: every chosen file must exist
    bool OverwritePrompt = false; // save: ask before replacing a file
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // False when cancelled; otherwise the chosen files (one unless MultiSelect).
    virtual bool ExecuteOpen(const TFileDialogSettings& settings, std::vector<std::string>& files) = 0;
    virtual bool ExecuteSave(const TFileDialogSettings& settings, std::string& file) = 0;
    // The colour dialog, starting at initial.
    virtual bool ExecuteColor(TColor initial, TColor& chosen) = 0;
    // The folder browser; an empty title leaves the system's own.
    virtual bool BrowseFolder(const std::string& title, const std::string& initialDir, std::string& folder) = 0;
};

} // namespace velmora
