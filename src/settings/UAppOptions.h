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
    // Touches the check box only when it does not already show the value.
    void SetCaseSensitive(bool value);

    void LoadFromStream(TProfileReader& stream) override;
    void SaveToStream(TProfileWriter& stream) const override;

    // Set: highlighting ignores letter case; clear: it compares exactly.
    bool FCaseSensitive = false;
    TSettingsAction* FSettingsAction; // not owned

private:
    ICheckControl* FCaseCheck = nullptr; // not owned
};

} // namespace velmora
