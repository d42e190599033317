// The main window's construction: its commands, the four tabs with their
// controls and layouts, the status bar and its hint and idle texts, and closing.
#include "window/qt/HTMLgenUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "conversion/UConvertClass.h"
#include "platform/UPaths.h"
#include "settings/UCustomIni.h"
#include "settings/UHighLighter.h"
#include "window/qt/HTMLgenAdapters.h"
#include "window/qt/UBrowseEdit.h"
#include "window/UFormPlacement.h"

namespace velmora {

namespace {

// The colour every swatch shows until a profile is loaded.
constexpr TColor UnloadedSwatchColor = 0x8080FF;

// The 16 basic colours of the colour drop-down, as stored (red in the low byte).
constexpr TColor BasicColors[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
                                    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

const char* const PictureFilter = "JPEG files (*.jpg;*.jpeg)|*.jpg;*.jpeg|GIF files (*.gif)|*.gif|All files (*.*)|*.*";

// Gives a widget its design name and its hint (shown in the status bar; a
// single blank blanks the panel, an empty hint defers to the parent's).
template <class W>
W* Named(W* widget, const char* name, const char* hint = "")
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setStatusTip(QString::fromLatin1(hint));
    return widget;
}

QLabel* NewLabel(QWidget* parent, const char* name, const char* text)
{
    return Named(new QLabel(QString::fromLatin1(text), parent), name);
}

QGroupBox* NewGroup(QWidget* parent, const char* name, const char* title, const char* hint = "")
{
    return Named(new QGroupBox(QString::fromLatin1(title), parent), name, hint);
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* text, const char* hint, QStyle::StandardPixmap picture)
{
    auto* button = Named(new QPushButton(QString::fromLatin1(text), parent), name, hint);
    button->setIcon(parent->style()->standardIcon(picture));
    return button;
}

// An opaque swatch framed by a bevel.
QFrame* NewSwatch(QWidget* parent, const char* name, const char* hint)
{
    auto* swatch = Named(new QFrame(parent), name, hint);
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setLineWidth(2);
    swatch->setFixedSize(40, 22);
    TQtColorSwatch(swatch).SetColor(UnloadedSwatchColor);
    return swatch;
}

QPlainTextEdit* NewMemo(QWidget* parent, const char* name, const char* hint)
{
    auto* memo = Named(new QPlainTextEdit(parent), name, hint);
    memo->setTabChangesFocus(true);
    return memo;
}

QCheckBox* NewCheck(QWidget* parent, const char* name, const char* text, const char* hint)
{
    return Named(new QCheckBox(QString::fromLatin1(text), parent), name, hint);
}

// The picture of the colour buttons: four small squares of colour.
QIcon PaletteIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QColor colors[4] = {QColor(0xC0, 0x20, 0x20), QColor(0x20, 0xA0, 0x20), QColor(0x20, 0x40, 0xD0),
                              QColor(0xE0, 0xC0, 0x20)};
    for (int i = 0; i < 4; ++i) {
        QRect square((i % 2) * 8 + 1, (i / 2) * 8 + 1, 6, 6);
        painter.fillRect(square, colors[i]);
        painter.setPen(Qt::black);
        painter.drawRect(square.adjusted(0, 0, -1, -1));
    }
    return QIcon(pixmap);
}

QIcon SwatchIcon(TColor color, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

// Tells the form where the mouse went: the widget entered, or on leaving a
// widget its parent, which the mouse is over again.
class THintWatcher : public QObject {
public:
    THintWatcher(QWidget* form, std::function<void(QWidget*)> pointedAt)
        : QObject(form), FForm(form), FPointedAt(std::move(pointedAt))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Every event of the application passes here: look at the type first.
        if (event->type() != QEvent::Enter && event->type() != QEvent::Leave)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != FForm)
            return false;
        if (event->type() == QEvent::Enter)
            FPointedAt(widget);
        else if (event->type() == QEvent::Leave && widget != FForm && widget->parentWidget())
            FPointedAt(widget->parentWidget());
        return false;
    }

private:
    QWidget* FForm; // not owned
    std::function<void(QWidget*)> FPointedAt;
};

} // namespace

