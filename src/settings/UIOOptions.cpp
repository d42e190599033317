#include "settings/UIOOptions.h"

#include <algorithm>

#include "platform/UControls.h"
#include "platform/URegistry.h"
#include "platform/UText.h"
#include "shared/UProfileStream.h"

namespace velmora {

namespace {
const char* const ReadyText = "Ready";

// Splits a text at CR, LF or CR LF; a last line without an ending counts too.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A bracket of updates of a list view that ends even when the work inside fails.
class TListViewUpdate {
public:
    explicit TListViewUpdate(IListView& view) : FView(view) { FView.BeginUpdate(); }
    ~TListViewUpdate() { FView.EndUpdate(); }
    TListViewUpdate(const TListViewUpdate&) = delete;
    TListViewUpdate& operator=(const TListViewUpdate&) = delete;

private:
    IListView& FView;
};
} // namespace

TIOOptions::TIOOptions(TSettingsAction* settingsAction, const TPlatform& platform)
    : FSettingsAction(settingsAction)
{
    TRegistryValue install;
    if (platform.Registry)
        install = platform.Registry->ReadString(GameRegistryKey, GameRegistryValue);
    const std::string& userFiles = platform.UserFilesDir.empty() ? platform.ProgramDir : platform.UserFilesDir;
    FGameDir = install.KeyOpened ? install.Value.value_or("") : userFiles;
    FInputDir = FGameDir;
    FDestDir = userFiles;
    FDestImgDir = FDestDir;
}

void TIOOptions::BindControls(IListView* listView, ITextControl* inputDirEdit, ITextControl* destDirEdit,
                              ITextControl* destImgEdit, ICheckControl* promptCheck, ICheckControl* skipCheck,
                              ICommand* removeCommand, ICommand* convertCommand)
{
    FListView = listView;
    FInputDirEdit = inputDirEdit;
    FDestDirEdit = destDirEdit;
    FDestImgEdit = destImgEdit;
    FPromptCheck = promptCheck;
    FSkipCheck = skipCheck;
    FRemoveCommand = removeCommand;
    FConvertCommand = convertCommand;
}

void TIOOptions::InsertSorted(const std::string& path)
{
    auto pos = std::lower_bound(FFiles.begin(), FFiles.end(), path, [](const TFileItem& item, const std::string& p) {
        return CompareTextLocale(item.Path, p) < 0;
    });
    if (pos != FFiles.end() && SameTextLocale(pos->Path, path))
        return;
    FFiles.insert(pos, TFileItem{path, nullptr});
}

void TIOOptions::AddFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        InsertSorted(path);
    if (!FListView)
        return;
    UpdateFileList();
    if (FSettingsAction)
        FSettingsAction->SetChanged(true);
}

void TIOOptions::RemoveFile(int index)
{
    if (index < 0 || index >= static_cast<int>(FFiles.size()))
        return;
    FFiles.erase(FFiles.begin() + index);
    if (FSettingsAction)
        FSettingsAction->SetChanged(true);
}

void TIOOptions::ResetStatuses()
{
    if (!FListView || FListView->RowCount() == 0)
        return;
    TListViewUpdate update(*FListView);
    for (int row = 0; row < FListView->RowCount(); ++row) {
        if (FListView->SubItemCount(row) == 0)
            FListView->AddSubItem(row, ReadyText);
        else
            FListView->SetFirstSubItem(row, ReadyText);
    }
}

void TIOOptions::UpdateFileList()
{
    if (!FListView)
        return;
    {
        TListViewUpdate update(*FListView);
        FListView->Clear();
        for (const TFileItem& item : FFiles)
            FListView->AddRow(item.Path);
    }
    ResetStatuses();
    bool hasRows = FListView->RowCount() > 0;
    if (FRemoveCommand)
        FRemoveCommand->SetEnabled(hasRows && FListView->SelectedCount() > 0);
    if (FConvertCommand)
        FConvertCommand->SetEnabled(hasRows);
}

std::string TIOOptions::FirstFile() const
{
    return FFiles.empty() ? std::string() : FFiles.front().Path;
}

void TIOOptions::SetFileStatus(int index, std::uint8_t code)
{
    if (index < 0 || index >= static_cast<int>(FFiles.size()))
        return;
    auto& status = FFiles[static_cast<std::size_t>(index)].Status;
    if (!status)
        status = std::make_unique<IoResClass>();
    status->Status = code;
    if (FListView && index < FListView->RowCount()) {
        if (FListView->SubItemCount(index) == 0)
            FListView->AddSubItem(index, IoResClass::StatusText(code));
        else
            FListView->SetFirstSubItem(index, IoResClass::StatusText(code));
    }
}

void TIOOptions::SetInputDir(const std::string& path) { FInputDir = path; Show(FInputDirEdit, path); }
void TIOOptions::SetDestDir(const std::string& path) { FDestDir = path; Show(FDestDirEdit, path); }
void TIOOptions::SetDestImgDir(const std::string& path) { FDestImgDir = path; Show(FDestImgEdit, path); }

void TIOOptions::SetPromptOnOverwrite(bool value)
{
    FPromptOnOverwrite = value;
    Show(FPromptCheck, value);
}

void TIOOptions::SetSkipExisting(bool value)
{
    FSkipExisting = value;
    if (!FSkipCheck)
        return;
    FSkipCheck->SetChecked(value);
    if (FPromptCheck)
        FPromptCheck->SetEnabled(!value);
}

// Section layout: prompt, skip, file count, then (only with files) the length
// of the file list text and the text with every path followed by CR LF, then
// the input, destination and images directories.
void TIOOptions::LoadFromStream(TProfileReader& stream)
{
    bool prompt = stream.ReadBool();
    bool skip = stream.ReadBool();
    SetPromptOnOverwrite(prompt);
    SetSkipExisting(skip);
    if (stream.ReadInt32() > 0) {
        std::string text = stream.ReadBytes(stream.ReadInt32());
        FFiles.clear();
        for (const std::string& path : SplitLines(text))
            InsertSorted(path);
    }
    UpdateFileList();
    SetInputDir(stream.ReadString());
    SetDestDir(stream.ReadString());
    SetDestImgDir(stream.ReadString());
}

void TIOOptions::SaveToStream(TProfileWriter& stream) const
{
    stream.WriteBool(FPromptOnOverwrite);
    stream.WriteBool(FSkipExisting);
    stream.WriteInt32(TProfileWriter::CheckedInt32(FFiles.size()));
    if (!FFiles.empty()) {
        std::string text;
        for (const TFileItem& item : FFiles)
            text += item.Path + "\r\n";
        stream.WriteString(text);
    }
    stream.WriteString(FInputDir);
    stream.WriteString(FDestDir);
    stream.WriteString(FDestImgDir);
}

} // namespace velmora
