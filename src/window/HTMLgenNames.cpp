// The second tab's commands and the colour pickers: adding, updating and
// removing highlighted names, the colour drop-down and the colour buttons;
// and the About command.
#include <algorithm>
#include <iterator>

#include "settings/UHighLighter.h"
#include "window/HTMLgenUnit.h"
#include "window/UFormPlacement.h"

namespace velmora {

// ---- The names editor ------------------------------------------------------------

void THTMLform::NameEditChange()
{
    // Any text counts, blanks and names already listed included: Add then updates that entry.
    FControls.ActAddName->SetEnabled(!FControls.NameEdit->GetText().empty());
}

void THTMLform::NamesListClick()
{
    if (FProfile)
        FProfile->ShowSelectedName();
}

void THTMLform::NamesListKeyPress(std::string_view typed, bool withCtrlOrAlt)
{
    // Control characters are what Tab, Return, Escape, Backspace and Ctrl+letter type.
    const bool typesCharacter =
        !withCtrlOrAlt && !typed.empty() &&
        std::none_of(typed.begin(), typed.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    if (typesCharacter && FProfile)
        FProfile->ShowSelectedName();
}

// Add, Update and Remove refresh the list and mark the profile changed
// themselves; the editors' texts are taken as they stand.
void THTMLform::ActAddNameExecute()
{
    if (!FProfile)
        return;
    const TFormControls& c = FControls;
    FProfile->AddName(c.NameEdit->GetText(), c.NameImgEdit->GetText(), c.CustFrontHTMLMemo->GetText(),
                      c.CustEndHTMLMemo->GetText(), c.ShowNameCol->GetColor());
}

void THTMLform::ActUpdateNameExecute()
{
    if (!FProfile)
        return;
    const TFormControls& c = FControls;
    FProfile->UpdateName(c.NameEdit->GetText(), c.NameImgEdit->GetText(), c.CustFrontHTMLMemo->GetText(),
                         c.CustEndHTMLMemo->GetText(), c.ShowNameCol->GetColor(), c.NamesList->SelectedIndex());
}

void THTMLform::ActRemoveNameExecute()
{
    if (!FProfile)
        return;
    FProfile->RemoveName(FControls.NamesList->SelectedIndex());
}

// ---- The colour pickers ----------------------------------------------------------

void THTMLform::TNameColorSwatch::SetColor(TColor color)
{
    FSwatch.SetColor(color);
    const auto basic = std::find(std::begin(BasicColors), std::end(BasicColors), color);
    const int index = basic == std::end(BasicColors) ? -1 : static_cast<int>(basic - std::begin(BasicColors));
    if (FColors.SelectedIndex() != index)
        FColors.SetSelectedIndex(index);
}

// The drop-down only sets the swatch: the colour reaches an entry through a
// later Add or Update.
void THTMLform::ColorComboChange()
{
    const int index = FControls.ColorCombo->SelectedIndex();
    if (index >= 0 && index < static_cast<int>(std::size(BasicColors)))
        FNameColor->SetColor(BasicColors[index]);
}

// Runs before the key moves the selection; the change that follows applies the new colour.
void THTMLform::ColorComboKeyDown()
{
    ColorComboChange();
}

void THTMLform::ActPickColExecute(int selector)
{
    IColorControl* const swatches[] = {FNameColor.get(), &SwatchControl("ShowBackCol"),
                                       &SwatchControl("ShowTextCol"), &SwatchControl("ShowLinkCol"),
                                       &SwatchControl("ShowVisLinkCol")};
    if (selector < 0 || selector >= static_cast<int>(std::size(swatches)))
        return;
    IColorControl& swatch = *swatches[selector];
    TColor chosen = swatch.GetColor();
    if (!FServices.Dialogs->ExecuteColor(swatch.GetColor(), chosen))
        return;
    swatch.SetColor(chosen);
    if (selector == 0)
        return; // the highlight colour waits in its swatch for Add or Update
    // The page colours go into the profile at once; the copy runs only for a
    // changed profile, so the mark comes first.
    SetChanged(true);
    StoreHtmlPageControls();
}

// ---- The About box ---------------------------------------------------------------

// A new box each time, modal: also during a conversion run, which waits until
// the box is closed because it goes on only through this window's events.
void THTMLform::ActAboutExecute()
{
    FControls.ShowAboutBox(FFormPlacement->IniFileName());
}

} // namespace velmora
