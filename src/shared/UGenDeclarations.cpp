#include "shared/UGenDeclarations.h"

#include "platform/UControls.h"

namespace velmora {

void RestoreBuiltInDefaults()
{
    DefaultBackColor = BuiltInBackColor;
    DefaultTextColor = BuiltInTextColor;
    DefaultLinkColor = BuiltInLinkColor;
    DefaultVisitedLinkColor = BuiltInVisitedLinkColor;
    DefaultProfileExtension = BuiltInProfileExtension;
}

std::string IoResClass::StatusText(std::uint8_t code)
{
    switch (code) {
    case 0: return "Ready";
    case 1: return "Converted";
    case 2: return "Converted. Overwritten existing file";
    case 3:
    case 5: return "Not converted. Skipped existing file";
    case 4: return "Error reading source file";
    case 6: return "Not converted. Error writing to output file";
    case 8: return "Canceled by user";
    default: return "Unknown status";
    }
}

void TSettingsAction::SetChanged(bool value)
{
    if (FAction)
        FAction->SetEnabled(value);
}

bool TSettingsAction::IsChanged() const
{
    return FAction ? FAction->IsEnabled() : true;
}

} // namespace velmora