THTMLform::THTMLform(const TWindowServices& services, QWidget* parent) : QMainWindow(parent), FServices(services)
{
    FPlatform.Registry = FServices.Registry;
    FPlatform.MessageBoxes = FServices.MessageBoxes;
    FPlatform.ProgramDir = FServices.ProgramDir;
    FPlatform.UserFilesDir = FServices.UserFilesDir;

    setObjectName(QStringLiteral("HTMLform"));
    setWindowTitle(QStringLiteral("Velmora"));
    CreateActions();

    PageControl = Named(new QTabWidget(this), "PageControl", " ");
    PageControl->addTab(CreateConvertSheet(), style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                        QStringLiteral("HTML Generation"));
    PageControl->addTab(CreateHighlightSheet(), style()->standardIcon(QStyle::SP_DialogApplyButton),
                        QStringLiteral("Highlight Options"));
    PageControl->addTab(CreateColorProfileSheet(), PaletteIcon(), QStringLiteral("HTML Options"));
    PageControl->addTab(CreateConfigSheet(), style()->standardIcon(QStyle::SP_FileDialogInfoView),
                        QStringLiteral("Configuration"));
    PageControl->setDocumentMode(true);
    setCentralWidget(PageControl);
    CreateStatusBar();

    resize(InitialWidth, InitialHeight);
    setMinimumSize(MinimumWidth, MinimumHeight);

    OpenDia.Title = "Select files to be converted to HTML";
    OpenDia.MultiSelect = true;
    OpenDia.MustExist = true;
    SaveDia.Title = "Choose a new file name";
    SaveDia.DefaultExt = "*.cfg";
    SaveDia.Filter = "Configuration Files|*.cfg|All Files|*.*";
    SaveDia.OverwritePrompt = true;

    FAdapters.reset(new TAdapters{
        .ActSaveOpts = TQtCommand(ActSaveOpts),
        .ActRemoveFromList = TQtCommand(ActRemoveFromList),
        .ActConvert = TQtCommand(ActConvert),
        .ActRemoveName = TQtCommand(ActRemoveName),
        .ActUpdateName = TQtCommand(ActUpdateName),
        .SrcFilesList = TQtListView(SrcFilesList),
        .ProgTotal = TQtProgressBar(ProgTotal),
        .ProgCurr = TQtProgressBar(ProgCurr),
        .NamesList = TQtListBox(NamesList),
        .NameEdit = TQtLineText(NameEdit),
        .NameImgEdit = TQtLineText(NameImgEdit),
        .CustFrontHTMLMemo = TQtMemoText(CustFrontHTMLMemo),
        .CustEndHTMLMemo = TQtMemoText(CustEndHTMLMemo),
        .ShowNameCol = TQtColorSwatch(ShowNameCol),
        .TitleEdit = TQtLineText(TitleEdit),
        .AuthEdit = TQtLineText(AuthEdit),
        .BackImageEdit = TQtLineText(BackImageEdit),
        .FrontPageHTMLMemo = TQtMemoText(FrontPageHTMLMemo),
        .EndPageHTMLMemo = TQtMemoText(EndPageHTMLMemo),
        .RelImgCheck = TQtCheck(RelImgCheck),
        .BrokenLinesCheck = TQtCheck(BrokenLinesCheck),
        .ShowBackCol = TQtColorSwatch(ShowBackCol),
        .ShowTextCol = TQtColorSwatch(ShowTextCol),
        .ShowLinkCol = TQtColorSwatch(ShowLinkCol),
        .ShowVisLinkCol = TQtColorSwatch(ShowVisLinkCol),
        .EscapeTextCheck = TQtCheck(EscapeTextCheck),
        .ColorCodesCombo = TQtComboBox(ColorCodesCombo),
        .ProfileListCombo = TQtComboBox(ProfileListCombo),
        .INIDefsCheck = TQtCheck(INIDefsCheck),
        .CaseSensCheck = TQtCheck(CaseSensCheck),
        .PromptOnOverwCheck = TQtCheck(PromptOnOverwCheck),
        .SkipExistingCheck = TQtCheck(SkipExistingCheck),
        .InputDirEdit = TQtLineText(InputDirEdit),
        .DestDirEdit = TQtLineText(DestDirEdit),
        .DestImgEdit = TQtLineText(DestImgEdit),
    });

    FPlacementWindow = std::make_unique<TQtWindowPlacement>(this);
    FFileColumns = std::make_unique<TQtListColumns>(SrcFilesList);
    FFormPlacement = std::make_unique<TFormPlacement>(*FPlacementWindow, "Main Window Placement",
                                                      TFormPlacement::TRestore::StateAndPosition);
    FFormPlacement->StoreColumns(*FFileColumns, "SrcFilesList");
    OnEvent(this, QEvent::Show, [this](QEvent*) {
        FFormPlacement->WindowShown();
        return false;
    });

    ConnectLayoutHandlers();
    ConnectProfileHandlers();
    ConnectFilesHandlers();
    ConnectNamesHandlers();
}

