// The first tab's commands: the file list (add, remove, selection, dropped
// files) and the conversion run with its stop command.
#include <algorithm>
#include <cstring>

#include "conversion/UConvertClass.h"
#include "platform/UPaths.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"
#include "window/HTMLgenUnit.h"

namespace velmora {

namespace {

const char* const DumpFilter = "Quake 3 Dump files|*.txt;*.log;*.dmp;*.dump|All files|*.*";
const char* const ConversionErrorCaption = "Conversion Error";
const char* const StopCaption = "Stop &Conversion";
const char* const StopHint = "Click to stop the ongoing conversion";
// The tabs of options, which take no input during a run.
const TSheet OptionSheets[] = {HighlightOptSheet, ColorProfileSheet, PageStyleSheet, ConfigSheet};

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
    ForgetRun();
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
    ForgetRun();
    EnterRunningState();
    try {
        std::string message;
        // Pending window events are let through by the engine between files and
        // within each page, so the window repaints and Stop and About can act.
        const bool converted = FConvertClass->Convert(message);
        ShowRunOutcome();
        if (!converted)
            FServices.MessageBoxes->ShowMessage(ConversionErrorCaption, message, TMsgIcon::Error);
    } catch (...) {
        LeaveRunningState();
        throw;
    }
    LeaveRunningState();
}

// The status bar says how many pages the run wrote, where, and which output
// directories it made; the pages are kept for opening from their rows.
void THTMLform::ShowRunOutcome()
{
    const TIOOptions& io = FProfile->IOOptions();
    for (const TFileItem& item : io.FFiles)
        if (item.Status && (item.Status->Status == StatusCode::Converted || item.Status->Status == StatusCode::Overwritten))
            FPagesWritten[item.Path] = FConvertClass->OutputFileName(item.Path);
    const std::size_t pages = FPagesWritten.size();
    std::string text = (pages == 1 ? "1 page" : std::to_string(pages) + " pages") + " written to " + io.FDestDir;
    for (std::size_t i = 0; i < FDirectoriesMade.size(); ++i)
        text += (i == 0 ? "; created " : " and ") + FDirectoriesMade[i];
    FRunOutcome = text;
    FControls.StatePanel->SetText(text);
}

// Rows that read "Ready" again open nothing.
void THTMLform::ForgetRun()
{
    FPagesWritten.clear();
    FDirectoriesMade.clear();
    FRunOutcome.clear();
}

// ---- Opening what a run wrote ---------------------------------------------------------

std::string THTMLform::PageOfRow(int row) const
{
    if (FConverting || !FProfile || row < 0)
        return {};
    const std::vector<TFileItem>& files = FProfile->IOOptions().FFiles;
    if (static_cast<std::size_t>(row) >= files.size())
        return {};
    auto page = FPagesWritten.find(files[static_cast<std::size_t>(row)].Path);
    return page == FPagesWritten.end() ? std::string() : page->second;
}

bool THTMLform::CanOpenPage(int row) const
{
    return !PageOfRow(row).empty();
}

void THTMLform::OpenPage(int row)
{
    const std::string page = PageOfRow(row);
    if (!page.empty())
        FServices.OpenUrl(FileUrl(page));
}

void THTMLform::OpenPageFolder(int row)
{
    const std::string page = PageOfRow(row);
    if (!page.empty())
        FServices.OpenUrl(FileUrl(ExtractFilePath(page)));
}

// A file: URL of a local path, the path's bytes outside the unreserved
// characters written as percent escapes ("C:\a b" gives "file:///C:/a%20b").
std::string FileUrl(const std::string& path)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    if (!path.starts_with('/') && !path.starts_with('\\'))
        url += '/';
    for (unsigned char c : path) {
        if (c == '\\')
            url += '/';
        else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 (c != 0 && std::strchr("-._~/:", c)))
            url += static_cast<char>(c);
        else
            url += {'%', Hex[c >> 4], Hex[c & 15]};
    }
    return url;
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
    for (TSheet sheet : OptionSheets)
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
    for (TSheet sheet : OptionSheets)
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
