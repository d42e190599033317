#include "window/UOptionControls.h"

#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"

namespace velmora {

namespace {

THTMLOptions& Html(TOptionGroups& groups) { return groups.Profile.HTMLOptions(); }
TAppOptions& App(TOptionGroups& groups) { return groups.Profile.AppOptions(); }
TIOOptions& IO(TOptionGroups& groups) { return groups.Profile.IOOptions(); }
TCustomIni& Ini(TOptionGroups& groups) { return groups.Ini; }

// An option that is a field of its group, shown as stored and copied back through its setter.
template <class TGroup, class TField, class TArg>
TOptionControl Field(const char* name, TOptionKind kind, TSheet sheet, TGroup& (*group)(TOptionGroups&),
                     TField TGroup::*field, void (TGroup::*setter)(TArg))
{
    return {name, kind, sheet, [group, field](TOptionGroups& g) { return TOptionValue(group(g).*field); },
            [group, setter](TOptionGroups& g, const TOptionValue& value) {
                (group(g).*setter)(std::get<TField>(value));
            }};
}

// An option read and written through a getter and a setter of its group.
template <class TGroup, class TValue, class TArg>
TOptionControl Property(const char* name, TOptionKind kind, TSheet sheet, TGroup& (*group)(TOptionGroups&),
                        TValue (TGroup::*getter)() const, void (TGroup::*setter)(TArg))
{
    return {name, kind, sheet, [group, getter](TOptionGroups& g) { return TOptionValue((group(g).*getter)()); },
            [group, setter](TOptionGroups& g, const TOptionValue& value) {
                (group(g).*setter)(std::get<TValue>(value));
            }};
}

// A drop-down list of an option's values in their order; an index outside
// the list changes nothing.
template <class TEnum>
TOptionControl EnumChoice(const char* name, TSheet sheet, TEnum TAppOptions::*field,
                          void (TAppOptions::*setter)(TEnum), TEnum last)
{
    return {name, TOptionKind::Choice, sheet,
            [field](TOptionGroups& g) { return TOptionValue(static_cast<int>(App(g).*field)); },
            [setter, last](TOptionGroups& g, const TOptionValue& value) {
                const int index = std::get<int>(value);
                if (index >= 0 && index <= static_cast<int>(last))
                    (App(g).*setter)(static_cast<TEnum>(index));
            }};
}

using K = TOptionKind;

const TOptionControl Table[] = {
    // "HTML Options", copied back by StoreHtmlPageControls in this order.
    Field("ShowBackCol", K::Swatch, ColorProfileSheet, Html, &THTMLOptions::FBackColor, &THTMLOptions::SetBackColor),
    Field("ShowTextCol", K::Swatch, ColorProfileSheet, Html, &THTMLOptions::FTextColor, &THTMLOptions::SetTextColor),
    Field("ShowLinkCol", K::Swatch, ColorProfileSheet, Html, &THTMLOptions::FLinkColor, &THTMLOptions::SetLinkColor),
    Field("ShowVisLinkCol", K::Swatch, ColorProfileSheet, Html, &THTMLOptions::FVisLinkColor,
          &THTMLOptions::SetVisLinkColor),
    Field("RelImgCheck", K::Check, ColorProfileSheet, Html, &THTMLOptions::FRelImages, &THTMLOptions::SetRelImages),
    Field("BrokenLinesCheck", K::Check, ColorProfileSheet, Html, &THTMLOptions::FBrokenLines,
          &THTMLOptions::SetBrokenLines),
    Field("BackImageEdit", K::Edit, ColorProfileSheet, Html, &THTMLOptions::FBackImage, &THTMLOptions::SetBackImage),
    Field("TitleEdit", K::Edit, ColorProfileSheet, Html, &THTMLOptions::FTitle, &THTMLOptions::SetTitle),
    Field("AuthEdit", K::Edit, ColorProfileSheet, Html, &THTMLOptions::FAuthor, &THTMLOptions::SetAuthor),
    Field("FrontPageHTMLMemo", K::Memo, ColorProfileSheet, Html, &THTMLOptions::FFrontPageHTML,
          &THTMLOptions::SetFrontPageHTML),
    Field("EndPageHTMLMemo", K::Memo, ColorProfileSheet, Html, &THTMLOptions::FEndPageHTML,
          &THTMLOptions::SetEndPageHTML),
    // The "Dump text" frame of the same page; its values live in the general options.
    Field("EscapeTextCheck", K::Check, ColorProfileSheet, App, &TAppOptions::FEscapeText, &TAppOptions::SetEscapeText),
    EnumChoice("ColorCodesCombo", ColorProfileSheet, &TAppOptions::FColorCodes, &TAppOptions::SetColorCodes,
               TColorCodes::Colors),

    // "Page Style", in the general options; the window enables the last three
    // only while the style is Modern.
    EnumChoice("PageStyleCombo", PageStyleSheet, &TAppOptions::FPageStyle, &TAppOptions::SetPageStyle,
               TPageStyle::Modern),
    EnumChoice("KeepLinesCombo", PageStyleSheet, &TAppOptions::FKeepLines, &TAppOptions::SetKeepLines,
               TKeepLines::Chat),
    Field("WriteIndexCheck", K::Check, PageStyleSheet, App, &TAppOptions::FWriteIndex, &TAppOptions::SetWriteIndex),
    Field("PlayerStatsCheck", K::Check, PageStyleSheet, App, &TAppOptions::FPlayerStats,
          &TAppOptions::SetPlayerStats),

    // "Configuration", copied back by StoreConfigPageControls in this order. The
    // case box is ticked when highlighting compares exactly, the opposite of the stored flag.
    Property("CaseSensCheck", K::Check, ConfigSheet, App, &TAppOptions::CaseCheckTicked,
             &TAppOptions::SetCaseCheckTicked),
    Property("INIDefsCheck", K::Check, ConfigSheet, Ini, &TCustomIni::UseIniDefaults, &TCustomIni::SetUseIniDefaults),
    Field("InputDirEdit", K::Edit, ConfigSheet, IO, &TIOOptions::FInputDir, &TIOOptions::SetInputDir),
    Field("DestDirEdit", K::Edit, ConfigSheet, IO, &TIOOptions::FDestDir, &TIOOptions::SetDestDir),
    Field("DestImgEdit", K::Edit, ConfigSheet, IO, &TIOOptions::FDestImgDir, &TIOOptions::SetDestImgDir),
    Field("PromptOnOverwCheck", K::Check, ConfigSheet, IO, &TIOOptions::FPromptOnOverwrite,
          &TIOOptions::SetPromptOnOverwrite),
    Field("SkipExistingCheck", K::Check, ConfigSheet, IO, &TIOOptions::FSkipExisting, &TIOOptions::SetSkipExisting),
};

} // namespace

std::span<const TOptionControl> OptionControls()
{
    return Table;
}

} // namespace velmora