THTMLform::~THTMLform()
{
    // The placement goes first: it still reads the widgets.
    FFormPlacement.reset();
    if (!FClosed) {
        // Release the model in its order without asking anything.
        FConvertClass.reset();
        FProfile.reset();
        FSettingsAction.reset();
        FCustomIni.reset();
    }
    // The widgets go while the form is whole, so that handlers their
    // destruction sets off (a control losing the focus) find what they use.
    delete takeCentralWidget();
}

// ---- Commands ------------------------------------------------------------------

void THTMLform::CreateActions()
{
    auto make = [this](const char* name, const char* category, const char* caption, bool enabled) {
        auto* action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setProperty("category", QString::fromLatin1(category));
        action->setEnabled(enabled);
        return action;
    };
    ActAddToList = make("ActAddToList", "Lists", "&Add To List", true);
    ActRemoveFromList = make("ActRemoveFromList", "Lists", "&Remove From List", false);
    ActConvert = make("ActConvert", "conversion", "Convert to &HTML", false);
    ActPickCol = make("ActPickCol", "Other", "", true);
    ActAddName = make("ActAddName", "Names", "Add", false);
    ActRemoveName = make("ActRemoveName", "Names", "Remove", false);
    ActSaveOpts = make("ActSaveOpts", "profileIO", "Save options no&w", false);
    ActAbout = make("ActAbout", "Other", "Ab&out", true);
    ActUpdateName = make("ActUpdateName", "Names", "Update", false);
    ActOpenProfile = make("ActOpenProfile", "profileIO", "", true);
    ActSaveNewOpts = make("ActSaveNewOpts", "profileIO", "", true);
    ActStopConvert = make("ActStopConvert", "conversion", "Stop &Conversion", true);
    ActClearMRU = make("ActClearMRU", "Other", "Clear MRU", true);
}

// ---- Tab 0: the dump files -----------------------------------------------------

