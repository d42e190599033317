// The window's widgets seen through the control interfaces the model drives:
// one small adapter per interface. Text crosses between std::string and
// QString only here, and colour values meet QColor only here.
#pragma once

#include <functional>
#include <string>

#include <QColor>
#include <QEvent>
#include <QIcon>
#include <QString>

#include "platform/UControls.h"

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace velmora {

// The program's 8-bit text (the system's narrow encoding) and Qt's text.
QString ToQString(const std::string& text);
std::string ToStdString(const QString& text);

// A colour value 0x00BBGGRR (system colours resolved) and QColor.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// A button bound to a command: it shows the command's enabled state and runs
// the command when clicked. The button keeps its own caption when it has one
// and takes the command's otherwise. Binding again replaces the old command.
void BindButton(QAbstractButton* button, QAction* action);

// Calls handler for every event of the given type that reaches widget; the
// event goes on to the widget unless the handler returns true.
void OnEvent(QWidget* widget, QEvent::Type type, std::function<bool(QEvent*)> handler);
// Calls handler whenever widget loses the keyboard focus.
void OnFocusOut(QWidget* widget, std::function<void()> handler);

// Suspends a widget's repainting between the outermost Begin and its End.
class TQtUpdateBracket {
public:
    void Begin(QWidget* widget);
    void End(QWidget* widget);

private:
    int FDepth = 0;
};

class TQtLineText : public ITextControl {
public:
    explicit TQtLineText(QLineEdit* edit) : FEdit(edit) {}
    void SetText(const std::string& text) override;
    std::string GetText() const override;

private:
    QLineEdit* FEdit; // not owned
};

// A memo: lines come back joined by CR LF, as profiles have always stored them.
class TQtMemoText : public ITextControl {
public:
    explicit TQtMemoText(QPlainTextEdit* memo) : FMemo(memo) {}
    void SetText(const std::string& text) override;
    std::string GetText() const override;

private:
    QPlainTextEdit* FMemo; // not owned
};

// A label whose text the logic sets or reads: a status bar panel, the About box's address.
class TQtLabelText : public ITextControl {
public:
    explicit TQtLabelText(QLabel* label) : FLabel(label) {}
    void SetText(const std::string& text) override;
    std::string GetText() const override;

private:
    QLabel* FLabel; // not owned
};

class TQtCheck : public ICheckControl {
public:
    explicit TQtCheck(QCheckBox* box) : FBox(box) {}
    void SetChecked(bool checked) override;
    bool IsChecked() const override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;

private:
    QCheckBox* FBox; // not owned
};

// A swatch: an opaque frame filled with its colour. The value given is kept
// as it is (a system colour stays negative) and only resolved for painting.
class TQtColorSwatch : public IColorControl {
public:
    explicit TQtColorSwatch(QFrame* swatch) : FSwatch(swatch) {}
    void SetColor(TColor color) override;
    TColor GetColor() const override;

private:
    QFrame* FSwatch; // not owned
};

class TQtCommand : public ICommand {
public:
    explicit TQtCommand(QAction* action) : FAction(action) {}
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;

private:
    QAction* FAction; // not owned
};

// A button: its caption, hint (the status tip), picture (its own, taken when
// the adapter is made, or the stop sign), enabled state and focus.
class TQtButton : public IButton {
public:
    explicit TQtButton(QAbstractButton* button);
    void SetCaption(const std::string& caption) override;
    std::string Caption() const override;
    void SetHint(const std::string& hint) override;
    std::string Hint() const override;
    void SetPicture(TButtonPicture picture) override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void SetFocus() override;
    bool IsPointedAt() const override;

private:
    QAbstractButton* FButton; // not owned
    QIcon FOwnIcon;
};

// The tabs of a tab widget; a page's enabled state is that of its sheet.
class TQtPageControl : public IPageControl {
public:
    explicit TQtPageControl(QTabWidget* tabs) : FTabs(tabs) {}
    int ActivePage() const override;
    void SetActivePage(int page) override;
    void SetPageEnabled(int page, bool enabled) override;
    bool IsPageEnabled(int page) const override;
    int FocusedPage() const override;

private:
    QTabWidget* FTabs; // not owned
};

// A two-column list: the row's caption in column 0, its sub-items after it.
class TQtListView : public ISelectListView {
public:
    explicit TQtListView(QTreeWidget* tree) : FTree(tree) {}
    std::vector<int> SelectedRows() const override;
    int RowCount() const override;
    int SelectedCount() const override;
    void Clear() override;
    void AddRow(const std::string& caption) override;
    int SubItemCount(int row) const override;
    void AddSubItem(int row, const std::string& text) override;
    void SetFirstSubItem(int row, const std::string& text) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    static void SetColumn(QTreeWidgetItem* item, int column, const std::string& text);
    QTreeWidget* FTree; // not owned
    TQtUpdateBracket FUpdates;
};

class TQtListBox : public IListBox {
public:
    explicit TQtListBox(QListWidget* list) : FList(list) {}
    int Count() const override;
    int SelectedIndex() const override;
    void SetSelectedIndex(int index) override;
    void Clear() override;
    void AddItem(const std::string& text) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    QListWidget* FList; // not owned
    TQtUpdateBracket FUpdates;
};

class TQtComboBox : public IComboBox {
public:
    explicit TQtComboBox(QComboBox* combo) : FCombo(combo) {}
    int Count() const override;
    void Clear() override;
    void AddItem(const std::string& text) override;
    void SetSelectedIndex(int index) override;
    int SelectedIndex() const override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    QComboBox* FCombo; // not owned
    TQtUpdateBracket FUpdates;
};

// A progress bar driven line by line: the adapter holds the exact position and
// range, and the widget follows whenever what it shows would move by half a
// percent, and at both ends at once. Repainting the bar for every line of a
// page took ten times as long as writing the page.
class TQtProgressBar : public IProgressBar {
public:
    explicit TQtProgressBar(QProgressBar* bar);
    void SetMax(int max) override;
    int Max() const override;
    void SetPosition(int position) override;
    int Position() const override;
    void StepIt() override;

private:
    void Show();

    QProgressBar* FBar; // not owned
    int FMax;
    int FPosition;
};

// A top-level widget's placement: its geometry (the client area), its state
// and its screen.
class TQtWindowPlacement : public IWindowPlacement {
public:
    explicit TQtWindowPlacement(QWidget* window) : FWindow(window) {}
    TWindowBounds NormalBounds() const override;
    void SetNormalBounds(const TWindowBounds& bounds) override;
    TWindowState State() const override;
    void SetState(TWindowState state) override;
    bool IsVisible() const override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
    int PixelsPerInch() const override;
    std::vector<TWindowBounds> WorkAreas() const override;
    TFrameMargins FrameMargins() const override;

private:
    QWidget* FWindow; // not owned
};

// The columns of a tree widget shown as a list: header captions and
// alignments, widths, and the last section stretched when auto-sized.
class TQtListColumns : public IListColumns {
public:
    explicit TQtListColumns(QTreeWidget* tree) : FTree(tree) {}
    std::vector<TListColumn> Columns() const override;
    void SetColumns(const std::vector<TListColumn>& columns) override;

private:
    QTreeWidget* FTree; // not owned
};

} // namespace velmora
