// What the main window's controls say, for both front ends: every control
// that a user reads something on, with the frame or sheet it sits in, its
// caption and its hint (shown in the status bar or as a tip; a single blank
// blanks the hint panel, an empty hint defers to the parent's), and the
// choices of its lists. The Qt and the Win32 window take their texts from
// here, so that the two cannot say different things.
#pragma once

#include <stdexcept>
#include <string_view>

namespace velmora {

// The five tabs, in order: each sheet's name and its tab's caption.
struct TSheetText {
    const char* Name;
    const char* Caption;
};
inline constexpr TSheetText SheetTexts[] = {{"ConvertSheet", "HTML Generation"},
                                            {"HighlightOptSheet", "Highlight Options"},
                                            {"ColorProfileSheet", "HTML Options"},
                                            {"PageStyleSheet", "Page Style"},
                                            {"ConfigSheet", "Configuration"}};

struct TControlText {
    const char* Parent;
    const char* Name;
    const char* Caption;
    const char* Hint;
};

inline constexpr TControlText ControlTexts[] = {
    {"ConvertSheet", "lblSourcefiles", "Quake 3 dump files to be converted :", ""},
    {"ConvertSheet", "BtnAdd", "&Add To List", "Click to add files to convert to HTML"},
    {"ConvertSheet", "SrcFilesList", "", ""},
    {"ConvertSheet", "btnRemove", "&Remove From List", "Click to remove the selected files from the list"},
    {"ConvertSheet", "BtnConvert", "Convert to &HTML", "Start converting the files on the list to HTML"},
    {"ConvertSheet", "BtnGroup", "", ""},
    {"BtnGroup", "BtnAbout", "Ab&out", ""},
    {"BtnGroup", "btnExit", "E&xit", ""},
    {"ConvertSheet", "ProgressGroup", "Progress", ""},
    {"ProgressGroup", "lblcurrProgress", "Current File", ""},
    {"ProgressGroup", "ProgCurr", "", "Shows progress on the file being converted"},
    {"ProgressGroup", "lblTotProgress", "Total Progress", ""},
    {"ProgressGroup", "ProgTotal", "", "Shows how many files have been converted"},
    {"HighlightOptSheet", "lblNames", "Names to be highlighted", ""},
    {"HighlightOptSheet", "lnlEditNameText", "Name (include a : to highlight chat text)", ""},
    {"HighlightOptSheet", "NameEdit", "", "Enter a new name or edit the selected one"},
    {"HighlightOptSheet", "CustHtmlGroup", "Custom HTML (before/after the line)", ""},
    {"CustHtmlGroup", "lblCustFront", "Before the line", ""},
    {"CustHtmlGroup", "CustFrontHTMLMemo", "", "Enter any custom HTML you want appearing before the highlighted name"},
    {"CustHtmlGroup", "lblCustEnd", "After the line", ""},
    {"CustHtmlGroup", "CustEndHTMLMemo", "", "Enter any custom HTML you want appearing after the highlighted name"},
    {"HighlightOptSheet", "lblNameImg", "Name Icon file", ""},
    {"HighlightOptSheet", "NameImgEdit", "", "Select an image (HTML icon) to place in front of the highlighted name"},
    {"HighlightOptSheet", "ColorGroup", "Highlight color", ""},
    {"ColorGroup", "ShowNameCol", "", "Displays the highlight color for the selected name"},
    {"ColorGroup", "BtnCustom", "", "Click to select a new highlight color"},
    {"ColorGroup", "ColorCombo", "", "Click to select a new highlight color"},
    {"HighlightOptSheet", "BtnAddName", "Add", "Add a new name to be highlighted"},
    {"HighlightOptSheet", "NamesList", "", "Click to select and edit names to be highlighted"},
    {"HighlightOptSheet", "BtnRemoveName", "Remove", "Remove the selected name from the list"},
    {"HighlightOptSheet", "BtnUpdate", "Update", "Update the information for the selected name"},
    {"ColorProfileSheet", "lblTitle", "Page title", ""},
    {"ColorProfileSheet", "TitleEdit", "", "Enter a title for the page"},
    {"ColorProfileSheet", "lblAuth", "Created by:", ""},
    {"ColorProfileSheet", "AuthEdit", "", "Enter the name of the author"},
    {"ColorProfileSheet", "DumpTextGroup", "Dump text", ""},
    {"DumpTextGroup", "EscapeTextCheck", "Escape HTML in dump text",
     "Show markup typed in the game as text instead of passing it into the page"},
    {"DumpTextGroup", "lblColorCodes", "Game colour codes", ""},
    {"DumpTextGroup", "ColorCodesCombo", "", "What to do with colour codes such as ^1 in the dump text"},
    {"ColorProfileSheet", "HTMLColGroup", "HTML Colors", ""},
    {"HTMLColGroup", "ShowBackCol", "", "Displays the current background color value"},
    {"HTMLColGroup", "lblBackCol", "Background color", ""},
    {"HTMLColGroup", "BtnBackCol", "", "Click to select a new background color"},
    {"HTMLColGroup", "ShowTextCol", "", "Displays the current text color value"},
    {"HTMLColGroup", "lblTextCol", "Text color", ""},
    {"HTMLColGroup", "BtnTextCol", "", "Click to select a new text color"},
    {"HTMLColGroup", "ShowLinkCol", "", "Displays the current link color value"},
    {"HTMLColGroup", "lblLinkCol", "Link color", ""},
    {"HTMLColGroup", "BtnLinkCol", "", "Click to select a new link color"},
    {"HTMLColGroup", "ShowVisLinkCol", "", "Displays the current visited link color value"},
    {"HTMLColGroup", "lblVisLinkCol", "Visited link color", ""},
    {"HTMLColGroup", "BtnVisLinkcol", "", "Click to select a new visited link color"},
    {"ColorProfileSheet", "lblCustomHTML", "Custom HTML (top/end of the page)", ""},
    {"ColorProfileSheet", "FrontPageHTMLMemo", "", "Enter custom HTML to appear before the dump text"},
    {"ColorProfileSheet", "EndPageHTMLMemo", "", "Enter any HTML to appear after the dump text"},
    {"ColorProfileSheet", "HTMLIMGGroup", "Other HTML Options", ""},
    {"HTMLIMGGroup", "lblImgFile", "Background Image File", ""},
    {"HTMLIMGGroup", "BackImageEdit", "", "Select a file to use for the HTML page background"},
    {"HTMLIMGGroup", "RelImgCheck", "Save relative images directory", "Save the images path relative to the HTML path"},
    {"HTMLIMGGroup", "BrokenLinesCheck", "Treat long lines as broken", "Treat long lines in dump files as broken lines"},
    {"PageStyleSheet", "lblPageStyle", "Page s&tyle", ""},
    {"PageStyleSheet", "PageStyleCombo", "", "Classic: the page as before; Modern: UTF-8 with links to lines"},
    {"PageStyleSheet", "ModernGroup", "Modern pages", ""},
    {"ModernGroup", "lblKeepLines", "&Lines to keep", ""},
    {"ModernGroup", "KeepLinesCombo", "", "Which dump lines the page shows; links to lines stay valid"},
    {"ModernGroup", "WriteIndexCheck", "Write an &index page",
     "After a run, list the modern pages of the destination in index.htm"},
    {"ModernGroup", "PlayerStatsCheck", "&Player stats",
     "Add a table of each player's chat lines, kills and deaths to the page"},
    {"ConfigSheet", "AppOptsGroup", "General Application Options", " "},
    {"AppOptsGroup", "lblCurrProfile", "Current Profile", ""},
    {"AppOptsGroup", "ProfileListCombo", "", "Select one of the recently used profiles"},
    {"AppOptsGroup", "BtnLoadProfile", "", ""},
    {"AppOptsGroup", "INIDefsCheck", "Use defaults from INI file", "Toggle use of ini defaults when creating new files"},
    {"AppOptsGroup", "CaseSensCheck", "Case sensitive highlighting", "Toggle case sensitivity when highlighting dump files"},
    {"AppOptsGroup", "BtnClearMRU", "Clear MRU", "Clear the Most Recently Used profiles list"},
    {"ConfigSheet", "IOOptsGroup", "Input/Output Options", " "},
    {"IOOptsGroup", "PromptOnOverwCheck", "Prompt before overwriting existing files", "Prompt to overwrite existing files"},
    {"IOOptsGroup", "SkipExistingCheck", "Skip existing files", "Do not overwrite existing files (no prompt)"},
    {"ConfigSheet", "HTMLGenGroup", "HTML Generation Options", " "},
    {"HTMLGenGroup", "lblInDir", "Source Files Directory", ""},
    {"HTMLGenGroup", "InputDirEdit", "", "Default location for dump files"},
    {"HTMLGenGroup", "lblDestDir", "Destination Directory ", ""},
    {"HTMLGenGroup", "DestDirEdit", "", "Directory where the generated HTML files will be stored"},
    {"HTMLGenGroup", "lblImgDir", "HTML Images Directory", ""},
    {"HTMLGenGroup", "DestImgEdit", "", "Directory for storing images listed in the HTML files"},
    {"ConfigSheet", "BtnSaveOpts", "&Save options", "Save all changes to the current profile"},
    {"ConfigSheet", "BitBtn1", "S&ave as ...", "Save the current profile under a new name"},
};

// The texts of the control of that name; a name not in the table does not compile.
consteval const TControlText& Texts(std::string_view name)
{
    for (const TControlText& texts : ControlTexts)
        if (name == texts.Name)
            return texts;
    throw std::logic_error("a control without texts");
}

// The four page colours of the HTML options, each a swatch, its caption and
// the button that picks it, in the order of the buttons' colour selectors.
struct TColorRow {
    const TControlText* Swatch;
    const TControlText* Label;
    const TControlText* Button;
};
inline constexpr TColorRow PageColorRows[] = {
    {&Texts("ShowBackCol"), &Texts("lblBackCol"), &Texts("BtnBackCol")},
    {&Texts("ShowTextCol"), &Texts("lblTextCol"), &Texts("BtnTextCol")},
    {&Texts("ShowLinkCol"), &Texts("lblLinkCol"), &Texts("BtnLinkCol")},
    {&Texts("ShowVisLinkCol"), &Texts("lblVisLinkCol"), &Texts("BtnVisLinkcol")},
};

// The choices of the lists, in the order of the values they stand for.
inline constexpr const char* ColorCodesChoices[] = {"Keep as written", "Remove", "Show as colours"};
inline constexpr const char* PageStyleChoices[] = {"Classic", "Modern"};
inline constexpr const char* KeepLinesChoices[] = {"All lines", "Chat and game events", "Chat only"};

} // namespace velmora
