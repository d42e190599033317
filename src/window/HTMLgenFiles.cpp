// The first tab's commands: the file list (add, remove, selection, dropped
// files) and the conversion run with its stop command.
#include <algorithm>

#include "conversion/UConvertClass.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"
#include "window/HTMLgenUnit.h"

namespace velmora {

namespace {

const char* const DumpFilter = "Quake 3 Dump files|*.txt;*.log;*.dmp;*.dump|All files|*.*";
const char* const ConversionErrorCaption = "Conversion Error";
const char* const StopCaption = "Stop &Conversion";
const char* const StopHint = "Click to stop the ongoing conversion";

} // namespace

// ---- The file list ----------------------------------------------------------------

void THTMLform::ActAddToListExecute()
{
    if (FConverting || !FProfile)
        return;
    const TIOOptions& io = FProfile->IOOptions();
    OpenDia.InitialDir = io.FInputDir;
    // The first listed file opens the dialog in its folder with its name ready;
    // with an empty list the dialog keeps the name it last had.
    if (!io.FFiles.empty())
        OpenDia.FileName = io.FirstFile();
    OpenDia.DefaultExt = FCustomIni->ProfileExtension();
    OpenDia.Filter = DumpFilter;
    OpenDia.MultiSelect = true;
    OpenDia.MustExist = true;
    std::vector<std::string> files;
    if (!FServices.Dialogs->ExecuteOpen(OpenDia, files))
        return;
    AddToList(files);
}

bool THTMLform::CanDropFiles() const
{
    return !FConverting && FProfile;
}

void THTMLform::FilesDropped(const std::vector<std::string>& paths)
{
    if (CanDropFiles() && !paths.empty())
        AddToList(paths);
}

void THTMLform::AddToList(const std::vector<std::string>& paths)
{
    FControls.StatePanel->SetText("Opening files");
    // Sorted in, each path once; the list view is rebuilt and the profile marked changed.
    FProfile->IOOptions().AddFiles(paths);
}

void THTMLform::ActRemoveFromListExecute()
{
    if (FConverting || !FProfile)
        return;
    TIOOptions& io = FProfile->IOOptions();
    std::vector<int> rows = FControls.SrcFilesList->SelectedRows();
    // From the highest row down, so the rows still to go keep their indexes.
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows)
        io.RemoveFile(row);
    io.UpdateFileList();
}

void THTMLform::SrcFilesListSelectItem(bool selected)
{
    // A run keeps Remove disabled; the convert command restores it afterwards.
    if (!FConverting)
        FControls.ActRemoveFromList->SetEnabled(selected);
}

// ---- The conversion run --------------------------------------------------------------

void THTMLform::BtnConvertClick()
{
    if (FConverting)
        ActStopConvertExecute();
    else if (FControls.ActConvert->IsEnabled())
        ActConvertExecute();
}

void THTMLform::ActConvertExecute()
{
    if (FConverting || !FConvertClass)
        return;
    // The engine reads the profile, not the controls: copy an edit still in progress.
    CommitPendingEdit();
    FControls.StatePanel->SetText("Converting...");
    EnterRunningState();
    try {
        std::string message;
        // Pending window events are let through by the engine between files and
        // within each page, so the window repaints and Stop and About can act.
        if (!FConvertClass->Convert(message))
            FServices.MessageBoxes->ShowMessage(ConversionErrorCaption, message, TMsgIcon::Error);
    } catch (...) {
        LeaveRunningState();
        throw;
    }
    LeaveRunningState();
}

void THTMLform::ActStopConvertExecute()
{
    if (FConvertClass)
        FConvertClass->Stop();
}

void THTMLform::SetConvertButtonHint(const std::string& hint)
{
    FControls.BtnConvert->SetHint(hint);
    if (FControls.BtnConvert->IsPointedAt())
        ApplicationHint(hint);
}

void THTMLform::EnterRunningState()
{
    const TFormControls& c = FControls;
    FConverting = true;
    FConvertCaption = c.BtnConvert->Caption();
    FConvertHint = c.BtnConvert->Hint();
    c.BtnConvert->SetFocus();
    // Closing is refused while Exit is disabled.
    c.btnExit->SetEnabled(false);
    c.ActAddToList->SetEnabled(false);
    FRemoveWasEnabled = c.ActRemoveFromList->IsEnabled();
    c.ActRemoveFromList->SetEnabled(false);
    // The other tabs can still be looked at, but nothing on them takes input.
    for (TSheet sheet : {HighlightOptSheet, ColorProfileSheet, ConfigSheet})
        c.PageControl->SetPageEnabled(sheet, false);
    // The button now runs Stop (BtnConvertClick).
    c.BtnConvert->SetCaption(StopCaption);
    SetConvertButtonHint(StopHint);
    c.BtnConvert->SetPicture(TButtonPicture::Stop);
}

void THTMLform::LeaveRunningState()
{
    const TFormControls& c = FControls;
    // The run completes the directories with a separator and takes the quotes
    // off the background image; the controls show what it left in the profile.
    if (FProfile)
        ShowOptionControls();
    c.btnExit->SetEnabled(true);
    c.PageControl->SetActivePage(ConvertSheet);
    for (TSheet sheet : {HighlightOptSheet, ColorProfileSheet, ConfigSheet})
        c.PageControl->SetPageEnabled(sheet, true);
    c.BtnConvert->SetCaption(FConvertCaption);
    SetConvertButtonHint(FConvertHint);
    c.BtnConvert->SetPicture(TButtonPicture::Own);
    c.ActAddToList->SetEnabled(true);
    c.ActRemoveFromList->SetEnabled(FRemoveWasEnabled);
    // A run that raised may have left the bars where it stopped.
    c.ProgCurr->SetPosition(0);
    c.ProgTotal->SetPosition(0);
    c.BtnAdd->SetFocus();
    FConverting = false;
}

} // namespace velmora