QWidget* THTMLform::CreateConvertSheet()
{
    ConvertSheet = Named(new QWidget, "ConvertSheet", " ");
    QWidget* s = ConvertSheet;
    lblSourcefiles = NewLabel(s, "lblSourcefiles", "Quake 3 dump files to be converted :");
    BtnAdd = NewButton(s, "BtnAdd", "&Add To List", "Click to add files to convert to HTML", QStyle::SP_FileDialogNewFolder);
    SrcFilesList = Named(new QTreeWidget(s), "SrcFilesList");
    SrcFilesList->setColumnCount(2);
    SrcFilesList->setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Status")});
    SrcFilesList->headerItem()->setTextAlignment(1, Qt::AlignHCenter | Qt::AlignVCenter);
    SrcFilesList->setColumnWidth(0, 189);
    SrcFilesList->header()->setStretchLastSection(true);
    SrcFilesList->setRootIsDecorated(false);
    SrcFilesList->setUniformRowHeights(true);
    SrcFilesList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SrcFilesList->setSelectionBehavior(QAbstractItemView::SelectRows);
    SrcFilesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    btnRemove = NewButton(s, "btnRemove", "&Remove From List", "Click to remove the selected files from the list",
                          QStyle::SP_TrashIcon);
    BtnConvert = Named(new QToolButton(s), "BtnConvert", "Start converting the files on the list to HTML");
    BtnConvert->setText(QStringLiteral("Convert to &HTML"));
    BtnConvert->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    BtnConvert->setIconSize(QSize(32, 32));
    BtnConvert->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    BtnConvert->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    BtnConvert->setMinimumHeight(60);
    BtnGroup = NewGroup(s, "BtnGroup", "");
    BtnAbout = NewButton(BtnGroup, "BtnAbout", "Ab&out", "", QStyle::SP_MessageBoxInformation);
    btnExit = NewButton(BtnGroup, "btnExit", "E&xit", "", QStyle::SP_DialogCloseButton);
    ProgressGroup = NewGroup(s, "ProgressGroup", "Progress");
    lblcurrProgress = NewLabel(ProgressGroup, "lblcurrProgress", "Current File");
    ProgCurr = Named(new QProgressBar(ProgressGroup), "ProgCurr", "Shows progress on the file being converted");
    lblTotProgress = NewLabel(ProgressGroup, "lblTotProgress", "Total Progress");
    ProgTotal = Named(new QProgressBar(ProgressGroup), "ProgTotal", "Shows how many files have been converted");
    for (QProgressBar* bar : {ProgCurr, ProgTotal}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setFixedHeight(16);
    }

    BindButton(BtnAdd, ActAddToList);
    BindButton(btnRemove, ActRemoveFromList);
    BindButton(BtnConvert, ActConvert);
    BindButton(BtnAbout, ActAbout);

    auto* progress = new QVBoxLayout(ProgressGroup);
    progress->setContentsMargins(8, 4, 8, 8);
    progress->setSpacing(2);
    progress->addWidget(lblcurrProgress);
    progress->addWidget(ProgCurr);
    progress->addSpacing(4);
    progress->addWidget(lblTotProgress);
    progress->addWidget(ProgTotal);

    auto* buttons = new QVBoxLayout(BtnGroup);
    buttons->setContentsMargins(8, 8, 8, 8);
    buttons->addWidget(BtnAbout);
    buttons->addWidget(btnExit);

    auto* left = new QVBoxLayout;
    left->addWidget(lblSourcefiles);
    left->addWidget(SrcFilesList, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(BtnAdd);
    listButtons->addStretch(1);
    listButtons->addWidget(btnRemove);
    left->addLayout(listButtons);

    auto* right = new QVBoxLayout;
    right->addWidget(BtnConvert);
    right->addWidget(ProgressGroup);
    right->addStretch(1);
    right->addWidget(BtnGroup);
    auto* rightColumn = new QWidget(s);
    rightColumn->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    rightColumn->setFixedWidth(150);

    auto* sheet = new QHBoxLayout(s);
    sheet->setContentsMargins(6, 6, 6, 6);
    sheet->addLayout(left, 1);
    sheet->addWidget(rightColumn);
    return s;
}

// ---- Tab 1: the names to highlight ---------------------------------------------

QWidget* THTMLform::CreateHighlightSheet()
{
    HighlightOptSheet = Named(new QWidget, "HighlightOptSheet", " ");
    QWidget* s = HighlightOptSheet;
    lblNames = NewLabel(s, "lblNames", "Names to be highlighted");
    lnlEditNameText = NewLabel(s, "lnlEditNameText", "Name (include a : to highlight chat text)");
    NameEdit = Named(new QLineEdit(s), "NameEdit", "Enter a new name or edit the selected one");
    CustHtmlGroup = NewGroup(s, "CustHtmlGroup", "Custom HTML (before/after the line)");
    CustFrontHTMLMemo = NewMemo(CustHtmlGroup, "CustFrontHTMLMemo",
                                "Enter any custom HTML you want apeating before the highlighted name");
    CustEndHTMLMemo = NewMemo(CustHtmlGroup, "CustEndHTMLMemo",
                              "Enter any custom HTML you want apeating after the highlighted name");
    lblNameImg = NewLabel(s, "lblNameImg", "Name Icon file");
    NameImgEdit = Named(new TBrowseEdit(TBrowseEdit::TKind::File, s), "NameImgEdit",
                        "Select an image (HTML icon) to place in front of the highlighted name");
    ColorGroup = NewGroup(s, "ColorGroup", "Highlight color");
    ShowNameCol = NewSwatch(ColorGroup, "ShowNameCol", "Displays the highlight color for the selected name");
    BtnCustom = Named(new QPushButton(ColorGroup), "BtnCustom", "Click to select a new highlight color");
    BtnCustom->setIcon(PaletteIcon());
    BtnCustom->setProperty("tag", 0);
    ColorCombo = Named(new QComboBox(ColorGroup), "ColorCombo", "Click to select a new highlight color");
    ColorCombo->setIconSize(QSize(44, 12));
    for (TColor color : BasicColors)
        ColorCombo->addItem(SwatchIcon(color, QSize(44, 12)), QString(), color);
    ColorCombo->setCurrentIndex(0);
    BtnAddName = NewButton(s, "BtnAddName", "Add", "Add a new name to be highlighted", QStyle::SP_FileDialogNewFolder);
    NamesList = Named(new QListWidget(s), "NamesList", "Click to select and edit names to be highlighted");
    BtnRemoveName = NewButton(s, "BtnRemoveName", "Remove", "Remove the selected name from the list", QStyle::SP_TrashIcon);
    BtnUpdate = NewButton(s, "BtnUpdate", "Update", "Update the information for the selcted name",
                          QStyle::SP_BrowserReload);
    BindButton(BtnAddName, ActAddName);
    BindButton(BtnRemoveName, ActRemoveName);
    BindButton(BtnUpdate, ActUpdateName);

    auto* html = new QVBoxLayout(CustHtmlGroup);
    html->setContentsMargins(6, 4, 6, 6);
    html->addWidget(CustFrontHTMLMemo, 1);
    html->addWidget(CustEndHTMLMemo);
    CustEndHTMLMemo->setFixedHeight(44);

    auto* color = new QHBoxLayout(ColorGroup);
    color->setContentsMargins(6, 4, 6, 6);
    color->addWidget(ShowNameCol);
    color->addWidget(BtnCustom);
    color->addWidget(ColorCombo);

    auto* left = new QVBoxLayout;
    left->addWidget(lblNames);
    left->addWidget(NamesList, 1);
    auto* nameButtons = new QHBoxLayout;
    nameButtons->setSpacing(4);
    nameButtons->addWidget(BtnAddName);
    nameButtons->addWidget(BtnRemoveName);
    nameButtons->addWidget(BtnUpdate);
    left->addLayout(nameButtons);

    auto* image = new QVBoxLayout;
    image->addStretch(1);
    image->addWidget(lblNameImg);
    image->addWidget(NameImgEdit);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(image, 1);
    bottom->addWidget(ColorGroup, 0, Qt::AlignBottom);

    auto* right = new QVBoxLayout;
    right->addWidget(lnlEditNameText);
    right->addWidget(NameEdit);
    right->addWidget(CustHtmlGroup, 1);
    right->addLayout(bottom);

    auto* sheet = new QHBoxLayout(s);
    sheet->setContentsMargins(6, 6, 6, 6);
    sheet->addLayout(left, 0);
    sheet->addLayout(right, 1);
    return s;
}

// ---- Tab 2: the page options ----------------------------------------------------

QWidget* THTMLform::CreateColorProfileSheet()
{
    ColorProfileSheet = Named(new QWidget, "ColorProfileSheet", " ");
    QWidget* s = ColorProfileSheet;
    lblTitle = NewLabel(s, "lblTitle", "Page title");
    TitleEdit = Named(new QLineEdit(s), "TitleEdit", "Enter a title for the page");
    lblAuth = NewLabel(s, "lblAuth", "Created by:");
    AuthEdit = Named(new QLineEdit(s), "AuthEdit", "Enter the name of the author");

    // How the text of the dump reaches the page; stored with the general options.
    DumpTextGroup = NewGroup(s, "DumpTextGroup", "Dump text");
    EscapeTextCheck = NewCheck(DumpTextGroup, "EscapeTextCheck", "Escape HTML in dump text",
                               "Show markup typed in the game as text instead of passing it into the page");
    lblColorCodes = NewLabel(DumpTextGroup, "lblColorCodes", "Game colour codes");
    ColorCodesCombo = Named(new QComboBox(DumpTextGroup), "ColorCodesCombo",
                            "What to do with colour codes such as ^1 in the dump text");
    ColorCodesCombo->addItems({"Keep as written", "Remove", "Show as colours"});
    // Under the title and author, in two rows, so that the frames at the right
    // keep their room at the window's smallest size.
    auto* dumpText = new QGridLayout(DumpTextGroup);
    dumpText->setContentsMargins(8, 4, 8, 6);
    dumpText->setVerticalSpacing(3);
    dumpText->addWidget(EscapeTextCheck, 0, 0, 1, 2);
    dumpText->addWidget(lblColorCodes, 1, 0);
    dumpText->addWidget(ColorCodesCombo, 1, 1);
    dumpText->setColumnStretch(2, 1);


    HTMLColGroup = NewGroup(s, "HTMLColGroup", "HTML Colors");
    struct TRow {
        QFrame** Swatch;
        const char* SwatchName;
        const char* SwatchHint;
        const char* Label;
        const char* Caption;
        QPushButton** Button;
        const char* ButtonName;
        const char* ButtonHint;
    };
    const TRow rows[4] = {
        {&ShowBackCol, "ShowBackCol", "Displays the current background color value", "lblBackCol", "Background color",
         &BtnBackCol, "BtnBackCol", "Click to select a new background color"},
        {&ShowTextCol, "ShowTextCol", "Displays the current text color value", "lblTextCol", "Text color", &BtnTextCol,
         "BtnTextCol", "Click to select a new text color"},
        {&ShowLinkCol, "ShowLinkCol", "Displays the current link color value", "lblLinkCol", "Link color", &BtnLinkCol,
         "BtnLinkCol", "Click to select a new link color"},
        {&ShowVisLinkCol, "ShowVisLinkCol", "Displays the current visited link color value", "lblVisLinkCol",
         "Visited link color", &BtnVisLinkcol, "BtnVisLinkcol", "Click to select a new visited link color"},
    };
    auto* colors = new QGridLayout(HTMLColGroup);
    colors->setContentsMargins(8, 4, 8, 6);
    colors->setVerticalSpacing(4);
    for (int i = 0; i < 4; ++i) {
        const TRow& row = rows[i];
        *row.Swatch = NewSwatch(HTMLColGroup, row.SwatchName, row.SwatchHint);
        QLabel* caption = NewLabel(HTMLColGroup, row.Label, row.Caption);
        *row.Button = Named(new QPushButton(HTMLColGroup), row.ButtonName, row.ButtonHint);
        (*row.Button)->setIcon(PaletteIcon());
        (*row.Button)->setFixedSize(26, 22);
        (*row.Button)->setProperty("tag", i + 1);
        colors->addWidget(*row.Swatch, i, 0);
        colors->addWidget(caption, i, 1);
        colors->addWidget(*row.Button, i, 2);
    }
    colors->setColumnStretch(1, 1);

    lblCustomHTML = NewLabel(s, "lblCustomHTML", "Custom HTML (top/end of the page)");
    FrontPageHTMLMemo = NewMemo(s, "FrontPageHTMLMemo", "Enter custom HTMl to apear befor the dump text");
    EndPageHTMLMemo = NewMemo(s, "EndPageHTMLMemo", "Enter any HTML to apear after the dump text");
    EndPageHTMLMemo->setFixedHeight(44);
    HTMLIMGGroup = NewGroup(s, "HTMLIMGGroup", "Other HTML Options");
    lblImgFile = NewLabel(HTMLIMGGroup, "lblImgFile", "Background Image File");
    BackImageEdit = Named(new TBrowseEdit(TBrowseEdit::TKind::File, HTMLIMGGroup), "BackImageEdit",
                          "Select a file to use for the HTML page background");
    RelImgCheck = NewCheck(HTMLIMGGroup, "RelImgCheck", "Save relative images directory",
                           "Save the images path relative to the HTML path");
    BrokenLinesCheck = NewCheck(HTMLIMGGroup, "BrokenLinesCheck", "Treat long lines as broken",
                                "Treat long lines in dump files as broken lines");

    auto* other = new QVBoxLayout(HTMLIMGGroup);
    other->setContentsMargins(8, 4, 8, 6);
    other->setSpacing(3);
    other->addWidget(lblImgFile);
    other->addWidget(BackImageEdit);
    other->addWidget(RelImgCheck);
    other->addWidget(BrokenLinesCheck);
    HTMLIMGGroup->setFixedWidth(240);

    auto* options = new QVBoxLayout;
    options->setSpacing(4);
    options->addWidget(HTMLIMGGroup);

    auto* names = new QVBoxLayout;
    names->setSpacing(2);
    names->addWidget(lblTitle);
    names->addWidget(TitleEdit);
    names->addWidget(lblAuth);
    names->addWidget(AuthEdit);
    names->addSpacing(4);
    names->addWidget(DumpTextGroup);
    names->addStretch(1);

    auto* custom = new QVBoxLayout;
    custom->setSpacing(2);
    custom->addWidget(lblCustomHTML);
    custom->addWidget(FrontPageHTMLMemo, 1);
    custom->addWidget(EndPageHTMLMemo);

    auto* sheet = new QGridLayout(s);
    sheet->setContentsMargins(6, 6, 6, 6);
    sheet->addLayout(names, 0, 0, 1, 2);
    sheet->addLayout(options, 0, 2, Qt::AlignTop);
    sheet->addWidget(HTMLColGroup, 1, 0, Qt::AlignBottom);
    sheet->addLayout(custom, 1, 1, 1, 2);
    sheet->setColumnStretch(1, 1);
    sheet->setRowStretch(1, 1);
    HTMLColGroup->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return s;
}

// ---- Tab 3: configuration -------------------------------------------------------

QWidget* THTMLform::CreateConfigSheet()
{
    ConfigSheet = Named(new QWidget, "ConfigSheet", " ");
    QWidget* s = ConfigSheet;
    AppOptsGroup = NewGroup(s, "AppOptsGroup", "General Application Options", " ");
    lblCurrProfile = NewLabel(AppOptsGroup, "lblCurrProfile", "Current Profile");
    ProfileListCombo = Named(new QComboBox(AppOptsGroup), "ProfileListCombo", "Select one of the recently used profiles");
    ProfileListCombo->setEditable(false);
    ProfileListCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ProfileListCombo->setMinimumContentsLength(20);
    BtnLoadProfile = Named(new QPushButton(AppOptsGroup), "BtnLoadProfile");
    BtnLoadProfile->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    BtnLoadProfile->setFixedSize(28, 24);
    INIDefsCheck = NewCheck(AppOptsGroup, "INIDefsCheck", "Use defaults from INI file",
                            "Toggle use of ini defaults when creating new files");
    CaseSensCheck = NewCheck(AppOptsGroup, "CaseSensCheck", "Case sensitive highlighting",
                             "Toggle case sensitivity when highlighting dump files");
    BtnClearMRU = Named(new QPushButton(AppOptsGroup), "BtnClearMRU", "Clear the Most Recently Used profiles list");

    IOOptsGroup = NewGroup(s, "IOOptsGroup", "Inpu/Output Options", " ");
    PromptOnOverwCheck = NewCheck(IOOptsGroup, "PromptOnOverwCheck", "Prompt before overwriting existing files",
                                  "Prompt to overwrite existing files");
    SkipExistingCheck = NewCheck(IOOptsGroup, "SkipExistingCheck", "Skip existing files",
                                 "Do not overwrite existing files (no prompt)");

    HTMLGenGroup = NewGroup(s, "HTMLGenGroup", "HTML Generation Options", " ");
    lblInDir = NewLabel(HTMLGenGroup, "lblInDir", "Source Files Directory");
    InputDirEdit = Named(new TBrowseEdit(TBrowseEdit::TKind::Folder, HTMLGenGroup), "InputDirEdit",
                         "Default location for dump files");
    lblDestDir = NewLabel(HTMLGenGroup, "lblDestDir", "Destination Directory ");
    DestDirEdit = Named(new TBrowseEdit(TBrowseEdit::TKind::Folder, HTMLGenGroup), "DestDirEdit",
                        "Directory where the generated HTML files will be stored");
    lblImgDir = NewLabel(HTMLGenGroup, "lblImgDir", "HTML Images Directory");
    DestImgEdit = Named(new TBrowseEdit(TBrowseEdit::TKind::Folder, HTMLGenGroup), "DestImgEdit",
                        "Directory for storing images listed in the HTML files");

    BtnSaveOpts = NewButton(s, "BtnSaveOpts", "&Save options", "Save all changes to the current profile",
                            QStyle::SP_DialogSaveButton);
    BitBtn1 = NewButton(s, "BitBtn1", "S&ave as ...", "Save the current profile under a new name",
                        QStyle::SP_DriveFDIcon);
    for (QPushButton* big : {BtnSaveOpts, BitBtn1}) {
        big->setIconSize(QSize(24, 24));
        big->setMinimumHeight(34);
    }
    BindButton(BtnLoadProfile, ActOpenProfile);
    BindButton(BtnClearMRU, ActClearMRU);
    BindButton(BtnSaveOpts, ActSaveOpts);
    BindButton(BitBtn1, ActSaveNewOpts);

    auto* app = new QGridLayout(AppOptsGroup);
    app->setContentsMargins(8, 4, 8, 6);
    app->setVerticalSpacing(3);
    app->addWidget(lblCurrProfile, 0, 0);
    app->addWidget(ProfileListCombo, 0, 1);
    app->addWidget(BtnLoadProfile, 0, 2);
    auto* checks = new QHBoxLayout;
    checks->addWidget(INIDefsCheck);
    checks->addSpacing(16);
    checks->addWidget(CaseSensCheck);
    checks->addStretch(1);
    app->addLayout(checks, 1, 0, 1, 2);
    app->addWidget(BtnClearMRU, 1, 2, 1, 1, Qt::AlignRight);
    app->setColumnStretch(1, 1);
    BtnClearMRU->setMinimumWidth(80);
    // The clear button sits under the open button, its right edge with the group's.
    app->setColumnMinimumWidth(2, 28);

    auto* io = new QVBoxLayout(IOOptsGroup);
    io->setContentsMargins(8, 4, 8, 6);
    io->addWidget(PromptOnOverwCheck);
    io->addWidget(SkipExistingCheck);
    io->addStretch(1);

    auto* dirs = new QVBoxLayout(HTMLGenGroup);
    dirs->setContentsMargins(8, 4, 8, 6);
    dirs->setSpacing(2);
    for (QWidget* w : std::initializer_list<QWidget*>{lblInDir, InputDirEdit, lblDestDir, DestDirEdit, lblImgDir, DestImgEdit})
        dirs->addWidget(w);
    dirs->addStretch(1);
    HTMLGenGroup->setFixedWidth(270);

    auto* sheet = new QGridLayout(s);
    sheet->setContentsMargins(6, 6, 6, 6);
    sheet->setVerticalSpacing(4);
    sheet->addWidget(AppOptsGroup, 0, 0, 1, 3);
    sheet->addWidget(IOOptsGroup, 1, 0);
    sheet->addWidget(HTMLGenGroup, 1, 2);
    sheet->addWidget(BitBtn1, 2, 0, Qt::AlignLeft);
    sheet->addWidget(BtnSaveOpts, 2, 2, Qt::AlignRight);
    sheet->setColumnStretch(1, 1);
    sheet->setRowStretch(1, 1);
    return s;
}

// ---- Status bar -----------------------------------------------------------------

void THTMLform::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    HintPanel = Named(new QLabel(bar), "HintPanel");
    StatusCaptionPanel = Named(new QLabel(QStringLiteral("Status :"), bar), "StatusCaptionPanel");
    StatePanel = Named(new QLabel(bar), "StatePanel");
    HintPanel->setMinimumWidth(200);
    StatusCaptionPanel->setMinimumWidth(42);
    StatePanel->setMinimumWidth(std::max(50, StatePanel->fontMetrics().horizontalAdvance(QStringLiteral("Converting...")) + 8));
    for (QLabel* panel : {HintPanel, StatusCaptionPanel, StatePanel})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(HintPanel, 1);
    bar->addWidget(StatusCaptionPanel);
    bar->addWidget(StatePanel);
}

