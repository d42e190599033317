// The main window's construction: the adapters over its widgets, the window's
// logic made on them, and the forwarding of Qt's signals and events to the
// logic's handlers.
#include "window/qt/UQtMainWindow.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "window/qt/UBrowseEdit.h"
#include "window/qt/UQtAbout.h"
#include "window/qt/UQtControls.h"

namespace velmora {

namespace {

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

// The hint of a widget, or of its nearest parent inside the form that has one.
QString HintAt(const QWidget* form, const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (!w->statusTip().isEmpty())
            return w->statusTip();
        if (w == form)
            break;
    }
    return QString();
}

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

// An adapter of the given type over the widget, kept alive by owner; null
// when the widget is not of the type the adapter needs.
template <class TAdapter, class TWidget>
TAdapter* Adapt(QWidget* widget, std::vector<std::shared_ptr<void>>& owner)
{
    auto* typed = qobject_cast<TWidget*>(widget);
    if (!typed)
        return nullptr;
    auto adapter = std::make_shared<TAdapter>(typed);
    owner.push_back(adapter);
    return adapter.get();
}

} // namespace

struct TQtMainWindow::TAdapters {
    TQtWindowPlacement Window;
    TQtPageControl PageControl;
    TQtCommand ActAddToList, ActRemoveFromList, ActConvert, ActAddName, ActRemoveName, ActUpdateName, ActSaveOpts;
    TQtButton BtnAdd, BtnConvert, btnExit;
    TQtListView SrcFilesList;
    TQtListColumns SrcFilesColumns;
    TQtProgressBar ProgCurr, ProgTotal;
    TQtListBox NamesList;
    TQtLineText NameEdit, NameImgEdit;
    TQtMemoText CustFrontHTMLMemo, CustEndHTMLMemo;
    TQtColorSwatch ShowNameCol;
    TQtComboBox ColorCombo, ProfileListCombo;
    TQtLabelText HintPanel, StatePanel;
    // The option table's controls, each adapted as its kind says.
    std::vector<std::shared_ptr<void>> Options;
};

TQtMainWindow::TQtMainWindow(const TWindowServices& services, QWidget* parent)
    : QMainWindow(parent), FServices(services)
{
    setObjectName(QStringLiteral("HTMLform"));
    setWindowTitle(QStringLiteral("Velmora"));
    CreateActions();
    CreatePages();
    resize(InitialWidth, InitialHeight);
    setMinimumSize(MinimumWidth, MinimumHeight);

    FAdapters.reset(new TAdapters{
        .Window = TQtWindowPlacement(this),
        .PageControl = TQtPageControl(PageControl),
        .ActAddToList = TQtCommand(ActAddToList),
        .ActRemoveFromList = TQtCommand(ActRemoveFromList),
        .ActConvert = TQtCommand(ActConvert),
        .ActAddName = TQtCommand(ActAddName),
        .ActRemoveName = TQtCommand(ActRemoveName),
        .ActUpdateName = TQtCommand(ActUpdateName),
        .ActSaveOpts = TQtCommand(ActSaveOpts),
        .BtnAdd = TQtButton(BtnAdd),
        .BtnConvert = TQtButton(BtnConvert),
        .btnExit = TQtButton(btnExit),
        .SrcFilesList = TQtListView(SrcFilesList),
        .SrcFilesColumns = TQtListColumns(SrcFilesList),
        .ProgCurr = TQtProgressBar(ProgCurr),
        .ProgTotal = TQtProgressBar(ProgTotal),
        .NamesList = TQtListBox(NamesList),
        .NameEdit = TQtLineText(NameEdit),
        .NameImgEdit = TQtLineText(NameImgEdit),
        .CustFrontHTMLMemo = TQtMemoText(CustFrontHTMLMemo),
        .CustEndHTMLMemo = TQtMemoText(CustEndHTMLMemo),
        .ShowNameCol = TQtColorSwatch(ShowNameCol),
        .ColorCombo = TQtComboBox(ColorCombo),
        .ProfileListCombo = TQtComboBox(ProfileListCombo),
        .HintPanel = TQtLabelText(HintPanel),
        .StatePanel = TQtLabelText(StatePanel),
        .Options = {},
    });
    TFormControls controls = MakeControls();
    ForwardOptionControls(controls);
    FForm = std::make_unique<THTMLform>(FServices, controls);
    ForwardSignals();
    ForwardFileDrops();
    ForwardStatusHooks();
}

TQtMainWindow::~TQtMainWindow()
{
    // The logic goes first: its placement still reads the window, and it
    // releases the model. The widgets go while the window is whole, so that
    // events their destruction sets off (a control losing the focus) find it.
    FForm.reset();
    delete takeCentralWidget();
}

bool TQtMainWindow::FormCreate()
{
    return FForm->FormCreate();
}

TFormControls TQtMainWindow::MakeControls()
{
    TFormControls c = BindFormControls(*FAdapters);
    c.ShowAboutBox = [this](const std::string& iniFileName) { ShowAboutBox(iniFileName); };
    return c;
}

