// The main window as recording fakes: every control the window's logic drives,
// the option controls made from the option table by their kinds. Wire connects
// the change events a front end forwards, so that a value set by the program
// raises them as a widget's would.
#pragma once

#include <map>
#include <string>

#include "support/FakeControls.h"
#include "window/HTMLgenUnit.h"

namespace velmora::test {

struct TFakeWindow {
    TFakeWindow()
    {
        for (const TOptionControl& row : OptionControls()) {
            switch (row.Kind) {
            case TOptionKind::Edit: case TOptionKind::Memo: Texts[row.Name]; break;
            case TOptionKind::Check: Checks[row.Name]; break;
            case TOptionKind::Choice: Choices[row.Name].Items = {"", "", ""}; break;
            case TOptionKind::Swatch: Swatches[row.Name]; break;
            }
        }
        BtnAdd.CaptionText = "&Add To List";
        BtnConvert.CaptionText = "Convert to &HTML";
        BtnConvert.HintText = "Start converting the files on the list to HTML";
        BtnAdd.OnFocus = [this] { Focus("BtnAdd", ConvertSheet); };
        BtnConvert.OnFocus = [this] { Focus("BtnConvert", ConvertSheet); };
        ColorCombo.Items.assign(std::size(THTMLform::BasicColors), "");
        ColorCombo.Selected = 0;
        ActAddToList.Enabled = true;
    }
    TFakeWindow(const TFakeWindow&) = delete;
    TFakeWindow& operator=(const TFakeWindow&) = delete;

    TFormControls Controls()
    {
        TFormControls c;
        c.Window = &Window;
        c.PageControl = &Pages;
        c.ShowAboutBox = [this](const std::string& iniFileName) { AboutBoxes.push_back(iniFileName); };
        c.ActAddToList = &ActAddToList;
        c.ActRemoveFromList = &ActRemoveFromList;
        c.ActConvert = &ActConvert;
        c.ActAddName = &ActAddName;
        c.ActRemoveName = &ActRemoveName;
        c.ActUpdateName = &ActUpdateName;
        c.ActSaveOpts = &ActSaveOpts;
        c.BtnAdd = &BtnAdd;
        c.BtnConvert = &BtnConvert;
        c.btnExit = &btnExit;
        c.SrcFilesList = &SrcFilesList;
        c.SrcFilesColumns = &SrcFilesColumns;
        c.ProgCurr = &ProgCurr;
        c.ProgTotal = &ProgTotal;
        c.NamesList = &NamesList;
        c.NameEdit = &NameEdit;
        c.NameImgEdit = &NameImgEdit;
        c.CustFrontHTMLMemo = &CustFrontHTMLMemo;
        c.CustEndHTMLMemo = &CustEndHTMLMemo;
        c.ShowNameCol = &ShowNameCol;
        c.ColorCombo = &ColorCombo;
        c.ProfileListCombo = &ProfileListCombo;
        c.HintPanel = &HintPanel;
        c.StatePanel = &StatePanel;
        for (auto& [name, text] : Texts)
            c.Options[name] = &text;
        for (auto& [name, check] : Checks)
            c.Options[name] = &check;
        for (auto& [name, combo] : Choices)
            c.Options[name] = &combo;
        for (auto& [name, swatch] : Swatches)
            c.Options[name] = &swatch;
        return c;
    }

    // The change events a front end forwards to the form, each through Guarded.
    void Wire(THTMLform& form)
    {
        for (const TOptionControl& row : OptionControls()) {
            auto changed = [&form, &row] { form.Guarded([&] { form.OptionsChanged(row); }); };
            if (auto text = Texts.find(row.Name); text != Texts.end())
                text->second.OnChange = changed;
            if (auto check = Checks.find(row.Name); check != Checks.end())
                check->second.OnChange = changed;
        }
        NameEdit.OnChange = [&form] { form.Guarded([&] { form.NameEditChange(); }); };
    }

    void Focus(const std::string& control, int page)
    {
        Focused = control;
        Pages.Focused = page;
    }

    FakeWindowPlacement Window;
    FakePageControl Pages;
    std::vector<std::string> AboutBoxes; // the settings file each About box was given
    FakeCommand ActAddToList, ActRemoveFromList, ActConvert, ActAddName, ActRemoveName, ActUpdateName, ActSaveOpts;
    FakeButton BtnAdd, BtnConvert, btnExit;
    FakeSelectListView SrcFilesList;
    FakeListColumns SrcFilesColumns;
    FakeProgressBar ProgCurr, ProgTotal;
    FakeListBox NamesList;
    FakeText NameEdit, NameImgEdit, CustFrontHTMLMemo, CustEndHTMLMemo;
    FakeColor ShowNameCol;
    FakeComboBox ColorCombo, ProfileListCombo;
    FakeText HintPanel, StatePanel;
    std::map<std::string, FakeText, std::less<>> Texts;
    std::map<std::string, FakeCheck, std::less<>> Checks;
    std::map<std::string, FakeComboBox, std::less<>> Choices;
    std::map<std::string, FakeColor, std::less<>> Swatches;
    std::string Focused; // the control that has the keyboard focus
};

} // namespace velmora::test
