// Fake controls and dialogs that record what the model gives them, so that
// model and window tests can check what a user would see without a display.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/UControls.h"
#include "platform/UDialogs.h"
#include "platform/URegistry.h"

namespace velmora::test {

// OnChange, when set, runs whenever the value changes, as a widget's change
// event does also for a value set by the program.
class FakeText : public ITextControl {
public:
    void SetText(const std::string& text) override
    {
        const bool changed = text != Text;
        Text = text;
        ++SetCount;
        if (changed && OnChange)
            OnChange();
    }
    std::string GetText() const override { return Text; }
    std::string Text;
    int SetCount = 0;
    std::function<void()> OnChange;
};

class FakeCheck : public ICheckControl {
public:
    void SetChecked(bool checked) override
    {
        const bool changed = checked != Checked;
        Checked = checked;
        ++SetCount;
        if (changed && OnChange)
            OnChange();
    }
    bool IsChecked() const override { return Checked; }
    void SetEnabled(bool enabled) override { Enabled = enabled; ++EnableCount; }
    bool IsEnabled() const override { return Enabled; }
    bool Checked = false;
    bool Enabled = true;
    int SetCount = 0;
    int EnableCount = 0;
    std::function<void()> OnChange;
};

class FakeColor : public IColorControl {
public:
    void SetColor(TColor color) override { Color = color; ++SetCount; }
    TColor GetColor() const override { return Color; }
    TColor Color = 0;
    int SetCount = 0;
};

class FakeCommand : public ICommand {
public:
    void SetEnabled(bool enabled) override { Enabled = enabled; ++SetCount; }
    bool IsEnabled() const override { return Enabled; }
    bool Enabled = false;
    int SetCount = 0;
};

template <class TInterface>
class BasicFakeListView : public TInterface {
public:
    struct Row {
        std::string Caption;
        std::vector<std::string> SubItems;
    };
    int RowCount() const override { return static_cast<int>(Rows.size()); }
    int SelectedCount() const override { return Selected; }
    void Clear() override { Rows.clear(); Selected = 0; }
    void AddRow(const std::string& caption) override { Rows.push_back({caption, {}}); }
    int SubItemCount(int row) const override { return static_cast<int>(Rows.at(row).SubItems.size()); }
    void AddSubItem(int row, const std::string& text) override { Rows.at(row).SubItems.push_back(text); }
    void SetFirstSubItem(int row, const std::string& text) override { Rows.at(row).SubItems.at(0) = text; }
    void BeginUpdate() override { ++UpdateDepth; ++UpdateBrackets; }
    void EndUpdate() override { --UpdateDepth; }

    // The status column of every row.
    std::vector<std::string> Statuses() const
    {
        std::vector<std::string> result;
        for (const Row& r : Rows)
            result.push_back(r.SubItems.empty() ? std::string() : r.SubItems[0]);
        return result;
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> result;
        for (const Row& r : Rows)
            result.push_back(r.Caption);
        return result;
    }