void TQtMainWindow::Forward(const std::function<void(THTMLform&)>& handler)
{
    if (FForm)
        FForm->Guarded([this, &handler] { handler(*FForm); });
}

// ---- Signals and events -------------------------------------------------------------

// Each row of the option table: its widget, found by the row's name, adapted
// as the row's kind says; an edit or click in it is an options change, and
// leaving it copies its page back.
void TQtMainWindow::ForwardOptionControls(TFormControls& controls)
{
    std::vector<std::shared_ptr<void>>& owner = FAdapters->Options;
    for (const TOptionControl& row : OptionControls()) {
        QWidget* widget = findChild<QWidget*>(QString::fromLatin1(row.Name));
        auto changed = [this, &row] { Forward([&row](THTMLform& form) { form.OptionsChanged(row); }); };
        TOptionControlRef adapter;
        switch (row.Kind) {
        case TOptionKind::Edit:
            adapter = static_cast<ITextControl*>(Adapt<TQtLineText, QLineEdit>(widget, owner));
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                connect(edit, &QLineEdit::textChanged, this, changed);
            break;
        case TOptionKind::Memo:
            adapter = static_cast<ITextControl*>(Adapt<TQtMemoText, QPlainTextEdit>(widget, owner));
            if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
                connect(memo, &QPlainTextEdit::textChanged, this, changed);
            break;
        case TOptionKind::Check:
            adapter = static_cast<ICheckControl*>(Adapt<TQtCheck, QCheckBox>(widget, owner));
            if (auto* box = qobject_cast<QCheckBox*>(widget))
                connect(box, &QCheckBox::toggled, this, changed);
            break;
        case TOptionKind::Choice:
            adapter = static_cast<IComboBox*>(Adapt<TQtComboBox, QComboBox>(widget, owner));
            // The user's choice only, not the program's.
            if (auto* combo = qobject_cast<QComboBox*>(widget))
                connect(combo, &QComboBox::activated, this, changed);
            break;
        case TOptionKind::Swatch:
            // Swatches never take the focus; the colour buttons change them.
            adapter = static_cast<IColorControl*>(Adapt<TQtColorSwatch, QFrame>(widget, owner));
            break;
        }
        controls.Options[row.Name] = adapter;
        if (widget && row.Kind != TOptionKind::Swatch)
            OnFocusOut(widget, [this, &row] { Forward([&row](THTMLform& form) { form.OptionControlExit(row); }); });
    }
}

