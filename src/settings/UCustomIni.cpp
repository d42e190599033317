// The application settings file: keeps the recent-profile list and the
// "Use ini defaults" switch in step with the file and the Configuration page.
#include "settings/UCustomIni.h"

#include <algorithm>

#include "platform/UControls.h"
#include "platform/UIniFile.h"
#include "platform/UPaths.h"

namespace velmora {

namespace {

// Section and key names of the settings file, letter for letter as earlier
// versions of the program wrote them.
const std::string ProfilesSection = "Profiles";
const std::string ProfileKeyPrefix = "Profile #";
const std::string StorageSection = "Defaults storage";
const std::string UseIniDefaultsKey = "Use ini defaults";
const std::string DefaultsSection = "Defaults";
const std::string BackColorKey = "HTML Background";
const std::string TextColorKey = "HTML Text Color";
const std::string LinkColorKey = "HTML Link Color";
const std::string VisitedLinkColorKey = "Visited Link color";
const std::string ProfileExtensionKey = "Default Profile Extention";

std::string ProfileKey(int index)
{
    return ProfileKeyPrefix + std::to_string(index);
}

} // namespace

TCustomIni::TCustomIni(const std::string& iniFileName, TSettingsAction* settingsAction, std::string programDir)
    : FMaxRecentProfiles(MaxRecentProfiles),
      FIniFile(std::make_unique<TIniFile>(iniFileName)),
      FProfileExtension(DefaultProfileExtension),
      FSettingsAction(settingsAction),
      FProgramDir(programDir.empty() ? std::string() : IncludeTrailingPathDelimiter(programDir))
{
}

TCustomIni::~TCustomIni() = default;

void TCustomIni::LinkControls(IComboBox* profileCombo, ICheckControl* iniDefsCheck)
{
    if (profileCombo)
        FProfileCombo = profileCombo;
    if (iniDefsCheck)
        FIniDefsCheck = iniDefsCheck;
}

std::string TCustomIni::GetIniFileName() const
{
    return FIniFile ? FIniFile->FileName() : std::string();
}

void TCustomIni::LoadSettings()
{
    if (FIniFile->SectionExists(ProfilesSection)) {
        // Gaps in the numbering are harmless: every index is looked at.
        for (int i = 0; i < FMaxRecentProfiles; ++i) {
            std::string path = FIniFile->ReadString(ProfilesSection, ProfileKey(i), std::string());
            bool known = std::any_of(FRecentProfiles.begin(), FRecentProfiles.end(),
                                     [&](const std::string& p) { return SamePath(p, path); });
            if (!path.empty() && !known)
                FRecentProfiles.push_back(path);
        }
    }
    // Adds the default profile to an empty list and refills the combo box either way.
    AddRecentProfile(GetCurrentProfile());

    SetUseIniDefaults(FIniFile->ReadInteger(StorageSection, UseIniDefaultsKey, 0) != 0);
    if (FUseIniDefaults) {
        DefaultBackColor = FIniFile->ReadInteger(DefaultsSection, BackColorKey, BuiltInBackColor);
        DefaultTextColor = FIniFile->ReadInteger(DefaultsSection, TextColorKey, BuiltInTextColor);
        DefaultLinkColor = FIniFile->ReadInteger(DefaultsSection, LinkColorKey, BuiltInLinkColor);
        DefaultVisitedLinkColor = FIniFile->ReadInteger(DefaultsSection, VisitedLinkColorKey, BuiltInVisitedLinkColor);
        DefaultProfileExtension = FIniFile->ReadString(DefaultsSection, ProfileExtensionKey, BuiltInProfileExtension);
    }
    // Ticking the check box above counts as an edit in the window; undo that.
    if (FSettingsAction)
        FSettingsAction->SetChanged(false);
}

std::string TCustomIni::GetCurrentProfile() const
{
    if (!FRecentProfiles.empty())
        return FRecentProfiles.front();
    return FProgramDir + "Default" + FProfileExtension;
}

void TCustomIni::AddRecentProfile(const std::string& path)
{
    std::erase_if(FRecentProfiles, [&](const std::string& p) { return SamePath(p, path); });
    FRecentProfiles.insert(FRecentProfiles.begin(), path);
    if (!FProfileCombo)
        return;

    // The combo box must end up usable and the profile unchanged even when a refill fails.
    auto finish = [this] {
        FProfileCombo->EndUpdate();
        FProfileCombo->SetSelectedIndex(0);
        if (FSettingsAction)
            FSettingsAction->SetChanged(false);
    };
    FProfileCombo->BeginUpdate();
    try {
        FProfileCombo->Clear();
        for (const std::string& p : FRecentProfiles)
            FProfileCombo->AddItem(p);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TCustomIni::SetUseIniDefaults(bool value)
{
    FUseIniDefaults = value;
    if (FIniDefsCheck)
        FIniDefsCheck->SetChecked(value);
}

void TCustomIni::SaveSettings()
{
    // One entry fewer than is read; keys beyond are left as they are. A path
    // the file cannot hold (a line break is legal in a name) is left out, so
    // that it does not keep the rest from being saved.
    int count = std::min(FMaxRecentProfiles - 1, static_cast<int>(FRecentProfiles.size()));
    int key = 0;
    for (int i = 0; i < count; ++i) {
        const std::string& path = FRecentProfiles[static_cast<std::size_t>(i)];
        if (TIniFile::CanStore(path))
            FIniFile->WriteString(ProfilesSection, ProfileKey(key++), path);
    }
    FIniFile->WriteInteger(StorageSection, UseIniDefaultsKey, FUseIniDefaults ? 1 : 0);
    FIniFile->WriteInteger(DefaultsSection, BackColorKey, DefaultBackColor);
    FIniFile->WriteInteger(DefaultsSection, TextColorKey, DefaultTextColor);
    FIniFile->WriteInteger(DefaultsSection, LinkColorKey, DefaultLinkColor);
    FIniFile->WriteInteger(DefaultsSection, VisitedLinkColorKey, DefaultVisitedLinkColor);
    FIniFile->WriteString(DefaultsSection, ProfileExtensionKey, DefaultProfileExtension);
}

void TCustomIni::ClearRecentProfiles()
{
    FRecentProfiles.clear();
    FIniFile->EraseSection(ProfilesSection);
    if (FProfileCombo)
        FProfileCombo->Clear();
    SaveSettings();
    LoadSettings();
}

std::string SettingsFileName(const std::string& programDir, const std::string& executablePath)
{
    std::string base = ChangeFileExt(ExtractFileName(executablePath), "");
    // Without a usable executable name the file would be a hidden ".ini".
    if (base.empty())
        base = "velmora";
    std::string dir = programDir.empty() ? std::string() : IncludeTrailingPathDelimiter(programDir);
    return dir + base + ".ini";
}

} // namespace velmora