    std::vector<Row> Rows;
    int Selected = 0;
    int UpdateDepth = 0;
    int UpdateBrackets = 0;
};

using FakeListView = BasicFakeListView<IListView>;

// A list view whose selected rows the test sets.
class FakeSelectListView : public BasicFakeListView<ISelectListView> {
public:
    int SelectedCount() const override { return static_cast<int>(Selection.size()); }
    std::vector<int> SelectedRows() const override { return Selection; }
    void Clear() override
    {
        BasicFakeListView::Clear();
        Selection.clear();
    }
    std::vector<int> Selection;
};

// A button that records its caption, hint, picture and enabled state; OnFocus
// runs when it is given the keyboard focus.
class FakeButton : public IButton {
public:
    void SetCaption(const std::string& caption) override { CaptionText = caption; }
    std::string Caption() const override { return CaptionText; }
    void SetHint(const std::string& hint) override { HintText = hint; }
    std::string Hint() const override { return HintText; }
    void SetPicture(TButtonPicture picture) override { Picture = picture; }
    void SetEnabled(bool enabled) override { Enabled = enabled; }
    bool IsEnabled() const override { return Enabled; }
    void SetFocus() override
    {
        if (OnFocus)
            OnFocus();
    }
    bool IsPointedAt() const override { return PointedAt; }
    std::string CaptionText;
    std::string HintText;
    TButtonPicture Picture = TButtonPicture::Own;
    bool Enabled = true;
    bool PointedAt = false;
    std::function<void()> OnFocus;
};

class FakePageControl : public IPageControl {
public:
    int ActivePage() const override { return Active; }
    void SetActivePage(int page) override { Active = page; }
    void SetPageEnabled(int page, bool enabled) override { Enabled.at(static_cast<std::size_t>(page)) = enabled; }
    bool IsPageEnabled(int page) const override { return Enabled.at(static_cast<std::size_t>(page)); }
    int FocusedPage() const override { return Focused; }
    int Active = 0;
    std::vector<bool> Enabled = std::vector<bool>(5, true);
    int Focused = -1; // the page of the focused control, as the test puts the focus
};

// A window on a screen of 1024 x 768, with no frame unless the test gives it
// one; bounds set are taken as they are.
class FakeWindowPlacement : public IWindowPlacement {
public:
    TWindowBounds NormalBounds() const override { return Bounds; }
    void SetNormalBounds(const TWindowBounds& bounds) override { Bounds = bounds; }
    TWindowState State() const override { return WindowState; }
    void SetState(TWindowState state) override { WindowState = state; }
    bool IsVisible() const override { return Visible; }
    int ScreenWidth() const override { return 1024; }
    int ScreenHeight() const override { return 768; }
    int PixelsPerInch() const override { return 96; }
    std::vector<TWindowBounds> WorkAreas() const override { return Areas; }
    TFrameMargins FrameMargins() const override { return Margins; }
    TWindowBounds Bounds{10, 20, 602, 368};
    std::vector<TWindowBounds> Areas{{0, 0, 1024, 768}};
    TFrameMargins Margins;
    TWindowState WindowState = TWindowState::Normal;
    bool Visible = false;
};

class FakeListColumns : public IListColumns {
public:
    std::vector<TListColumn> Columns() const override { return List; }
    void SetColumns(const std::vector<TListColumn>& columns) override { List = columns; }
    std::vector<TListColumn> List = {{"File Name", 189, TAlignment::Left, false}, {"Status", 200, TAlignment::Center, true}};
};

class FakeListBox : public IListBox {
public:
    int Count() const override { return static_cast<int>(Items.size()); }
    int SelectedIndex() const override { return Selected; }
    void SetSelectedIndex(int index) override { Selected = (index >= 0 && index < Count()) ? index : -1; }
    void Clear() override { Items.clear(); Selected = -1; }
    void AddItem(const std::string& text) override { Items.push_back(text); }
    void BeginUpdate() override { ++UpdateDepth; }
    void EndUpdate() override { --UpdateDepth; }
    std::vector<std::string> Items;
    int Selected = -1;
    int UpdateDepth = 0;
};

class FakeComboBox : public IComboBox {
public:
    int Count() const override { return static_cast<int>(Items.size()); }
    void Clear() override { Items.clear(); Selected = -1; }
    void AddItem(const std::string& text) override { Items.push_back(text); }
    void SetSelectedIndex(int index) override { Selected = (index >= 0 && index < Count()) ? index : -1; }
    int SelectedIndex() const override { return Selected; }
    void SetEnabled(bool enabled) override { Enabled = enabled; }
    bool IsEnabled() const override { return Enabled; }
    void BeginUpdate() override { ++UpdateDepth; }
    void EndUpdate() override { --UpdateDepth; }
    std::vector<std::string> Items;
    int Selected = -1;
    bool Enabled = true;
    int UpdateDepth = 0;
};

class FakeProgressBar : public IProgressBar {
public:
    void SetMax(int max) override { MaxValue = max; }
    int Max() const override { return MaxValue; }
    void SetPosition(int position) override { PositionValue = position; }
    int Position() const override { return PositionValue; }
    void StepIt() override { ++PositionValue; ++Steps; }
    int MaxValue = 100;
    int PositionValue = 0;
    int Steps = 0;
};

// Message boxes that record every message and answer questions from a script.
class FakeMessageBoxes : public IMessageBoxes {
public:
    struct Message {
        std::string Caption;
        std::string Text;
        TMsgIcon Icon;
    };
    void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon) override
    {
        Messages.push_back({caption, text, icon});
    }
    bool AskYesNo(const std::string& caption, const std::string& text) override
    {
        return Next(YesNoAnswers, caption + "|" + text);
    }
    TYesNoCancel AskYesNoCancel(const std::string& caption, const std::string& text) override
    {
        return Next(YesNoCancelAnswers, caption + "|" + text);
    }
    TOverwriteAnswer AskOverwrite(const std::string& text) override { return Next(OverwriteAnswers, text); }
    std::vector<Message> Messages;
    std::vector<std::string> Questions;
    std::deque<bool> YesNoAnswers;
    std::deque<TYesNoCancel> YesNoCancelAnswers;
    std::deque<TOverwriteAnswer> OverwriteAnswers;

private:
    // The question is written down and answered with the next scripted answer.
    template <class T>
    T Next(std::deque<T>& answers, const std::string& question)
    {
        Questions.push_back(question);
        if (answers.empty())
            throw std::logic_error("unexpected question: " + question);
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A registry that holds given string values under given keys.
class FakeRegistry : public IRegistry {
public:
    TRegistryValue ReadString(const std::string& key, const std::string& name) const override
    {
        TRegistryValue result;
        auto k = Keys.find(key);
        if (k == Keys.end())
            return result;
        result.KeyOpened = true;
        auto v = k->second.find(name);
        if (v != k->second.end())
            result.Value = v->second;
        return result;
    }
    std::map<std::string, std::map<std::string, std::string>> Keys;
};

} // namespace velmora::test