void TQtMainWindow::ForwardSignals()
{
    using THandler = void (THTMLform::*)();
    const std::pair<QAction*, THandler> commands[] = {
        {ActAddToList, &THTMLform::ActAddToListExecute},    {ActRemoveFromList, &THTMLform::ActRemoveFromListExecute},
        {ActConvert, &THTMLform::ActConvertExecute},        {ActStopConvert, &THTMLform::ActStopConvertExecute},
        {ActAddName, &THTMLform::ActAddNameExecute},        {ActUpdateName, &THTMLform::ActUpdateNameExecute},
        {ActRemoveName, &THTMLform::ActRemoveNameExecute},  {ActSaveOpts, &THTMLform::ActSaveOptsExecute},
        {ActOpenProfile, &THTMLform::ActOpenProfileExecute}, {ActSaveNewOpts, &THTMLform::ActSaveNewOptsExecute},
        {ActClearMRU, &THTMLform::ActClearMRUExecute},      {ActAbout, &THTMLform::ActAboutExecute},
    };
    for (auto [action, handler] : commands)
        connect(action, &QAction::triggered, this, [this, handler] { Forward(handler); });

    // The convert button shows Convert's enabled state; what a click runs is the logic's choice.
    BtnConvert->setEnabled(ActConvert->isEnabled());
    connect(ActConvert, &QAction::changed, BtnConvert, [this] { BtnConvert->setEnabled(ActConvert->isEnabled()); });
    connect(BtnConvert, &QToolButton::clicked, this, [this] { Forward(&THTMLform::BtnConvertClick); });
    connect(btnExit, &QPushButton::clicked, this, &QWidget::close);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { Forward(&THTMLform::EscapeKey); });
    // Alt+S saves from every tab; the button's own mnemonic would only work on its tab.
    BtnSaveOpts->setShortcut(QKeySequence());
    auto* save = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_S), this);
    connect(save, &QShortcut::activated, this, [this] { Forward(&THTMLform::SaveShortcut); });
    // Window-wide, so that no control keeps Ctrl+Tab for itself (a drop-down
    // took it for its type-ahead search).
    for (bool backwards : {false, true}) {
        const QKeySequence keys = backwards ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab) : QKeySequence(Qt::CTRL | Qt::Key_Tab);
        auto* tabKey = new QShortcut(keys, this);
        connect(tabKey, &QShortcut::activated, this,
                [this, backwards] { Forward([backwards](THTMLform& form) { form.CtrlTabKey(backwards); }); });
    }

    for (TBrowseEdit* edit : findChildren<TBrowseEdit*>()) {
        connect(edit, &TBrowseEdit::BrowseRequested, this, [this, edit] {
            const std::string name = ToStdString(edit->objectName());
            Forward([&name](THTMLform& form) { form.BrowseClick(name); });
        });
    }
    // The colour buttons carry their selector as the property "tag".
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (!button->property("tag").isValid())
            continue;
        const int selector = button->property("tag").toInt();
        connect(button, &QPushButton::clicked, this,
                [this, selector] { Forward([selector](THTMLform& form) { form.ActPickColExecute(selector); }); });
    }
    // Only the user's choice switches profiles, not the list being refilled.
    connect(ProfileListCombo, &QComboBox::activated, this, [this] { Forward(&THTMLform::ProfileListComboChange); });

    // Each change of the selection reports the rows it selected and deselected;
    // selections come after deselections, so any selected row means the last
    // row that changed became selected.
    connect(SrcFilesList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection&) {
                const bool any = !selected.isEmpty();
                Forward([any](THTMLform& form) { form.SrcFilesListSelectItem(any); });
            });

    // A converted row opens its page on double-click or Return, and offers its
    // page and folder in a context menu.
    connect(SrcFilesList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int row = SrcFilesList->indexOfTopLevelItem(item);
        Forward([row](THTMLform& form) { form.OpenPage(row); });
    });
    SrcFilesList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SrcFilesList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = SrcFilesList->indexOfTopLevelItem(SrcFilesList->itemAt(at));
        if (!FForm || !FForm->CanOpenPage(row))
            return;
        auto* menu = new QMenu(this);
        menu->setObjectName("PageMenu");
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(QStringLiteral("Open page"), this, [this, row] { Forward([row](THTMLform& form) { form.OpenPage(row); }); });
        menu->addAction(QStringLiteral("Open folder"), this,
                        [this, row] { Forward([row](THTMLform& form) { form.OpenPageFolder(row); }); });
        menu->popup(SrcFilesList->viewport()->mapToGlobal(at));
    });

    // The program's own changes to the names list do not notify (the list
    // box adapter keeps them quiet), so these run for the user only.
    connect(NameEdit, &QLineEdit::textChanged, this, [this] { Forward(&THTMLform::NameEditChange); });
    connect(NamesList, &QListWidget::itemSelectionChanged, this, [this] { Forward(&THTMLform::NamesListClick); });
    connect(NamesList, &QListWidget::itemClicked, this, [this] { Forward(&THTMLform::NamesListClick); });
    OnEvent(NamesList, QEvent::KeyPress, [this](QEvent* event) {
        auto* key = static_cast<QKeyEvent*>(event);
        const std::string typed = ToStdString(key->text());
        const bool withCtrlOrAlt = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        Forward([&](THTMLform& form) { form.NamesListKeyPress(typed, withCtrlOrAlt); });
        return false;
    });
    connect(ColorCombo, &QComboBox::currentIndexChanged, this, [this] { Forward(&THTMLform::ColorComboChange); });
    connect(ColorCombo, &QComboBox::activated, this, [this] { Forward(&THTMLform::ColorComboChange); });
    OnEvent(ColorCombo, QEvent::KeyPress, [this](QEvent*) {
        Forward(&THTMLform::ColorComboKeyDown);
        return false;
    });

    OnEvent(this, QEvent::Show, [this](QEvent*) {
        Forward(&THTMLform::FormShow);
        return false;
    });
}

// Files dropped from a file manager join the list as the open dialog's do.
void TQtMainWindow::ForwardFileDrops()
{
    SrcFilesList->setAcceptDrops(true);
    SrcFilesList->viewport()->setAcceptDrops(true);
    auto acceptDrag = [this](QEvent* event) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (FForm && FForm->CanDropFiles() && !DraggedFiles(drag->mimeData()).empty())
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
        if (!FForm || !FForm->CanDropFiles() || files.empty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        Forward([&files](THTMLform& form) { form.FilesDropped(files); });
        return true;
    });
}

// The application's hint (the control under the mouse) and idle moments.
void TQtMainWindow::ForwardStatusHooks()
{
    qApp->installEventFilter(new THintWatcher(this, [this](QWidget* w) {
        const std::string hint = ToStdString(HintAt(this, w));
        Forward([&hint](THTMLform& form) { form.ApplicationHint(hint); });
    }));
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { Forward(&THTMLform::ApplicationIdle); });
}

bool TQtMainWindow::event(QEvent* event)
{
    // Hints go to the hint panel through the form's own watcher, never as
    // the status bar's temporary message that would cover the three panels.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void TQtMainWindow::ShowAboutBox(const std::string& iniFileName)
{
    TQtAboutBox box(FServices.OpenUrl, iniFileName, this);
    box.exec();
}

void TQtMainWindow::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    Forward([&mayClose](THTMLform& form) { mayClose = form.CloseQuery(); });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

} // namespace velmora
