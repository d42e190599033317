// The general options of a profile: how names are matched when highlighting,
// and how the text of dump lines reaches the page.
#pragma once

#include <cstdint>

#include "shared/UGenDeclarations.h"

namespace velmora {

class ICheckControl;
class IComboBox;

// What a page does with the game's colour codes ("^" and a letter or digit)
// in dump text. The values are stored in profile files.
enum class TColorCodes : std::uint8_t {
    Keep = 0,   // written as they stand
    Remove = 1, // left out
    Colors = 2, // each starts a run of text in its colour
};

class TAppOptions : public TOptionClass {
public:
    explicit TAppOptions(TSettingsAction* settingsAction) : FSettingsAction(settingsAction) {}

    // A null control leaves the bound one as it was; nothing is shown.
    void BindControls(ICheckControl* caseCheck, ICheckControl* escapeCheck = nullptr,
                      IComboBox* colorCodesCombo = nullptr);
    // Each setter touches its control only when it does not already show the value.
    // SetCaseSensitive stores the flag (set: highlighting ignores case).
    void SetCaseSensitive(bool value);
    void SetEscapeText(bool value);
    void SetColorCodes(TColorCodes value);
    // The check box reads "Case sensitive highlighting": it is ticked exactly
    // when the search is exact, the opposite of the stored flag. These two are
    // the only place where box and flag meet; the window calls
    // SetCaseCheckTicked when the user ticks or clears the box.
    bool CaseCheckTicked() const { return !FCaseSensitive; }
    void SetCaseCheckTicked(bool ticked) { SetCaseSensitive(!ticked); }

    // The section holds the case byte, then each dump text option that is not
    // at its default as a tagged record, so that a profile with both off is
    // written as by earlier versions, and records of later options are skipped.
    // Reads to the end of the stream: the caller gives it the section alone.
    void LoadFromStream(TProfileReader& stream) override;
    void SaveToStream(TProfileWriter& stream) const override;

    // Set: highlighting ignores letter case; clear: it compares exactly. The
    // name is the one profile files have always used for it.
    bool FCaseSensitive = false;
    // Set: "&", "<", ">" and double quotes of dump lines become character references.
    bool FEscapeText = false;
    TColorCodes FColorCodes = TColorCodes::Keep;
    TSettingsAction* FSettingsAction; // not owned

private:
    ICheckControl* FCaseCheck = nullptr;   // not owned
    ICheckControl* FEscapeCheck = nullptr; // not owned
    IComboBox* FColorCodesCombo = nullptr; // not owned
};

} // namespace velmora
