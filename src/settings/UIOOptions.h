// The input/output options of a profile: the dump files to convert with their
// last conversion status, the directories and the overwrite policy.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/UPlatform.h"
#include "shared/UGenDeclarations.h"

namespace velmora {

class ICheckControl;
class ICommand;
class IListView;
class ITextControl;

// One dump file of the list; its status exists from its first conversion on.
struct TFileItem {
    std::string Path;
    std::unique_ptr<IoResClass> Status;
};

class TIOOptions : public TOptionClass {
public:
    // The registry key where the game records its install directory.
    static constexpr const char* GameRegistryKey = "Software\\Id\\Quake III Arena\\";
    static constexpr const char* GameRegistryValue = "INSTALLPATH";

    TIOOptions(TSettingsAction* settingsAction, const TPlatform& platform);

    void BindControls(IListView* listView, ITextControl* inputDirEdit, ITextControl* destDirEdit,
                      ITextControl* destImgEdit, ICheckControl* promptCheck, ICheckControl* skipCheck,
                      ICommand* removeCommand, ICommand* convertCommand);

    // Adds each path once (compared as the file system does; where it ignores
    // case the first spelling stays), keeping the list sorted ignoring case; with a bound list view, rebuilds it and marks the profile changed.
    void AddFiles(const std::vector<std::string>& paths);
    void RemoveFile(int index);
    // Every row of the list view shows "Ready"; the stored statuses stay.
    void ResetStatuses();
    void UpdateFileList();
    std::string FirstFile() const;
    // Stores a status for an existing item and shows its text; other indexes are ignored.
    void SetFileStatus(int index, std::uint8_t code);

    void SetInputDir(const std::string& path);
    void SetDestDir(const std::string& path);
    void SetDestImgDir(const std::string& path);
    void SetPromptOnOverwrite(bool value);
    // Also enables the prompt check box exactly when skipping is off.
    void SetSkipExisting(bool value);

    void LoadFromStream(TProfileReader& stream) override;
    void SaveToStream(TProfileWriter& stream) const override;

    TSettingsAction* FSettingsAction; // not owned
    std::string FGameDir;             // kept in memory only
    std::vector<TFileItem> FFiles;
    std::string FInputDir;
    std::string FDestDir;
    std::string FDestImgDir;
    bool FPromptOnOverwrite = true;
    bool FSkipExisting = true;

private:
    // Adds the paths not yet listed, keeping the list sorted.
    void MergeFiles(std::vector<std::string> paths);

    // Bound controls, not owned.
    ICommand* FRemoveCommand = nullptr;
    ICommand* FConvertCommand = nullptr;
    IListView* FListView = nullptr;
    ITextControl* FInputDirEdit = nullptr;
    ITextControl* FDestDirEdit = nullptr;
    ITextControl* FDestImgEdit = nullptr;
    ICheckControl* FPromptCheck = nullptr;
    ICheckControl* FSkipCheck = nullptr;
};

} // namespace velmora
