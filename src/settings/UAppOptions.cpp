#include "settings/UAppOptions.h"

#include "platform/UControls.h"
#include "shared/UProfileStream.h"

namespace velmora {

void TAppOptions::BindControls(ICheckControl* caseCheck)
{
    if (caseCheck)
        FCaseCheck = caseCheck;
}

void TAppOptions::SetCaseSensitive(bool value)
{
    FCaseSensitive = value;
    if (FCaseCheck && FCaseCheck->IsChecked() != CaseCheckTicked())
        FCaseCheck->SetChecked(CaseCheckTicked());
}

void TAppOptions::LoadFromStream(TProfileReader& stream)
{
    SetCaseSensitive(stream.ReadBool());
    if (FSettingsAction)
        FSettingsAction->SetChanged(false);
}

void TAppOptions::SaveToStream(TProfileWriter& stream) const
{
    stream.WriteBool(FCaseSensitive);
}

} // namespace velmora
