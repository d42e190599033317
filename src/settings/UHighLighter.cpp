#include "settings/UHighLighter.h"

#include <string>
#include <system_error>
#include <unordered_map>

#include "platform/UControls.h"
#include "platform/UDialogs.h"
#include "platform/UFiles.h"
#include "platform/UText.h"
#include "shared/UProfileStream.h"

namespace velmora {

THighlightProfile::THighlightProfile(TSettingsAction* settingsAction, const TPlatform& platform)
    : FPlatform(platform), FHTMLOptions(std::make_unique<THTMLOptions>(settingsAction)),
      FAppOptions(std::make_unique<TAppOptions>(settingsAction)),
      FIOOptions(std::make_unique<TIOOptions>(settingsAction, platform)), FSettingsAction(settingsAction)
{
}

THighlightProfile::~THighlightProfile()
{
    FNames.clear();
    FHTMLOptions.reset();
    FAppOptions.reset();
    FIOOptions.reset();
}

void THighlightProfile::BindControls(IListBox* namesList, ITextControl* nameEdit, ITextControl* imageEdit,
                                     IColorControl* colorSwatch, ITextControl* htmlBeforeMemo,
                                     ITextControl* htmlAfterMemo, ICommand* removeCommand, ICommand* updateCommand)
{
    FNamesList = namesList;
    FNameEdit = nameEdit;
    FImageEdit = imageEdit;
    FColorSwatch = colorSwatch;
    FHTMLBeforeMemo = htmlBeforeMemo;
    FHTMLAfterMemo = htmlAfterMemo;
    FRemoveCommand = removeCommand;
    FUpdateCommand = updateCommand;
}

namespace {
void SetAttributes(TNameItem& item, const std::string& imageFile, const std::string& htmlBefore,
                   const std::string& htmlAfter, TColor color)
{
    if (!item.Info)
        item.Info = std::make_unique<THighLightInfo>();
    item.Info->FColor = color;
    item.Info->FImageFile = imageFile;
    item.Info->FHTMLBefore = htmlBefore;
    item.Info->FHTMLAfter = htmlAfter;
}
} // namespace

void THighlightProfile::AddName(const std::string& name, const std::string& imageFile,
                                const std::string& htmlBefore, const std::string& htmlAfter, TColor color)
{
    int found = -1;
    for (std::size_t i = 0; i < FNames.size() && found < 0; ++i)
        if (SameTextLocale(FNames[i].Name, name))
            found = static_cast<int>(i);

    if (found < 0) {
        FNames.push_back(TNameItem{name, nullptr});
        SetAttributes(FNames.back(), imageFile, htmlBefore, htmlAfter, color);
    } else {
        UpdateName(name, imageFile, htmlBefore, htmlAfter, color, found);
    }
    ShowAddedName();
}

void THighlightProfile::ShowAddedName()
{
    UpdateNamesList();
    // The last row is selected even when an item elsewhere was updated; the
    // editor controls keep what the refill left in them.
    if (FNamesList)
        FNamesList->SetSelectedIndex(FNamesList->Count() - 1);
    if (FSettingsAction)
        FSettingsAction->SetChanged(true);
}

void THighlightProfile::UpdateName(const std::string& name, const std::string& imageFile,
                                   const std::string& htmlBefore, const std::string& htmlAfter, TColor color,
                                   int index)
{
    if (index >= 0 && index < static_cast<int>(FNames.size())) {
        TNameItem& item = FNames[static_cast<std::size_t>(index)];
        SetAttributes(item, imageFile, htmlBefore, htmlAfter, color);
        item.Name = name;
    }
    UpdateNamesList();
    if (FSettingsAction)
        FSettingsAction->SetChanged(true);
}

void THighlightProfile::RemoveName(int index)
{
    // An item with an empty name is removed like any other, so the user can
    // always get rid of it.
    if (index >= 0 && index < static_cast<int>(FNames.size()))
        FNames.erase(FNames.begin() + index);
    UpdateNamesList();
    if (FSettingsAction)
        FSettingsAction->SetChanged(true);
}

void THighlightProfile::ShowSelectedName()
{
    if (!FNamesList)
        return;
    int i = FNamesList->SelectedIndex();
    if (i >= 0 && i < static_cast<int>(FNames.size())) {
        const TNameItem& item = FNames[static_cast<std::size_t>(i)];
        Show(FNameEdit, item.Name);
        if (item.Info) {
            Show(FHTMLBeforeMemo, item.Info->FHTMLBefore);
            Show(FHTMLAfterMemo, item.Info->FHTMLAfter);
            Show(FImageEdit, item.Info->FImageFile);
            Show(FColorSwatch, item.Info->FColor);
        }
    }
    bool selected = i >= 0;
    if (FRemoveCommand)
        FRemoveCommand->SetEnabled(selected);
    if (FUpdateCommand)
        FUpdateCommand->SetEnabled(selected);
}

void THighlightProfile::UpdateNamesList()
{
    if (!FNamesList)
        return;
    int selected = FNamesList->SelectedIndex();
    FNamesList->BeginUpdate();
    try {
        FNamesList->Clear();
        for (const TNameItem& item : FNames)
            FNamesList->AddItem(item.Name);
    } catch (...) {
        FNamesList->SetSelectedIndex(selected);
        FNamesList->EndUpdate();
        throw;
    }
    FNamesList->SetSelectedIndex(selected);
    FNamesList->EndUpdate();
    ShowSelectedName();

    if (selected == -1) {
        Show(FNameEdit, "");
        Show(FHTMLBeforeMemo, "");
        Show(FHTMLAfterMemo, "");
        Show(FImageEdit, "");
        Show(FColorSwatch, DefaultTextColor);
    } else {
        ShowSelectedName();
    }
}

} // namespace velmora

