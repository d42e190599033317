#include "window/qt/UQtControls.h"

#include <algorithm>
#include <cstdlib>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>

#include "platform/USystemColors.h"

namespace velmora {

QString ToQString(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStdString(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

QColor ToQColor(TColor color)
{
    TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color)
{
    return static_cast<TColor>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

namespace {

// Runs a function for one type of event of one widget.
class TEventHook : public QObject {
public:
    TEventHook(QWidget* widget, QEvent::Type type, std::function<bool(QEvent*)> handler)
        : QObject(widget), FType(type), FHandler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == FType && FHandler(event); }

private:
    QEvent::Type FType;
    std::function<bool(QEvent*)> FHandler;
};

const char* const BoundActionProperty = "velmoraBoundAction";

} // namespace

void OnEvent(QWidget* widget, QEvent::Type type, std::function<bool(QEvent*)> handler)
{
    new TEventHook(widget, type, std::move(handler));
}

void OnFocusOut(QWidget* widget, std::function<void()> handler)
{
    OnEvent(widget, QEvent::FocusOut, [handler = std::move(handler)](QEvent*) {
        handler();
        return false;
    });
}

void BindButton(QAbstractButton* button, QAction* action)
{
    if (auto* old = button->property(BoundActionProperty).value<QAction*>()) {
        QObject::disconnect(old, nullptr, button, nullptr);
        QObject::disconnect(button, nullptr, old, nullptr);
    }
    button->setProperty(BoundActionProperty, QVariant::fromValue(action));
    if (button->text().isEmpty())
        button->setText(action->text());
    button->setEnabled(action->isEnabled());
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

void TQtUpdateBracket::Begin(QWidget* widget)
{
    if (FDepth++ == 0)
        widget->setUpdatesEnabled(false);
}

void TQtUpdateBracket::End(QWidget* widget)
{
    if (FDepth > 0 && --FDepth == 0)
        widget->setUpdatesEnabled(true);
}

// ---- Text ----------------------------------------------------------------

void TQtLineText::SetText(const std::string& text)
{
    // Setting the same text again would move the cursor of a field being typed in.
    QString q = ToQString(text);
    if (FEdit->text() != q)
        FEdit->setText(q);
}

std::string TQtLineText::GetText() const
{
    return ToStdString(FEdit->text());
}

void TQtMemoText::SetText(const std::string& text)
{
    QString q = ToQString(text);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (FMemo->toPlainText() != q)
        FMemo->setPlainText(q);
}

std::string TQtMemoText::GetText() const
{
    QString q = FMemo->toPlainText();
    q.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToStdString(q);
}

void TQtLabelText::SetText(const std::string& text)
{
    QString q = ToQString(text);
    if (FLabel->text() != q)
        FLabel->setText(q);
}

std::string TQtLabelText::GetText() const
{
    return ToStdString(FLabel->text());
}

// ---- Check box, swatch, command -----------------------------------------

void TQtCheck::SetChecked(bool checked) { FBox->setChecked(checked); }
bool TQtCheck::IsChecked() const { return FBox->isChecked(); }
void TQtCheck::SetEnabled(bool enabled) { FBox->setEnabled(enabled); }
bool TQtCheck::IsEnabled() const { return FBox->isEnabled(); }

namespace {
const char* const SwatchColorProperty = "velmoraColor";
}

void TQtColorSwatch::SetColor(TColor color)
{
    FSwatch->setProperty(SwatchColorProperty, color);
    QPalette palette = FSwatch->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    FSwatch->setPalette(palette);
    FSwatch->setAutoFillBackground(true);
}

TColor TQtColorSwatch::GetColor() const
{
    QVariant value = FSwatch->property(SwatchColorProperty);
    return value.isValid() ? static_cast<TColor>(value.toInt()) : FromQColor(FSwatch->palette().color(QPalette::Window));
}

void TQtCommand::SetEnabled(bool enabled) { FAction->setEnabled(enabled); }
bool TQtCommand::IsEnabled() const { return FAction->isEnabled(); }

// ---- Button and tabs -------------------------------------------------------

TQtButton::TQtButton(QAbstractButton* button) : FButton(button), FOwnIcon(button->icon()) {}

void TQtButton::SetCaption(const std::string& caption) { FButton->setText(ToQString(caption)); }
std::string TQtButton::Caption() const { return ToStdString(FButton->text()); }
void TQtButton::SetHint(const std::string& hint) { FButton->setStatusTip(ToQString(hint)); }
std::string TQtButton::Hint() const { return ToStdString(FButton->statusTip()); }

void TQtButton::SetPicture(TButtonPicture picture)
{
    FButton->setIcon(picture == TButtonPicture::Stop ? FButton->style()->standardIcon(QStyle::SP_MediaStop) : FOwnIcon);
}

void TQtButton::SetEnabled(bool enabled) { FButton->setEnabled(enabled); }
bool TQtButton::IsEnabled() const { return FButton->isEnabled(); }
void TQtButton::SetFocus() { FButton->setFocus(); }
bool TQtButton::IsPointedAt() const { return FButton->underMouse(); }

int TQtPageControl::ActivePage() const { return FTabs->currentIndex(); }
void TQtPageControl::SetActivePage(int page) { FTabs->setCurrentIndex(page); }

void TQtPageControl::SetPageEnabled(int page, bool enabled)
{
    if (QWidget* sheet = FTabs->widget(page))
        sheet->setEnabled(enabled);
}

bool TQtPageControl::IsPageEnabled(int page) const
{
    QWidget* sheet = FTabs->widget(page);
    return sheet && sheet->isEnabled();
}

int TQtPageControl::FocusedPage() const
{
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused->window() != FTabs->window())
        return -1;
    for (int page = 0; page < FTabs->count(); ++page)
        if (FTabs->widget(page)->isAncestorOf(focused))
            return page;
    return -1;
}

// ---- List view ---------------------------------------------------------------

std::vector<int> TQtListView::SelectedRows() const
{
    std::vector<int> rows;
    for (QTreeWidgetItem* item : FTree->selectedItems())
        rows.push_back(FTree->indexOfTopLevelItem(item));
    return rows;
}


int TQtListView::RowCount() const { return FTree->topLevelItemCount(); }
int TQtListView::SelectedCount() const { return static_cast<int>(FTree->selectedItems().size()); }
void TQtListView::Clear() { FTree->clear(); }

// Long paths and statuses show whole in the row's tooltips.
void TQtListView::AddRow(const std::string& caption)
{
    auto* item = new QTreeWidgetItem(FTree, QStringList{ToQString(caption)});
    item->setToolTip(0, item->text(0));
}

int TQtListView::SubItemCount(int row) const
{
    QTreeWidgetItem* item = FTree->topLevelItem(row);
    return item ? std::max(0, item->columnCount() - 1) : 0;
}

void TQtListView::AddSubItem(int row, const std::string& text)
{
    if (QTreeWidgetItem* item = FTree->topLevelItem(row))
        SetColumn(item, std::max(1, item->columnCount()), text);
}

void TQtListView::SetFirstSubItem(int row, const std::string& text)
{
    if (QTreeWidgetItem* item = FTree->topLevelItem(row))
        SetColumn(item, 1, text);
}

// A sub-item centred under its centred header, its whole text in its tooltip.
void TQtListView::SetColumn(QTreeWidgetItem* item, int column, const std::string& text)
{
    item->setText(column, ToQString(text));
    item->setToolTip(column, item->text(column));
    item->setTextAlignment(column, Qt::AlignHCenter | Qt::AlignVCenter);
}

void TQtListView::BeginUpdate() { FUpdates.Begin(FTree); }
void TQtListView::EndUpdate() { FUpdates.End(FTree); }

// ---- List box and combo box --------------------------------------------------

int TQtListBox::Count() const { return FList->count(); }
int TQtListBox::SelectedIndex() const { return FList->currentItem() && FList->currentItem()->isSelected() ? FList->currentRow() : -1; }

// The program's own changes to the list do not notify its handlers: they are
// for the user's clicks and keys, which show the selected entry.
void TQtListBox::SetSelectedIndex(int index)
{
    QSignalBlocker quiet(FList);
    if (index >= 0 && index < FList->count()) {
        FList->setCurrentRow(index);
    } else {
        FList->clearSelection();
        FList->setCurrentRow(-1);
    }
}

void TQtListBox::Clear()
{
    QSignalBlocker quiet(FList);
    FList->clear();
}

void TQtListBox::AddItem(const std::string& text)
{
    QSignalBlocker quiet(FList);
    FList->addItem(ToQString(text));
}

void TQtListBox::BeginUpdate() { FUpdates.Begin(FList); }
void TQtListBox::EndUpdate() { FUpdates.End(FList); }

int TQtComboBox::Count() const { return FCombo->count(); }
void TQtComboBox::Clear() { FCombo->clear(); }
void TQtComboBox::AddItem(const std::string& text) { FCombo->addItem(ToQString(text)); }

void TQtComboBox::SetSelectedIndex(int index)
{
    FCombo->setCurrentIndex(index >= 0 && index < FCombo->count() ? index : -1);
}

int TQtComboBox::SelectedIndex() const { return FCombo->currentIndex(); }
void TQtComboBox::SetEnabled(bool enabled) { FCombo->setEnabled(enabled); }
bool TQtComboBox::IsEnabled() const { return FCombo->isEnabled(); }

void TQtComboBox::BeginUpdate() { FUpdates.Begin(FCombo); }
void TQtComboBox::EndUpdate() { FUpdates.End(FCombo); }

// ---- Progress bar ----------------------------------------------------------

TQtProgressBar::TQtProgressBar(QProgressBar* bar) : FBar(bar), FMax(bar->maximum()), FPosition(bar->value()) {}

void TQtProgressBar::SetMax(int max)
{
    FMax = std::max(FBar->minimum(), max);
    FPosition = std::min(FPosition, FMax);
    Show();
}

int TQtProgressBar::Max() const { return FMax; }

void TQtProgressBar::SetPosition(int position)
{
    // A position outside the range shows as its nearest end instead of being ignored.
    FPosition = std::clamp(position, FBar->minimum(), FMax);
    Show();
}

int TQtProgressBar::Position() const { return FPosition; }
void TQtProgressBar::StepIt() { SetPosition(FPosition + 1); }

void TQtProgressBar::Show()
{
    const int min = FBar->minimum();
    const bool atEnd = FPosition == min || FPosition == FMax;
    // Shown and exact fractions of the bar, compared without division.
    const long long shownSpan = std::max(1, FBar->maximum() - min);
    const long long span = std::max(1, FMax - min);
    const long long apart = std::llabs((FPosition - min) * shownSpan - (FBar->value() - min) * span);
    if (!atEnd && apart * 200 < span * shownSpan)
        return;
    if (FBar->maximum() != FMax)
        FBar->setMaximum(FMax);
    FBar->setValue(FPosition);
}

// ---- Window placement and list columns --------------------------------------

namespace {

QScreen* ScreenOf(const QWidget* window)
{
    QScreen* screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

TWindowBounds TQtWindowPlacement::NormalBounds() const
{
    QRect normal = FWindow->isMaximized() || FWindow->isMinimized() ? FWindow->normalGeometry() : FWindow->geometry();
    if (!normal.isValid())
        normal = FWindow->geometry();
    return {normal.left(), normal.top(), normal.width(), normal.height()};
}

void TQtWindowPlacement::SetNormalBounds(const TWindowBounds& bounds)
{
    // Positions are those of the client area, as geometry() gives them (move()
    // would place the frame there and shift the window by its title bar).
    FWindow->setGeometry(bounds.Left, bounds.Top, std::max(bounds.Width, FWindow->minimumWidth()),
                         std::max(bounds.Height, FWindow->minimumHeight()));
}

TWindowState TQtWindowPlacement::State() const
{
    if (FWindow->isMinimized())
        return TWindowState::Minimized;
    return FWindow->isMaximized() ? TWindowState::Maximized : TWindowState::Normal;
}

void TQtWindowPlacement::SetState(TWindowState state)
{
    switch (state) {
    case TWindowState::Minimized: FWindow->setWindowState(Qt::WindowMinimized); break;
    case TWindowState::Maximized: FWindow->setWindowState(Qt::WindowMaximized); break;
    case TWindowState::Normal: FWindow->setWindowState(Qt::WindowNoState); break;
    }
}

bool TQtWindowPlacement::IsVisible() const { return FWindow->isVisible(); }

int TQtWindowPlacement::ScreenWidth() const
{
    QScreen* screen = ScreenOf(FWindow);
    return screen ? screen->geometry().width() : -1;
}

int TQtWindowPlacement::ScreenHeight() const
{
    QScreen* screen = ScreenOf(FWindow);
    return screen ? screen->geometry().height() : -1;
}

int TQtWindowPlacement::PixelsPerInch() const
{
    QScreen* screen = ScreenOf(FWindow);
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

std::vector<TWindowBounds> TQtWindowPlacement::WorkAreas() const
{
    std::vector<TWindowBounds> areas;
    QScreen* own = ScreenOf(FWindow);
    QList<QScreen*> screens = QGuiApplication::screens();
    std::stable_partition(screens.begin(), screens.end(), [own](QScreen* screen) { return screen == own; });
    for (QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.left(), area.top(), area.width(), area.height()});
    }
    return areas;
}

TFrameMargins TQtWindowPlacement::FrameMargins() const
{
    const QRect frame = FWindow->frameGeometry(), client = FWindow->geometry();
    if (frame != client)
        return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                frame.bottom() - client.bottom()};
    // Not framed yet (the window manager frames a window once it is shown):
    // a title bar of the style's height and a thin border, as most draw it.
    if (FWindow->windowFlags().testFlag(Qt::FramelessWindowHint) || !QGuiApplication::platformName().contains("xcb"))
        return {};
    const int border = FWindow->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int title = FWindow->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return {border, title + border, border, border};
}

namespace {

TAlignment ToAlignment(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return TAlignment::Center;
    if (alignment & Qt::AlignRight)
        return TAlignment::Right;
    return TAlignment::Left;
}

Qt::Alignment ToQtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case TAlignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case TAlignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

std::vector<TListColumn> TQtListColumns::Columns() const
{
    std::vector<TListColumn> columns;
    const int count = FTree->columnCount();
    for (int i = 0; i < count; ++i)
        columns.push_back({ToStdString(FTree->headerItem()->text(i)), FTree->columnWidth(i),
                           ToAlignment(Qt::Alignment(FTree->headerItem()->textAlignment(i))),
                           i == count - 1 && FTree->header()->stretchLastSection()});
    return columns;
}

void TQtListColumns::SetColumns(const std::vector<TListColumn>& columns)
{
    const int count = static_cast<int>(columns.size());
    if (count == 0)
        return;
    if (count != FTree->columnCount())
        FTree->setColumnCount(count);
    QTreeWidgetItem* header = FTree->headerItem();
    for (int i = 0; i < count; ++i) {
        const TListColumn& column = columns[static_cast<std::size_t>(i)];
        if (ToAlignment(Qt::Alignment(header->textAlignment(i))) != column.Alignment)
            header->setTextAlignment(i, ToQtAlignment(column.Alignment));
        if (header->text(i) != ToQString(column.Caption))
            header->setText(i, ToQString(column.Caption));
    }
    FTree->header()->setStretchLastSection(columns.back().AutoSize);
    for (int i = 0; i < count; ++i) {
        const TListColumn& column = columns[static_cast<std::size_t>(i)];
        if (column.Width > 0 && !(i == count - 1 && column.AutoSize))
            FTree->setColumnWidth(i, column.Width);
    }
}

} // namespace velmora