void THTMLform::SetHintPanel(const QString& text)
{
    if (HintPanel->text() != text)
        HintPanel->setText(text);
}

void THTMLform::SetStatePanel(const QString& text)
{
    if (StatePanel->text() != text)
        StatePanel->setText(text);
}

QString THTMLform::HintAt(QWidget* widget) const
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (!w->statusTip().isEmpty())
            return w->statusTip();
        if (w == this)
            break;
    }
    return QString();
}

void THTMLform::InstallStatusHandlers()
{
    if (FStatusHandlersInstalled)
        return;
    FStatusHandlersInstalled = true;
    qApp->installEventFilter(new THintWatcher(this, [this](QWidget* w) { SetHintPanel(HintAt(w)); }));
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { SetStatePanel(QStringLiteral("Ready")); });
}

bool THTMLform::event(QEvent* event)
{
    // Hints go to the hint panel through the form's own watcher, never as
    // the status bar's temporary message that would cover the three panels.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

// ---- Handlers of the layout ------------------------------------------------------

void THTMLform::ConnectLayoutHandlers()
{
    connect(btnExit, &QPushButton::clicked, this, &QWidget::close);

    // Escape on the first tab removes the selected files, when that is possible.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (PageControl->currentWidget() == ConvertSheet && ActRemoveFromList->isEnabled())
            ActRemoveFromList->trigger();
    });

    connect(NameImgEdit, &TBrowseEdit::BrowseRequested, this, [this] { BrowseFor(NameImgEdit, PictureFilter, ""); });
    connect(BackImageEdit, &TBrowseEdit::BrowseRequested, this, [this] { BrowseFor(BackImageEdit, PictureFilter, ""); });
    connect(InputDirEdit, &TBrowseEdit::BrowseRequested, this,
            [this] { BrowseFor(InputDirEdit, "", "Select initial source files directory"); });
    connect(DestDirEdit, &TBrowseEdit::BrowseRequested, this, [this] { BrowseFor(DestDirEdit, "", ""); });
    connect(DestImgEdit, &TBrowseEdit::BrowseRequested, this, [this] { BrowseFor(DestImgEdit, "", ""); });
}

