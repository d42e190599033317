// The application settings file: recent profiles (the first is the current
// profile), the "Use ini defaults" switch, the default page colours and the
// profile extension.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "shared/UGenDeclarations.h"

namespace velmora {

class ICheckControl;
class IComboBox;
class TIniFile;

class TCustomIni {
public:
    // Reads nothing yet. programDir (ending with a separator) holds the default profile.
    TCustomIni(const std::string& iniFileName, TSettingsAction* settingsAction, std::string programDir);
    ~TCustomIni();

    // Null arguments leave the links as they were.
    void LinkControls(IComboBox* profileCombo, ICheckControl* iniDefsCheck);
    std::string GetIniFileName() const;
    void LoadSettings();
    // The first recent profile, or the default profile path when there is none.
    std::string GetCurrentProfile() const;
    void AddRecentProfile(const std::string& path);
    void SetUseIniDefaults(bool value);
    // Raises EGenException("Unable to write to <path>") when the file cannot be written.
    void SaveSettings();
    void ClearRecentProfiles();

    const std::vector<std::string>& RecentProfiles() const { return FRecentProfiles; }
    const std::string& ProfileExtension() const { return FProfileExtension; }
    bool UseIniDefaults() const { return FUseIniDefaults; }

private:
    int FMaxRecentProfiles;
    std::unique_ptr<TIniFile> FIniFile;
    std::vector<std::string> FRecentProfiles;
    std::string FProfileExtension;
    IComboBox* FProfileCombo = nullptr;     // not owned
    bool FUseIniDefaults = false;
    ICheckControl* FIniDefsCheck = nullptr; // not owned
    TSettingsAction* FSettingsAction;       // not owned
    std::string FProgramDir;
};

// The settings file of a program: programDir + the executable's name without
// extension + ".ini".
std::string SettingsFileName(const std::string& programDir, const std::string& executablePath);

} // namespace velmora
