#include "settings/UAppOptions.h"

#include "platform/UControls.h"
#include "shared/UProfileStream.h"

namespace velmora {

namespace {
// Tags of the records after the case byte: one byte of tag, an int32 payload
// length, the payload. Unknown tags belong to later versions and are skipped.
constexpr std::uint8_t EscapeTextTag = 1;
constexpr std::uint8_t ColorCodesTag = 2;
constexpr std::int32_t ValueLength = 1;
} // namespace

void TAppOptions::BindControls(ICheckControl* caseCheck, ICheckControl* escapeCheck, IComboBox* colorCodesCombo)
{
    if (caseCheck)
        FCaseCheck = caseCheck;
    if (escapeCheck)
        FEscapeCheck = escapeCheck;
    if (colorCodesCombo)
        FColorCodesCombo = colorCodesCombo;
}

void TAppOptions::SetCaseSensitive(bool value)
{
    FCaseSensitive = value;
    if (FCaseCheck && FCaseCheck->IsChecked() != CaseCheckTicked())
        FCaseCheck->SetChecked(CaseCheckTicked());
}

void TAppOptions::SetEscapeText(bool value)
{
    FEscapeText = value;
    if (FEscapeCheck && FEscapeCheck->IsChecked() != value)
        FEscapeCheck->SetChecked(value);
}

void TAppOptions::SetColorCodes(TColorCodes value)
{
    FColorCodes = value;
    const int index = static_cast<int>(value);
    if (FColorCodesCombo && FColorCodesCombo->SelectedIndex() != index)
        FColorCodesCombo->SetSelectedIndex(index);
}

void TAppOptions::LoadFromStream(TProfileReader& stream)
{
    SetCaseSensitive(stream.ReadBool());
    bool escapeText = false;
    TColorCodes colorCodes = TColorCodes::Keep;
    while (stream.Position() < stream.Size()) {
        const auto tag = stream.ReadByte();
        const std::int32_t length = stream.ReadInt32();
        if (tag != EscapeTextTag && tag != ColorCodesTag) {
            stream.ReadBytes(length); // a later option: skipped, but it must be all there
            continue;
        }
        if (length != ValueLength)
            throw EProfileReadError("Profile option record has the wrong length");
        const auto value = stream.ReadByte();
        if (tag == EscapeTextTag) {
            escapeText = value != 0;
        } else {
            if (value > static_cast<std::uint8_t>(TColorCodes::Colors))
                throw EProfileReadError("Profile colour code option out of range");
            colorCodes = static_cast<TColorCodes>(value);
        }
    }
    SetEscapeText(escapeText);
    SetColorCodes(colorCodes);
    if (FSettingsAction)
        FSettingsAction->SetChanged(false);
}

void TAppOptions::SaveToStream(TProfileWriter& stream) const
{
    stream.WriteBool(FCaseSensitive);
    auto record = [&stream](std::uint8_t tag, std::uint8_t value) {
        stream.WriteByte(tag);
        stream.WriteInt32(ValueLength);
        stream.WriteByte(value);
    };
    if (FEscapeText)
        record(EscapeTextTag, 1);
    if (FColorCodes != TColorCodes::Keep)
        record(ColorCodesTag, static_cast<std::uint8_t>(FColorCodes));
}

} // namespace velmora
