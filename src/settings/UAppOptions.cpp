#include "settings/UAppOptions.h"

#include "platform/UControls.h"
#include "shared/UProfileStream.h"

namespace velmora {

namespace {
// The records after the case byte: one byte of tag, an int32 payload length,
// a payload of one byte. Unknown tags belong to later versions and are
// skipped. Every option's default is stored as 0 and never written.
constexpr std::uint8_t EscapeTextTag = 1;
constexpr std::uint8_t ColorCodesTag = 2;
constexpr std::uint8_t PageStyleTag = 3;
constexpr std::uint8_t KeepLinesTag = 4;
constexpr std::uint8_t WriteIndexTag = 5;
constexpr std::uint8_t PlayerStatsTag = 6;
constexpr std::int32_t ValueLength = 1;

struct TRecord {
    std::uint8_t Tag;
    std::uint8_t Choices; // the number of values of a choice; 0 for a flag, where any byte but 0 is set
};
constexpr TRecord Records[] = {{EscapeTextTag, 0}, {ColorCodesTag, 3}, {PageStyleTag, 2},
                               {KeepLinesTag, 3},  {WriteIndexTag, 0}, {PlayerStatsTag, 0}};

template <class TChoice>
std::uint8_t Byte(TChoice value)
{
    return static_cast<std::uint8_t>(value);
}

void ShowChoice(IComboBox* combo, int index)
{
    if (combo && combo->SelectedIndex() != index)
        combo->SetSelectedIndex(index);
}

void ShowFlag(ICheckControl* check, bool value)
{
    if (check && check->IsChecked() != value)
        check->SetChecked(value);
}
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

void TAppOptions::BindPageStyleControls(IComboBox* pageStyleCombo, IComboBox* keepLinesCombo,
                                        ICheckControl* writeIndexCheck, ICheckControl* playerStatsCheck)
{
    if (pageStyleCombo)
        FPageStyleCombo = pageStyleCombo;
    if (keepLinesCombo)
        FKeepLinesCombo = keepLinesCombo;
    if (writeIndexCheck)
        FWriteIndexCheck = writeIndexCheck;
    if (playerStatsCheck)
        FPlayerStatsCheck = playerStatsCheck;
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
    ShowFlag(FEscapeCheck, value);
}

void TAppOptions::SetColorCodes(TColorCodes value)
{
    FColorCodes = value;
    ShowChoice(FColorCodesCombo, Byte(value));
}

void TAppOptions::SetPageStyle(TPageStyle value)
{
    FPageStyle = value;
    ShowChoice(FPageStyleCombo, Byte(value));
    for (ICheckControl* check : {FWriteIndexCheck, FPlayerStatsCheck})
        if (check)
            check->SetEnabled(value == TPageStyle::Modern);
}

void TAppOptions::SetKeepLines(TKeepLines value)
{
    FKeepLines = value;
    ShowChoice(FKeepLinesCombo, Byte(value));
}

void TAppOptions::SetWriteIndex(bool value)
{
    FWriteIndex = value;
    ShowFlag(FWriteIndexCheck, value);
}

void TAppOptions::SetPlayerStats(bool value)
{
    FPlayerStats = value;
    ShowFlag(FPlayerStatsCheck, value);
}

void TAppOptions::LoadFromStream(TProfileReader& stream)
{
    SetCaseSensitive(stream.ReadBool());
    std::uint8_t values[std::size(Records)] = {}; // the defaults
    while (stream.Position() < stream.Size()) {
        const auto tag = stream.ReadByte();
        const std::int32_t length = stream.ReadInt32();
        const TRecord* record = nullptr;
        for (const TRecord& known : Records)
            if (known.Tag == tag)
                record = &known;
        if (!record) {
            stream.ReadBytes(length); // a later option: skipped, but it must be all there
            continue;
        }
        if (length != ValueLength)
            throw EProfileReadError("Profile option record has the wrong length");
        std::uint8_t value = stream.ReadByte();
        if (record->Choices == 0)
            value = value != 0;
        else if (value >= record->Choices)
            throw EProfileReadError("Profile option value out of range");
        values[record - Records] = value;
    }
    SetEscapeText(values[0] != 0);
    SetColorCodes(static_cast<TColorCodes>(values[1]));
    SetPageStyle(static_cast<TPageStyle>(values[2]));
    SetKeepLines(static_cast<TKeepLines>(values[3]));
    SetWriteIndex(values[4] != 0);
    SetPlayerStats(values[5] != 0);
    if (FSettingsAction)
        FSettingsAction->SetChanged(false);
}

void TAppOptions::SaveToStream(TProfileWriter& stream) const
{
    stream.WriteBool(FCaseSensitive);
    const std::uint8_t values[] = {Byte(FEscapeText), Byte(FColorCodes), Byte(FPageStyle),
                                   Byte(FKeepLines),  Byte(FWriteIndex), Byte(FPlayerStats)};
    static_assert(std::size(values) == std::size(Records));
    for (std::size_t k = 0; k < std::size(Records); ++k) {
        if (values[k] == 0)
            continue;
        stream.WriteByte(Records[k].Tag);
        stream.WriteInt32(ValueLength);
        stream.WriteByte(values[k]);
    }
}

} // namespace velmora
