// The main window's widgets as the model sees them: one adapter per control
// that the option groups, the profile, the settings object or the engine drive.
// Made once with the window; every new profile is bound to the same adapters.
#pragma once

#include "window/qt/HTMLgenUnit.h"
#include "window/qt/UQtControls.h"

namespace velmora {

struct THTMLform::TAdapters {
    // Commands whose enabled state the model sets.
    TQtCommand ActSaveOpts, ActRemoveFromList, ActConvert, ActRemoveName, ActUpdateName;
    // Tab 0
    TQtListView SrcFilesList;
    TQtProgressBar ProgTotal, ProgCurr;
    // Tab 1
    TQtListBox NamesList;
    TQtLineText NameEdit, NameImgEdit;
    TQtMemoText CustFrontHTMLMemo, CustEndHTMLMemo;
    TQtColorSwatch ShowNameCol;
    // Tab 2
    TQtLineText TitleEdit, AuthEdit, BackImageEdit;
    TQtMemoText FrontPageHTMLMemo, EndPageHTMLMemo;
    TQtCheck RelImgCheck, BrokenLinesCheck;
    TQtColorSwatch ShowBackCol, ShowTextCol, ShowLinkCol, ShowVisLinkCol;
    TQtCheck EscapeTextCheck;
    TQtComboBox ColorCodesCombo;
    // Tab 3
    TQtComboBox ProfileListCombo;
    TQtCheck INIDefsCheck, CaseSensCheck, PromptOnOverwCheck, SkipExistingCheck;
    TQtLineText InputDirEdit, DestDirEdit, DestImgEdit;
};

} // namespace velmora
