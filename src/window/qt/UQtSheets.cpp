// The main window's widgets: its commands, the five tabs with their controls
// and layouts, and the status bar. Every control gets the name the window's
// logic and the tests know it by; the option controls are found again by the
// names of the option table.
#include <QAction>
#include <QCheckBox>
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
#include <QProxyStyle>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "window/qt/UBrowseEdit.h"
#include "window/qt/UQtControls.h"
#include "window/qt/UQtMainWindow.h"
#include "window/qt/UPathDelegate.h"

namespace velmora {

namespace {

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
    TQtColorSwatch(swatch).SetColor(THTMLform::UnloadedSwatchColor);
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

// A field with a browse button for a file or a folder, as the logic's browse table says.
TBrowseEdit* NewBrowseEdit(QWidget* parent, const char* name, const char* hint)
{
    bool folder = false;
    for (const TBrowseField& field : THTMLform::BrowseFields())
        if (std::string_view(field.Name) == name)
            folder = field.Folder;
    return Named(new TBrowseEdit(folder ? TBrowseEdit::TKind::Folder : TBrowseEdit::TKind::File, parent), name, hint);
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

// Tabs with less room around their captions than the style gives, so that the
// five tabs fit the window at its smallest width.
class TCompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::min(value, CompactTabHSpace) : value;
    }
    static constexpr int CompactTabHSpace = 12;
};

} // namespace

// ---- Commands ------------------------------------------------------------------

void TQtMainWindow::CreateActions()
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

void TQtMainWindow::CreatePages()
{
    PageControl = Named(new QTabWidget(this), "PageControl", " ");
    PageControl->addTab(CreateConvertSheet(), style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                        QStringLiteral("HTML Generation"));
    PageControl->addTab(CreateHighlightSheet(), style()->standardIcon(QStyle::SP_DialogApplyButton),
                        QStringLiteral("Highlight Options"));
    PageControl->addTab(CreateColorProfileSheet(), PaletteIcon(), QStringLiteral("HTML Options"));
    PageControl->addTab(CreatePageStyleSheet(), style()->standardIcon(QStyle::SP_FileDialogContentsView),
                        QStringLiteral("Page Style"));
    PageControl->addTab(CreateConfigSheet(), style()->standardIcon(QStyle::SP_FileDialogInfoView),
                        QStringLiteral("Configuration"));
    PageControl->setDocumentMode(true);
    auto* tabStyle = new TCompactTabStyle;
    tabStyle->setParent(PageControl->tabBar());
    PageControl->tabBar()->setStyle(tabStyle);
    setCentralWidget(PageControl);
    CreateStatusBar();
}

// ---- Tab 0: the dump files -----------------------------------------------------

