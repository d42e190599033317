// The general options of a profile: how names are matched when highlighting.
#pragma once

#include "shared/UGenDeclarations.h"

namespace velmora {

class ICheckControl;

class TAppOptions : public TOptionClass {
public:
    explicit TAppOptions(TSettingsAction* settingsAction) : FSettingsAction(settingsAction) {}

    // A null check box leaves the bound one as it was; nothing is shown.
    void BindControls(ICheckControl* caseCheck);
    // Stores the flag (set: highlighting ignores case) and shows it in the
    // check box, touching the box only when it shows something else.
    void SetCaseSensitive(bool value);
    // The check box reads "Case sensitive highlighting": it is ticked exactly
    // when the search is exact, the opposite of the stored flag. These two are
    // the only place where box and flag meet; the window calls
    // SetCaseCheckTicked when the user ticks or clears the box.
    bool CaseCheckTicked() const { return !FCaseSensitive; }
    void SetCaseCheckTicked(bool ticked) { SetCaseSensitive(!ticked); }

    void LoadFromStream(TProfileReader& stream) override;
    void SaveToStream(TProfileWriter& stream) const override;

    // Set: highlighting ignores letter case; clear: it compares exactly. The
    // name is the one profile files have always used for it.
    bool FCaseSensitive = false;
    TSettingsAction* FSettingsAction; // not owned

private:
    ICheckControl* FCaseCheck = nullptr; // not owned
};

} // namespace velmora
