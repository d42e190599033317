// The main window's widgets: its commands, the five tabs with their controls
// and layouts (captions and hints from the window's table of texts), and the
// status bar. Every control gets the name the window's logic and the tests
// know it by; the option controls are found again by the names of the option
// table.
#include <iterator>
#include <span>
#include <utility>

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

#include "window/UControlTexts.h"
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

// The same for a control with texts: its name and its hint from them.
template <class W>
W* Named(W* widget, const TControlText& texts)
{
    return Named(widget, texts.Name, texts.Hint);
}

QString CaptionOf(const TControlText& texts)
{
    return QString::fromLatin1(texts.Caption);
}

QLabel* NewLabel(QWidget* parent, const TControlText& texts)
{
    return Named(new QLabel(CaptionOf(texts), parent), texts);
}

QGroupBox* NewGroup(QWidget* parent, const TControlText& texts)
{
    return Named(new QGroupBox(CaptionOf(texts), parent), texts);
}

QPushButton* NewButton(QWidget* parent, const TControlText& texts, QStyle::StandardPixmap picture)
{
    auto* button = Named(new QPushButton(CaptionOf(texts), parent), texts);
    button->setIcon(parent->style()->standardIcon(picture));
    return button;
}

// An opaque swatch framed by a bevel.
QFrame* NewSwatch(QWidget* parent, const TControlText& texts)
{
    auto* swatch = Named(new QFrame(parent), texts);
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setLineWidth(2);
    swatch->setFixedSize(40, 22);
    TQtColorSwatch(swatch).SetColor(THTMLform::UnloadedSwatchColor);
    return swatch;
}

QPlainTextEdit* NewMemo(QWidget* parent, const TControlText& texts)
{
    auto* memo = Named(new QPlainTextEdit(parent), texts);
    memo->setTabChangesFocus(true);
    return memo;
}

QCheckBox* NewCheck(QWidget* parent, const TControlText& texts)
{
    return Named(new QCheckBox(CaptionOf(texts), parent), texts);
}

QComboBox* NewChoice(QWidget* parent, const TControlText& texts, std::span<const char* const> choices)
{
    auto* list = Named(new QComboBox(parent), texts);
    for (const char* choice : choices)
        list->addItem(QString::fromLatin1(choice));
    return list;
}