// ---- The profile file -----------------------------------------------------

namespace velmora {

namespace {
const char* const ReadErrorCaption = "Error reading from the specified file";
const char* const ReadErrorText = "Try a different file name, or delete the current one to create a new\r"
                                  "one with the default configuration after restarting the application";
const char* const WriteErrorCaption = "Error writing to the configuration file";

// A failed write leaves the file as it was, so nothing needs deleting: the
// text says which file and why, in the system's words.
std::string WriteErrorText(const std::string& fileName, const std::string& reason)
{
    return "Unable to write to " + fileName + (reason.empty() ? "" : ": " + reason) +
           "\rThe file on disk was left as it was.";
}

// Moves to the start of the next section as the offset table records it; a
// surplus at the end of the previous section is skipped. A recorded offset
// outside the file, or before what the previous section's reader took, means
// the file is damaged.
void SeekSection(TProfileReader& reader, std::size_t tableWord)
{
    std::size_t taken = reader.Position();
    reader.Seek(static_cast<std::int64_t>(tableWord));
    std::int32_t offset = reader.ReadInt32();
    if (offset < 0 || static_cast<std::size_t>(offset) < taken)
        throw EProfileReadError("Profile section offset out of order");
    reader.Seek(offset);
}
} // namespace

void THighlightProfile::SaveNames(TProfileWriter& stream) const
{
    stream.WriteInt32(TProfileWriter::CheckedInt32(FNames.size()));
    THighLightInfo defaults;
    for (const TNameItem& item : FNames) {
        const THighLightInfo& info = item.Info ? *item.Info : defaults;
        stream.WriteInt32(info.FColor);
        stream.WriteString(item.Name);
        stream.WriteString(info.FImageFile);
        stream.WriteString(info.FHTMLBefore);
        stream.WriteString(info.FHTMLAfter);
    }
}

void THighlightProfile::LoadNames(TProfileReader& stream)
{
    std::int32_t count = stream.ReadInt32();
    if (count <= 0)
        return;
    // Each name is added as AddName adds it, the same name in another case
    // updating the earlier entry, but found through an index of folded names
    // rather than by comparing every pair, and shown once at the end.
    std::unordered_map<TTextKey, std::size_t> index;
    for (std::size_t i = 0; i < FNames.size(); ++i)
        index.emplace(TextKey(FNames[i].Name), i);
    bool any = false;
    try {
        for (std::int32_t i = 0; i < count; ++i) {
            TColor color = stream.ReadInt32();
            std::string name = stream.ReadString();
            std::string imageFile = stream.ReadString();
            std::string htmlBefore = stream.ReadString();
            std::string htmlAfter = stream.ReadString();
            auto [at, added] = index.emplace(TextKey(name), FNames.size());
            if (added)
                FNames.push_back(TNameItem{name, nullptr});
            TNameItem& item = FNames[at->second];
            item.Name = name;
            SetAttributes(item, imageFile, htmlBefore, htmlAfter, color);
            any = true;
        }
    } catch (...) {
        if (any)
            ShowAddedName();
        throw;
    }
    ShowAddedName();
}

std::string THighlightProfile::SaveToData() const
{
    using namespace ProfileLayout;
    TProfileWriter writer;
    writer.WriteBytes(std::string(FirstSection, '\0')); // the offset table, filled in as the sections end
    auto endSection = [&writer](std::size_t tableWord) {
        writer.PatchInt32(tableWord, TProfileWriter::CheckedInt32(writer.Size()));
    };
    FHTMLOptions->SaveToStream(writer);
    endSection(PageEndWord);
    FAppOptions->SaveToStream(writer);
    endSection(GeneralEndWord);
    FIOOptions->SaveToStream(writer);
    endSection(IOEndWord);
    SaveNames(writer);
    endSection(NamesEndWord);
    endSection(FileSizeWord);
    return writer.Data();
}

bool THighlightProfile::SaveToFile(const std::string& fileName)
{
    bool ok = false;
    std::string reason;
    try {
        std::error_code error;
        ok = WriteFileAtomically(fileName, SaveToData(), &error);
        if (error)
            reason = error.message();
    } catch (const std::exception& e) {
        ok = false;
        reason = e.what(); // a profile too large for the format, or no memory
    }
    if (!ok) {
        // The profile stays marked as changed: its edits are not on disk, and
        // the user is still asked about them at close.
        if (FPlatform.MessageBoxes)
            FPlatform.MessageBoxes->ShowMessage(WriteErrorCaption, WriteErrorText(fileName, reason), TMsgIcon::Error);
        return false;
    }
    if (FSettingsAction)
        FSettingsAction->SetChanged(false);
    return true;
}

bool THighlightProfile::LoadFromFile(const std::string& fileName)
{
    std::string data;
    if (!ReadWholeFile(fileName, data))
        data.clear(); // an unreadable file is refused like an empty one
    return LoadFromData(data);
}

void THighlightProfile::DecodeSections(std::string_view data)
{
    using namespace ProfileLayout;
    TProfileReader reader(data);
    if (reader.ReadInt32() != static_cast<std::int64_t>(data.size()))
        throw EProfileReadError("Profile size word does not match the file");
    reader.Seek(FirstSection);
    FHTMLOptions->LoadFromStream(reader);
    SeekSection(reader, PageEndWord);
    // The general section is read to its recorded end: options added after
    // its first byte are found there, and only there.
    TProfileReader general = reader.Until(reader.Int32At(GeneralEndWord));
    FAppOptions->LoadFromStream(general);
    SeekSection(reader, GeneralEndWord);
    FIOOptions->LoadFromStream(reader);
    SeekSection(reader, IOEndWord);
    LoadNames(reader);
}

bool THighlightProfile::LoadFromData(std::string_view data)
{
    bool ok = false;
    try {
        DecodeSections(data); // an empty buffer fails at its first word
        ok = true;
    } catch (const std::exception&) {
        ok = false;
    }
    // What was read before a failure stays; the names list and the changed
    // state are brought up to date either way.
    if (!ok && FPlatform.MessageBoxes)
        FPlatform.MessageBoxes->ShowMessage(ReadErrorCaption, ReadErrorText, TMsgIcon::Error);
    UpdateNamesList();
    if (FSettingsAction)
        FSettingsAction->SetChanged(false);
    return ok;
}

} // namespace velmora
