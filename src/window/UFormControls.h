// The main window's controls as its logic sees them: one interface of
// platform/UControls.h per control the logic drives or reads. A front end
// makes an adapter for each and fills every field before it makes the form;
// the form refuses a missing one.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <variant>

#include "platform/UControls.h"

namespace velmora {

// An option control (UOptionControls.h) seen through the interface of its kind.
using TOptionControlRef = std::variant<ITextControl*, ICheckControl*, IComboBox*, IColorControl*>;

struct TFormControls {
    // The window itself, its tabs, and the About box it shows over itself
    // (modally, remembering its position in the given settings file).
    IWindowPlacement* Window = nullptr;
    IPageControl* PageControl = nullptr;
    std::function<void(const std::string& iniFileName)> ShowAboutBox;

    // The commands whose enabled state the logic sets; the others stay enabled.
    ICommand* ActAddToList = nullptr;
    ICommand* ActRemoveFromList = nullptr;
    ICommand* ActConvert = nullptr;
    ICommand* ActAddName = nullptr;
    ICommand* ActRemoveName = nullptr;
    ICommand* ActUpdateName = nullptr;
    ICommand* ActSaveOpts = nullptr; // enabled exactly while the profile is changed

    // Tab 0, "HTML Generation"
    IButton* BtnAdd = nullptr;
    IButton* BtnConvert = nullptr; // runs Convert, or Stop during a run
    IButton* btnExit = nullptr;    // disabled during a run, which refuses closing
    ISelectListView* SrcFilesList = nullptr;
    IListColumns* SrcFilesColumns = nullptr;
    IProgressBar* ProgCurr = nullptr;
    IProgressBar* ProgTotal = nullptr;

    // Tab 1, "Highlight Options"
    IListBox* NamesList = nullptr;
    ITextControl* NameEdit = nullptr;
    ITextControl* NameImgEdit = nullptr;
    ITextControl* CustFrontHTMLMemo = nullptr;
    ITextControl* CustEndHTMLMemo = nullptr;
    IColorControl* ShowNameCol = nullptr;
    IComboBox* ColorCombo = nullptr; // the basic colours, in the order of THTMLform::BasicColors

    // Tab 3, "Configuration"
    IComboBox* ProfileListCombo = nullptr;

    // Tabs 2 to 4: every row of the option table, under its name.
    std::map<std::string, TOptionControlRef, std::less<>> Options;

    // The status bar's hint panel and state panel.
    ITextControl* HintPanel = nullptr;
    ITextControl* StatePanel = nullptr;
};

// The fields above from a front end's adapters, each a member named as its
// field; the About box and the option controls are the front end's to add.
template <class TAdapters>
TFormControls BindFormControls(TAdapters& a)
{
    TFormControls c;
    c.Window = &a.Window;
    c.PageControl = &a.PageControl;
    c.ActAddToList = &a.ActAddToList;
    c.ActRemoveFromList = &a.ActRemoveFromList;
    c.ActConvert = &a.ActConvert;
    c.ActAddName = &a.ActAddName;
    c.ActRemoveName = &a.ActRemoveName;
    c.ActUpdateName = &a.ActUpdateName;
    c.ActSaveOpts = &a.ActSaveOpts;
    c.BtnAdd = &a.BtnAdd;
    c.BtnConvert = &a.BtnConvert;
    c.btnExit = &a.btnExit;
    c.SrcFilesList = &a.SrcFilesList;
    c.SrcFilesColumns = &a.SrcFilesColumns;
    c.ProgCurr = &a.ProgCurr;
    c.ProgTotal = &a.ProgTotal;
    c.NamesList = &a.NamesList;
    c.NameEdit = &a.NameEdit;
    c.NameImgEdit = &a.NameImgEdit;
    c.CustFrontHTMLMemo = &a.CustFrontHTMLMemo;
    c.CustEndHTMLMemo = &a.CustEndHTMLMemo;
    c.ShowNameCol = &a.ShowNameCol;
    c.ColorCombo = &a.ColorCombo;
    c.ProfileListCombo = &a.ProfileListCombo;
    c.HintPanel = &a.HintPanel;
    c.StatePanel = &a.StatePanel;
    return c;
}

} // namespace velmora