// A field with a browse button for a file or a folder, as the logic's browse table says.
TBrowseEdit* NewBrowseEdit(QWidget* parent, const TControlText& texts)
{
    bool folder = false;
    for (const TBrowseField& field : THTMLform::BrowseFields())
        if (std::string_view(field.Name) == texts.Name)
            folder = field.Folder;
    return Named(new TBrowseEdit(folder ? TBrowseEdit::TKind::Folder : TBrowseEdit::TKind::File, parent), texts);
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
    const std::pair<QWidget*, QIcon> tabs[] = {
        {CreateConvertSheet(), style()->standardIcon(QStyle::SP_FileDialogDetailedView)},
        {CreateHighlightSheet(), style()->standardIcon(QStyle::SP_DialogApplyButton)},
        {CreateColorProfileSheet(), PaletteIcon()},
        {CreatePageStyleSheet(), style()->standardIcon(QStyle::SP_FileDialogContentsView)},
        {CreateConfigSheet(), style()->standardIcon(QStyle::SP_FileDialogInfoView)}};
    static_assert(std::size(tabs) == std::size(SheetTexts));
    for (std::size_t i = 0; i < std::size(tabs); ++i)
        PageControl->addTab(tabs[i].first, tabs[i].second, QString::fromLatin1(SheetTexts[i].Caption));
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
    QLabel* lblSourcefiles = NewLabel(s, Texts("lblSourcefiles"));
    BtnAdd = NewButton(s, Texts("BtnAdd"), QStyle::SP_FileDialogNewFolder);
    SrcFilesList = Named(new QTreeWidget(s), Texts("SrcFilesList"));
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
    QPushButton* btnRemove = NewButton(s, Texts("btnRemove"), QStyle::SP_TrashIcon);
    BtnConvert = Named(new QToolButton(s), Texts("BtnConvert"));
    BtnConvert->setText(CaptionOf(Texts("BtnConvert")));
    BtnConvert->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    BtnConvert->setIconSize(QSize(32, 32));
    BtnConvert->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    BtnConvert->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    BtnConvert->setMinimumHeight(60);
    QGroupBox* BtnGroup = NewGroup(s, Texts("BtnGroup"));
    QPushButton* BtnAbout = NewButton(BtnGroup, Texts("BtnAbout"), QStyle::SP_MessageBoxInformation);
    btnExit = NewButton(BtnGroup, Texts("btnExit"), QStyle::SP_DialogCloseButton);
    QGroupBox* ProgressGroup = NewGroup(s, Texts("ProgressGroup"));
    QLabel* lblcurrProgress = NewLabel(ProgressGroup, Texts("lblcurrProgress"));
    ProgCurr = Named(new QProgressBar(ProgressGroup), Texts("ProgCurr"));
    QLabel* lblTotProgress = NewLabel(ProgressGroup, Texts("lblTotProgress"));
    ProgTotal = Named(new QProgressBar(ProgressGroup), Texts("ProgTotal"));
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
    QLabel* lblNames = NewLabel(s, Texts("lblNames"));
    QLabel* lnlEditNameText = NewLabel(s, Texts("lnlEditNameText"));
    NameEdit = Named(new QLineEdit(s), Texts("NameEdit"));
    QGroupBox* CustHtmlGroup = NewGroup(s, Texts("CustHtmlGroup"));
    CustFrontHTMLMemo = NewMemo(CustHtmlGroup, Texts("CustFrontHTMLMemo"));
    CustEndHTMLMemo = NewMemo(CustHtmlGroup, Texts("CustEndHTMLMemo"));
    QLabel* lblNameImg = NewLabel(s, Texts("lblNameImg"));
    NameImgEdit = NewBrowseEdit(s, Texts("NameImgEdit"));
    QGroupBox* ColorGroup = NewGroup(s, Texts("ColorGroup"));
    ShowNameCol = NewSwatch(ColorGroup, Texts("ShowNameCol"));
    auto* BtnCustom = Named(new QPushButton(ColorGroup), Texts("BtnCustom"));
    BtnCustom->setIcon(PaletteIcon());
    BtnCustom->setProperty("tag", 0);
    ColorCombo = Named(new QComboBox(ColorGroup), Texts("ColorCombo"));
    ColorCombo->setIconSize(QSize(44, 12));
    for (TColor color : THTMLform::BasicColors)
        ColorCombo->addItem(SwatchIcon(color, QSize(44, 12)), QString(), color);
    ColorCombo->setCurrentIndex(0);
    QPushButton* BtnAddName = NewButton(s, Texts("BtnAddName"), QStyle::SP_FileDialogNewFolder);
    NamesList = Named(new QListWidget(s), Texts("NamesList"));
    QPushButton* BtnRemoveName = NewButton(s, Texts("BtnRemoveName"), QStyle::SP_TrashIcon);
    QPushButton* BtnUpdate = NewButton(s, Texts("BtnUpdate"), QStyle::SP_BrowserReload);
    BindButton(BtnAddName, ActAddName);
    BindButton(BtnRemoveName, ActRemoveName);
    BindButton(BtnUpdate, ActUpdateName);

    auto* html = new QVBoxLayout(CustHtmlGroup);
    html->setContentsMargins(6, 4, 6, 6);
    html->addWidget(NewLabel(CustHtmlGroup, Texts("lblCustFront")));
    html->addWidget(CustFrontHTMLMemo, 1);
    html->addWidget(NewLabel(CustHtmlGroup, Texts("lblCustEnd")));
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
    QLabel* lblTitle = NewLabel(s, Texts("lblTitle"));
    auto* TitleEdit = Named(new QLineEdit(s), Texts("TitleEdit"));
    QLabel* lblAuth = NewLabel(s, Texts("lblAuth"));
    auto* AuthEdit = Named(new QLineEdit(s), Texts("AuthEdit"));

    // How the text of the dump reaches the page; stored with the general options.
    QGroupBox* DumpTextGroup = NewGroup(s, Texts("DumpTextGroup"));
    QCheckBox* EscapeTextCheck = NewCheck(DumpTextGroup, Texts("EscapeTextCheck"));
    QLabel* lblColorCodes = NewLabel(DumpTextGroup, Texts("lblColorCodes"));
    QComboBox* ColorCodesCombo = NewChoice(DumpTextGroup, Texts("ColorCodesCombo"), ColorCodesChoices);
    // Under the title and author, in two rows, so that the frames at the right
    // keep their room at the window's smallest size.
    auto* dumpText = new QGridLayout(DumpTextGroup);
    dumpText->setContentsMargins(8, 4, 8, 6);
    dumpText->setVerticalSpacing(3);
    dumpText->addWidget(EscapeTextCheck, 0, 0, 1, 2);
    dumpText->addWidget(lblColorCodes, 1, 0);
    dumpText->addWidget(ColorCodesCombo, 1, 1);
    dumpText->setColumnStretch(2, 1);

    QGroupBox* HTMLColGroup = NewGroup(s, Texts("HTMLColGroup"));
    auto* colors = new QGridLayout(HTMLColGroup);
    colors->setContentsMargins(8, 4, 8, 6);
    colors->setVerticalSpacing(4);
    for (int i = 0; i < 4; ++i) {
        const TColorRow& row = PageColorRows[i];
        QFrame* swatch = NewSwatch(HTMLColGroup, *row.Swatch);
        QLabel* caption = NewLabel(HTMLColGroup, *row.Label);
        auto* button = Named(new QPushButton(HTMLColGroup), *row.Button);
        button->setIcon(PaletteIcon());
        button->setFixedSize(26, 22);
        button->setProperty("tag", i + 1);
        colors->addWidget(swatch, i, 0);
        colors->addWidget(caption, i, 1);
        colors->addWidget(button, i, 2);
    }
    colors->setColumnStretch(1, 1);

    QLabel* lblCustomHTML = NewLabel(s, Texts("lblCustomHTML"));
    QPlainTextEdit* FrontPageHTMLMemo = NewMemo(s, Texts("FrontPageHTMLMemo"));
    QPlainTextEdit* EndPageHTMLMemo = NewMemo(s, Texts("EndPageHTMLMemo"));
    EndPageHTMLMemo->setFixedHeight(44);
    QGroupBox* HTMLIMGGroup = NewGroup(s, Texts("HTMLIMGGroup"));
    QLabel* lblImgFile = NewLabel(HTMLIMGGroup, Texts("lblImgFile"));
    TBrowseEdit* BackImageEdit = NewBrowseEdit(HTMLIMGGroup, Texts("BackImageEdit"));
    QCheckBox* RelImgCheck = NewCheck(HTMLIMGGroup, Texts("RelImgCheck"));
    QCheckBox* BrokenLinesCheck = NewCheck(HTMLIMGGroup, Texts("BrokenLinesCheck"));

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
    QLabel* lblPageStyle = NewLabel(s, Texts("lblPageStyle"));
    QComboBox* PageStyleCombo = NewChoice(s, Texts("PageStyleCombo"), PageStyleChoices);
    lblPageStyle->setBuddy(PageStyleCombo);

    // What only a modern page has; the window's logic enables it while the style is Modern.
    QGroupBox* ModernGroup = NewGroup(s, Texts("ModernGroup"));
    QLabel* lblKeepLines = NewLabel(ModernGroup, Texts("lblKeepLines"));
    QComboBox* KeepLinesCombo = NewChoice(ModernGroup, Texts("KeepLinesCombo"), KeepLinesChoices);
    lblKeepLines->setBuddy(KeepLinesCombo);
    // The caption greys with its list.
    OnEvent(KeepLinesCombo, QEvent::EnabledChange, [lblKeepLines, KeepLinesCombo](QEvent*) {
        lblKeepLines->setEnabled(KeepLinesCombo->isEnabled());
        return false;
    });
    QCheckBox* WriteIndexCheck = NewCheck(ModernGroup, Texts("WriteIndexCheck"));
    QCheckBox* PlayerStatsCheck = NewCheck(ModernGroup, Texts("PlayerStatsCheck"));

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
    QGroupBox* AppOptsGroup = NewGroup(s, Texts("AppOptsGroup"));
    QLabel* lblCurrProfile = NewLabel(AppOptsGroup, Texts("lblCurrProfile"));
    ProfileListCombo = Named(new QComboBox(AppOptsGroup), Texts("ProfileListCombo"));
    ProfileListCombo->setEditable(false);
    ProfileListCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ProfileListCombo->setMinimumContentsLength(20);
    auto* BtnLoadProfile = Named(new QPushButton(AppOptsGroup), Texts("BtnLoadProfile"));
    BtnLoadProfile->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    BtnLoadProfile->setFixedSize(28, 24);
    QCheckBox* INIDefsCheck = NewCheck(AppOptsGroup, Texts("INIDefsCheck"));
    QCheckBox* CaseSensCheck = NewCheck(AppOptsGroup, Texts("CaseSensCheck"));
    auto* BtnClearMRU = Named(new QPushButton(AppOptsGroup), Texts("BtnClearMRU"));

    QGroupBox* IOOptsGroup = NewGroup(s, Texts("IOOptsGroup"));
    QCheckBox* PromptOnOverwCheck = NewCheck(IOOptsGroup, Texts("PromptOnOverwCheck"));
    QCheckBox* SkipExistingCheck = NewCheck(IOOptsGroup, Texts("SkipExistingCheck"));

    QGroupBox* HTMLGenGroup = NewGroup(s, Texts("HTMLGenGroup"));
    QLabel* lblInDir = NewLabel(HTMLGenGroup, Texts("lblInDir"));
    TBrowseEdit* InputDirEdit = NewBrowseEdit(HTMLGenGroup, Texts("InputDirEdit"));
    QLabel* lblDestDir = NewLabel(HTMLGenGroup, Texts("lblDestDir"));
    TBrowseEdit* DestDirEdit = NewBrowseEdit(HTMLGenGroup, Texts("DestDirEdit"));
    QLabel* lblImgDir = NewLabel(HTMLGenGroup, Texts("lblImgDir"));
    TBrowseEdit* DestImgEdit = NewBrowseEdit(HTMLGenGroup, Texts("DestImgEdit"));

    BtnSaveOpts = NewButton(s, Texts("BtnSaveOpts"), QStyle::SP_DialogSaveButton);
    QPushButton* BitBtn1 = NewButton(s, Texts("BitBtn1"), QStyle::SP_DriveFDIcon);
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