QWidget* TQtMainWindow::CreateConvertSheet()
{
    QWidget* s = Named(new QWidget, "ConvertSheet", " ");
    QLabel* lblSourcefiles = NewLabel(s, "lblSourcefiles", "Quake 3 dump files to be converted :");
    BtnAdd = NewButton(s, "BtnAdd", "&Add To List", "Click to add files to convert to HTML", QStyle::SP_FileDialogNewFolder);
    SrcFilesList = Named(new QTreeWidget(s), "SrcFilesList");
    SrcFilesList->setColumnCount(2);
    SrcFilesList->setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Status")});
    SrcFilesList->headerItem()->setTextAlignment(1, Qt::AlignHCenter | Qt::AlignVCenter);
    SrcFilesList->setColumnWidth(0, 189);
    SrcFilesList->header()->setStretchLastSection(true);
    SrcFilesList->setRootIsDecorated(false);
    SrcFilesList->setUniformRowHeights(true);
    SrcFilesList->setTextElideMode(Qt::ElideMiddle);
    SrcFilesList->setItemDelegateForColumn(0, new TPathDelegate(SrcFilesList)); // the file's own name stays in sight
    SrcFilesList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SrcFilesList->setSelectionBehavior(QAbstractItemView::SelectRows);
    SrcFilesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPushButton* btnRemove = NewButton(s, "btnRemove", "&Remove From List",
                                       "Click to remove the selected files from the list", QStyle::SP_TrashIcon);
    BtnConvert = Named(new QToolButton(s), "BtnConvert", "Start converting the files on the list to HTML");
    BtnConvert->setText(QStringLiteral("Convert to &HTML"));
    BtnConvert->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    BtnConvert->setIconSize(QSize(32, 32));
    BtnConvert->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    BtnConvert->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    BtnConvert->setMinimumHeight(60);
    QGroupBox* BtnGroup = NewGroup(s, "BtnGroup", "");
    QPushButton* BtnAbout = NewButton(BtnGroup, "BtnAbout", "Ab&out", "", QStyle::SP_MessageBoxInformation);
    btnExit = NewButton(BtnGroup, "btnExit", "E&xit", "", QStyle::SP_DialogCloseButton);
    QGroupBox* ProgressGroup = NewGroup(s, "ProgressGroup", "Progress");
    QLabel* lblcurrProgress = NewLabel(ProgressGroup, "lblcurrProgress", "Current File");
    ProgCurr = Named(new QProgressBar(ProgressGroup), "ProgCurr", "Shows progress on the file being converted");
    QLabel* lblTotProgress = NewLabel(ProgressGroup, "lblTotProgress", "Total Progress");
    ProgTotal = Named(new QProgressBar(ProgressGroup), "ProgTotal", "Shows how many files have been converted");
    for (QProgressBar* bar : {ProgCurr, ProgTotal}) {
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setFixedHeight(16);
    }

    BindButton(BtnAdd, ActAddToList);
    BindButton(btnRemove, ActRemoveFromList);
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

QWidget* TQtMainWindow::CreateHighlightSheet()
{
    QWidget* s = Named(new QWidget, "HighlightOptSheet", " ");
    QLabel* lblNames = NewLabel(s, "lblNames", "Names to be highlighted");
    QLabel* lnlEditNameText = NewLabel(s, "lnlEditNameText", "Name (include a : to highlight chat text)");
    NameEdit = Named(new QLineEdit(s), "NameEdit", "Enter a new name or edit the selected one");
    QGroupBox* CustHtmlGroup = NewGroup(s, "CustHtmlGroup", "Custom HTML (before/after the line)");
    CustFrontHTMLMemo = NewMemo(CustHtmlGroup, "CustFrontHTMLMemo",
                                "Enter any custom HTML you want appearing before the highlighted name");
    CustEndHTMLMemo = NewMemo(CustHtmlGroup, "CustEndHTMLMemo",
                              "Enter any custom HTML you want appearing after the highlighted name");
    QLabel* lblNameImg = NewLabel(s, "lblNameImg", "Name Icon file");
    NameImgEdit = NewBrowseEdit(s, "NameImgEdit", "Select an image (HTML icon) to place in front of the highlighted name");
    QGroupBox* ColorGroup = NewGroup(s, "ColorGroup", "Highlight color");
    ShowNameCol = NewSwatch(ColorGroup, "ShowNameCol", "Displays the highlight color for the selected name");
    auto* BtnCustom = Named(new QPushButton(ColorGroup), "BtnCustom", "Click to select a new highlight color");
    BtnCustom->setIcon(PaletteIcon());
    BtnCustom->setProperty("tag", 0);
    ColorCombo = Named(new QComboBox(ColorGroup), "ColorCombo", "Click to select a new highlight color");
    ColorCombo->setIconSize(QSize(44, 12));
    for (TColor color : THTMLform::BasicColors)
        ColorCombo->addItem(SwatchIcon(color, QSize(44, 12)), QString(), color);
    ColorCombo->setCurrentIndex(0);
    QPushButton* BtnAddName = NewButton(s, "BtnAddName", "Add", "Add a new name to be highlighted",
                                        QStyle::SP_FileDialogNewFolder);
    NamesList = Named(new QListWidget(s), "NamesList", "Click to select and edit names to be highlighted");
    QPushButton* BtnRemoveName = NewButton(s, "BtnRemoveName", "Remove", "Remove the selected name from the list",
                                           QStyle::SP_TrashIcon);
    QPushButton* BtnUpdate = NewButton(s, "BtnUpdate", "Update", "Update the information for the selected name",
                                       QStyle::SP_BrowserReload);
    BindButton(BtnAddName, ActAddName);
    BindButton(BtnRemoveName, ActRemoveName);
    BindButton(BtnUpdate, ActUpdateName);

    auto* html = new QVBoxLayout(CustHtmlGroup);
    html->setContentsMargins(6, 4, 6, 6);
    html->addWidget(NewLabel(CustHtmlGroup, "lblCustFront", "Before the line"));
    html->addWidget(CustFrontHTMLMemo, 1);
    html->addWidget(NewLabel(CustHtmlGroup, "lblCustEnd", "After the line"));
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

QWidget* TQtMainWindow::CreateColorProfileSheet()
{
    QWidget* s = Named(new QWidget, "ColorProfileSheet", " ");
    QLabel* lblTitle = NewLabel(s, "lblTitle", "Page title");
    auto* TitleEdit = Named(new QLineEdit(s), "TitleEdit", "Enter a title for the page");
    QLabel* lblAuth = NewLabel(s, "lblAuth", "Created by:");
    auto* AuthEdit = Named(new QLineEdit(s), "AuthEdit", "Enter the name of the author");

    // How the text of the dump reaches the page; stored with the general options.
    QGroupBox* DumpTextGroup = NewGroup(s, "DumpTextGroup", "Dump text");
    QCheckBox* EscapeTextCheck = NewCheck(DumpTextGroup, "EscapeTextCheck", "Escape HTML in dump text",
                                          "Show markup typed in the game as text instead of passing it into the page");
    QLabel* lblColorCodes = NewLabel(DumpTextGroup, "lblColorCodes", "Game colour codes");
    auto* ColorCodesCombo = Named(new QComboBox(DumpTextGroup), "ColorCodesCombo",
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

    QGroupBox* HTMLColGroup = NewGroup(s, "HTMLColGroup", "HTML Colors");
    struct TRow {
        const char* SwatchName;
        const char* SwatchHint;
        const char* Label;
        const char* Caption;
        const char* ButtonName;
        const char* ButtonHint;
    };
    const TRow rows[4] = {
        {"ShowBackCol", "Displays the current background color value", "lblBackCol", "Background color", "BtnBackCol",
         "Click to select a new background color"},
        {"ShowTextCol", "Displays the current text color value", "lblTextCol", "Text color", "BtnTextCol",
         "Click to select a new text color"},
        {"ShowLinkCol", "Displays the current link color value", "lblLinkCol", "Link color", "BtnLinkCol",
         "Click to select a new link color"},
        {"ShowVisLinkCol", "Displays the current visited link color value", "lblVisLinkCol", "Visited link color",
         "BtnVisLinkcol", "Click to select a new visited link color"},
    };
    auto* colors = new QGridLayout(HTMLColGroup);
    colors->setContentsMargins(8, 4, 8, 6);
    colors->setVerticalSpacing(4);
    for (int i = 0; i < 4; ++i) {
        const TRow& row = rows[i];
        QFrame* swatch = NewSwatch(HTMLColGroup, row.SwatchName, row.SwatchHint);
        QLabel* caption = NewLabel(HTMLColGroup, row.Label, row.Caption);
        auto* button = Named(new QPushButton(HTMLColGroup), row.ButtonName, row.ButtonHint);
        button->setIcon(PaletteIcon());
        button->setFixedSize(26, 22);
        button->setProperty("tag", i + 1);
        colors->addWidget(swatch, i, 0);
        colors->addWidget(caption, i, 1);
        colors->addWidget(button, i, 2);
    }
    colors->setColumnStretch(1, 1);

    QLabel* lblCustomHTML = NewLabel(s, "lblCustomHTML", "Custom HTML (top/end of the page)");
    QPlainTextEdit* FrontPageHTMLMemo = NewMemo(s, "FrontPageHTMLMemo", "Enter custom HTML to appear before the dump text");
    QPlainTextEdit* EndPageHTMLMemo = NewMemo(s, "EndPageHTMLMemo", "Enter any HTML to appear after the dump text");
    EndPageHTMLMemo->setFixedHeight(44);
    QGroupBox* HTMLIMGGroup = NewGroup(s, "HTMLIMGGroup", "Other HTML Options");
    QLabel* lblImgFile = NewLabel(HTMLIMGGroup, "lblImgFile", "Background Image File");
    TBrowseEdit* BackImageEdit = NewBrowseEdit(HTMLIMGGroup, "BackImageEdit",
                                               "Select a file to use for the HTML page background");
    QCheckBox* RelImgCheck = NewCheck(HTMLIMGGroup, "RelImgCheck", "Save relative images directory",
                                      "Save the images path relative to the HTML path");
    QCheckBox* BrokenLinesCheck = NewCheck(HTMLIMGGroup, "BrokenLinesCheck", "Treat long lines as broken",
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

// ---- Tab 3: the page style ------------------------------------------------------

QWidget* TQtMainWindow::CreatePageStyleSheet()
{
    QWidget* s = Named(new QWidget, "PageStyleSheet", " ");
    QLabel* lblPageStyle = NewLabel(s, "lblPageStyle", "Page s&tyle");
    auto* PageStyleCombo = Named(new QComboBox(s), "PageStyleCombo",
                                 "Classic: the page as before; Modern: UTF-8 with links to lines");
    PageStyleCombo->addItems({"Classic", "Modern"});
    lblPageStyle->setBuddy(PageStyleCombo);

    // What only a modern page has; the window's logic enables it while the style is Modern.
    QGroupBox* ModernGroup = NewGroup(s, "ModernGroup", "Modern pages");
    QLabel* lblKeepLines = NewLabel(ModernGroup, "lblKeepLines", "&Lines to keep");
    auto* KeepLinesCombo = Named(new QComboBox(ModernGroup), "KeepLinesCombo",
                                 "Which dump lines the page shows; links to lines stay valid");
    KeepLinesCombo->addItems({"All lines", "Chat and game events", "Chat only"});
    lblKeepLines->setBuddy(KeepLinesCombo);
    // The caption greys with its list.
    OnEvent(KeepLinesCombo, QEvent::EnabledChange, [lblKeepLines, KeepLinesCombo](QEvent*) {
        lblKeepLines->setEnabled(KeepLinesCombo->isEnabled());
        return false;
    });
    QCheckBox* WriteIndexCheck = NewCheck(ModernGroup, "WriteIndexCheck", "Write an &index page",
                                          "After a run, list the modern pages of the destination in index.htm");
    QCheckBox* PlayerStatsCheck = NewCheck(ModernGroup, "PlayerStatsCheck", "&Player stats",
                                           "Add a table of each player's chat lines, kills and deaths to the page");

    auto* modern = new QGridLayout(ModernGroup);
    modern->setContentsMargins(8, 4, 8, 6);
    modern->setVerticalSpacing(4);
    modern->addWidget(lblKeepLines, 0, 0);
    modern->addWidget(KeepLinesCombo, 0, 1);
    modern->addWidget(WriteIndexCheck, 1, 0, 1, 2);
    modern->addWidget(PlayerStatsCheck, 2, 0, 1, 2);
    modern->setColumnStretch(2, 1);

    auto* sheet = new QGridLayout(s);
    sheet->setContentsMargins(6, 6, 6, 6);
    sheet->setVerticalSpacing(6);
    sheet->addWidget(lblPageStyle, 0, 0);
    sheet->addWidget(PageStyleCombo, 0, 1);
    sheet->addWidget(ModernGroup, 1, 0, 1, 3);
    sheet->setColumnStretch(2, 1);
    sheet->setRowStretch(2, 1);
    return s;
}

// ---- Tab 4: configuration -------------------------------------------------------

QWidget* TQtMainWindow::CreateConfigSheet()
{
    QWidget* s = Named(new QWidget, "ConfigSheet", " ");
    QGroupBox* AppOptsGroup = NewGroup(s, "AppOptsGroup", "General Application Options", " ");
    QLabel* lblCurrProfile = NewLabel(AppOptsGroup, "lblCurrProfile", "Current Profile");
    ProfileListCombo = Named(new QComboBox(AppOptsGroup), "ProfileListCombo", "Select one of the recently used profiles");
    ProfileListCombo->setEditable(false);
    ProfileListCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ProfileListCombo->setMinimumContentsLength(20);
    auto* BtnLoadProfile = Named(new QPushButton(AppOptsGroup), "BtnLoadProfile");
    BtnLoadProfile->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    BtnLoadProfile->setFixedSize(28, 24);
    QCheckBox* INIDefsCheck = NewCheck(AppOptsGroup, "INIDefsCheck", "Use defaults from INI file",
                                       "Toggle use of ini defaults when creating new files");
    QCheckBox* CaseSensCheck = NewCheck(AppOptsGroup, "CaseSensCheck", "Case sensitive highlighting",
                                        "Toggle case sensitivity when highlighting dump files");
    auto* BtnClearMRU = Named(new QPushButton(AppOptsGroup), "BtnClearMRU", "Clear the Most Recently Used profiles list");

    QGroupBox* IOOptsGroup = NewGroup(s, "IOOptsGroup", "Input/Output Options", " ");
    QCheckBox* PromptOnOverwCheck = NewCheck(IOOptsGroup, "PromptOnOverwCheck", "Prompt before overwriting existing files",
                                             "Prompt to overwrite existing files");
    QCheckBox* SkipExistingCheck = NewCheck(IOOptsGroup, "SkipExistingCheck", "Skip existing files",
                                            "Do not overwrite existing files (no prompt)");

    QGroupBox* HTMLGenGroup = NewGroup(s, "HTMLGenGroup", "HTML Generation Options", " ");
    QLabel* lblInDir = NewLabel(HTMLGenGroup, "lblInDir", "Source Files Directory");
    TBrowseEdit* InputDirEdit = NewBrowseEdit(HTMLGenGroup, "InputDirEdit", "Default location for dump files");
    QLabel* lblDestDir = NewLabel(HTMLGenGroup, "lblDestDir", "Destination Directory ");
    TBrowseEdit* DestDirEdit = NewBrowseEdit(HTMLGenGroup, "DestDirEdit",
                                             "Directory where the generated HTML files will be stored");
    QLabel* lblImgDir = NewLabel(HTMLGenGroup, "lblImgDir", "HTML Images Directory");
    TBrowseEdit* DestImgEdit = NewBrowseEdit(HTMLGenGroup, "DestImgEdit",
                                             "Directory for storing images listed in the HTML files");

    BtnSaveOpts = NewButton(s, "BtnSaveOpts", "&Save options", "Save all changes to the current profile",
                            QStyle::SP_DialogSaveButton);
    QPushButton* BitBtn1 = NewButton(s, "BitBtn1", "S&ave as ...", "Save the current profile under a new name",
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

void TQtMainWindow::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    HintPanel = Named(new QLabel(bar), "HintPanel");
    QLabel* StatusCaptionPanel = Named(new QLabel(QStringLiteral("Status :"), bar), "StatusCaptionPanel");
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

} // namespace velmora
