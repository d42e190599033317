// The first tab's commands: the file list (add, remove, selection, files
// dropped from a file manager) and the conversion run with its stop command.
#include <algorithm>

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "conversion/UConvertClass.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"
#include "window/qt/HTMLgenAdapters.h"
#include "window/qt/HTMLgenUnit.h"

namespace velmora {

namespace {

const char* const DumpFilter = "Quake 3 Dump files|*.txt;*.dmp;*.dump|All files|*.*";
const char* const ConversionErrorCaption = "Conversion Error";
const char* const StopHint = "Click to stop the ongoing conversion";

// The files among what is being dragged: local paths of existing regular files.
std::vector<std::string> DraggedFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        QString path = url.toLocalFile();
        if (QFileInfo(path).isFile())
            files.push_back(ToStdString(QDir::toNativeSeparators(path)));
    }
    return files;
}

} // namespace

void THTMLform::ConnectFilesHandlers()
{
    connect(ActAddToList, &QAction::triggered, this, [this] { Guarded([this] { ActAddToListExecute(); }); });
    connect(ActRemoveFromList, &QAction::triggered, this, [this] { Guarded([this] { ActRemoveFromListExecute(); }); });
    connect(ActConvert, &QAction::triggered, this, [this] { Guarded([this] { ActConvertExecute(); }); });
    connect(ActStopConvert, &QAction::triggered, this, [this] { ActStopConvertExecute(); });

    // Each change of the selection reports the rows it selected and deselected;
    // selections come after deselections, so any selected row means the last
    // row that changed became selected.
    connect(SrcFilesList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) { SrcFilesListSelectItem(!selected.isEmpty()); });

    // Files dropped from a file manager join the list as the open dialog's do.
    SrcFilesList->setAcceptDrops(true);
    SrcFilesList->viewport()->setAcceptDrops(true);
    auto acceptDrag = [this](QEvent* event) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!FConverting && FProfile && !DraggedFiles(drag->mimeData()).empty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    };
    OnEvent(SrcFilesList->viewport(), QEvent::DragEnter, acceptDrag);
    OnEvent(SrcFilesList->viewport(), QEvent::DragMove, acceptDrag);
    OnEvent(SrcFilesList->viewport(), QEvent::Drop, [this](QEvent* event) {
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::string> files = DraggedFiles(drop->mimeData());
        if (FConverting || !FProfile || files.empty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        Guarded([this, &files] { AddToList(files); });
        return true;
    });
}

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
    if (!FServices.Dialogs || !FServices.Dialogs->ExecuteOpen(OpenDia, files))
        return;
    AddToList(files);
}

void THTMLform::AddToList(const std::vector<std::string>& paths)
{
    SetStatePanel(QStringLiteral("Opening files"));
    // Sorted in, each path once; the list view is rebuilt and the profile marked changed.
    FProfile->IOOptions().AddFiles(paths);
}

void THTMLform::ActRemoveFromListExecute()
{
    if (FConverting || !FProfile)
        return;
    TIOOptions& io = FProfile->IOOptions();
    std::vector<int> rows;
    for (QTreeWidgetItem* item : SrcFilesList->selectedItems())
        rows.push_back(SrcFilesList->indexOfTopLevelItem(item));
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
        ActRemoveFromList->setEnabled(selected);
}

// ---- The conversion run --------------------------------------------------------------

void THTMLform::ActConvertExecute()
{
    if (FConverting || !FConvertClass)
        return;
    // The engine reads the profile, not the controls: copy an edit still in progress.
    CommitPendingEdit();
    SetStatePanel(QStringLiteral("Converting..."));
    EnterRunningState();
    try {
        std::string message;
        // Pending window events are let through by the engine between files and
        // within each page, so the window repaints and Stop and About can act.
        if (!FConvertClass->Convert(message) && FServices.MessageBoxes)
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

void THTMLform::EnterRunningState()
{
    FConverting = true;
    FConvertHint = BtnConvert->statusTip();
    FConvertIcon = BtnConvert->icon();
    BtnConvert->setFocus();
    // Closing is refused while Exit is disabled.
    btnExit->setEnabled(false);
    ActAddToList->setEnabled(false);
    FRemoveWasEnabled = ActRemoveFromList->isEnabled();
    ActRemoveFromList->setEnabled(false);
    // The other tabs can still be looked at, but nothing on them takes input.
    for (QWidget* sheet : {HighlightOptSheet, ColorProfileSheet, ConfigSheet})
        sheet->setEnabled(false);
    BindButton(BtnConvert, ActStopConvert);
    BtnConvert->setText(ActStopConvert->text());
    BtnConvert->setStatusTip(QString::fromLatin1(StopHint));
    BtnConvert->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    if (BtnConvert->underMouse())
        SetHintPanel(BtnConvert->statusTip());
}

void THTMLform::LeaveRunningState()
{
    btnExit->setEnabled(true);
    PageControl->setCurrentIndex(0);
    for (QWidget* sheet : {HighlightOptSheet, ColorProfileSheet, ConfigSheet})
        sheet->setEnabled(true);
    BindButton(BtnConvert, ActConvert);
    BtnConvert->setText(ActConvert->text());
    BtnConvert->setStatusTip(FConvertHint);
    BtnConvert->setIcon(FConvertIcon);
    if (BtnConvert->underMouse())
        SetHintPanel(BtnConvert->statusTip());
    ActAddToList->setEnabled(true);
    ActRemoveFromList->setEnabled(FRemoveWasEnabled);
    // A run that raised may have left the bars where it stopped.
    FAdapters->ProgCurr.SetPosition(0);
    FAdapters->ProgTotal.SetPosition(0);
    BtnAdd->setFocus();
    FConverting = false;
}

} // namespace velmora
