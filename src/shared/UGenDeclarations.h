// Declarations that several parts of Velmora share: the conversion status of a
// file, the change notifier, the option group base class, the attributes of a
// highlighted name, the process-wide default values and the program's exception.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velmora {

class ICommand;
class TProfileReader;
class TProfileWriter;

// A platform colour value 0x00BBGGRR (red in the low byte); a negative value
// names a system colour that is resolved when a page is written.
using TColor = std::int32_t;

// Process-wide defaults. The settings file may change the colours and the
// extension at start-up; new option groups and new names read them when made.
inline constexpr int MaxRecentProfiles = 20;
inline constexpr TColor BuiltInBackColor = 0x400040;
inline constexpr TColor BuiltInTextColor = 0xFFFFFF;
inline constexpr TColor BuiltInLinkColor = 0x00FFFF;
inline constexpr TColor BuiltInVisitedLinkColor = 0xFF0000;
inline constexpr const char* BuiltInProfileExtension = ".cfg";

inline TColor DefaultBackColor = BuiltInBackColor;
inline TColor DefaultTextColor = BuiltInTextColor;
inline TColor DefaultLinkColor = BuiltInLinkColor;
inline TColor DefaultVisitedLinkColor = BuiltInVisitedLinkColor;
inline std::string DefaultProfileExtension = BuiltInProfileExtension;

// Puts the five shared defaults back to their built-in values.
void RestoreBuiltInDefaults();

// The program's own error, raised where a failure must reach the user.
class EGenException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The outcome of a file's last conversion: a code and its text.
class IoResClass {
public:
    std::uint8_t Status = 0;

    static std::string StatusText(std::uint8_t code);
    std::string StatusText() const { return StatusText(Status); }
};

// Status codes that the conversion run gives.
namespace StatusCode {
inline constexpr std::uint8_t Ready = 0;
inline constexpr std::uint8_t Converted = 1;
inline constexpr std::uint8_t Overwritten = 2;
inline constexpr std::uint8_t SkippedByAnswer = 3;
inline constexpr std::uint8_t ReadError = 4;
inline constexpr std::uint8_t SkippedExisting = 5;
inline constexpr std::uint8_t WriteError = 6;
inline constexpr std::uint8_t Canceled = 8;
} // namespace StatusCode

// The profile's "unsaved changes" state, held as the enabled state of the
// save command so that the command is usable exactly when there is something to save.
class TSettingsAction {
public:
    explicit TSettingsAction(ICommand* action) : FAction(action) {}

    void SetChanged(bool value);
    bool IsChanged() const;

private:
    ICommand* FAction; // not owned, may be null
};

// Base of the three option groups: each reads and writes its own profile section.
class TOptionClass {
public:
    virtual ~TOptionClass() = default;
    virtual void LoadFromStream(TProfileReader& stream) = 0;
    virtual void SaveToStream(TProfileWriter& stream) const = 0;
};

// The highlight attributes of one name.
class THighLightInfo {
public:
    TColor FColor = DefaultTextColor;
    std::string FImageFile;
    std::string FHTMLBefore;
    std::string FHTMLAfter;
};

} // namespace velmora