void THTMLform::BrowseFor(TBrowseEdit* edit, const std::string& filter, const std::string& folderTitle)
{
    if (!FServices.Dialogs)
        return;
    std::string current = ToStdString(edit->text());
    if (edit->Kind() == TBrowseEdit::TKind::Folder) {
        std::string folder;
        if (FServices.Dialogs->BrowseFolder(folderTitle, current, folder))
            edit->setText(ToQString(folder));
        return;
    }
    TFileDialogSettings settings;
    settings.Filter = filter;
    settings.InitialDir = ExtractFilePath(current);
    settings.FileName = current;
    settings.MustExist = true;
    std::vector<std::string> files;
    if (FServices.Dialogs->ExecuteOpen(settings, files) && !files.empty())
        edit->setText(ToQString(files.front()));
}

void THTMLform::Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        if (FServices.MessageBoxes)
            FServices.MessageBoxes->ShowMessage("Velmora", e.what(), TMsgIcon::Error);
    }
}

void THTMLform::closeEvent(QCloseEvent* event)
{
    if (FClosed) {
        event->accept();
        return;
    }
    // A running conversion disables Exit; the window then stays open.
    if (!btnExit->isEnabled()) {
        event->ignore();
        return;
    }
    if (isVisible())
        FFormPlacement->Save();
    if (!FormClose()) {
        event->ignore();
        return;
    }
    FClosed = true;
    event->accept();
}

} // namespace velmora
