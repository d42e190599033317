// The controls that the model drives. The window implements these as thin
// adapters over its widgets; tests implement them as recording fakes. A null
// pointer to a control means "no control bound" and is never touched.
#pragma once

#include <string>

#include "shared/UGenDeclarations.h"

namespace velmora {

// An edit, memo, file-name field or directory field.
class ITextControl {
public:
    virtual ~ITextControl() = default;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string GetText() const = 0;
};

class ICheckControl {
public:
    virtual ~ICheckControl() = default;
    virtual void SetChecked(bool checked) = 0;
    virtual bool IsChecked() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
};

// A colour swatch.
class IColorControl {
public:
    virtual ~IColorControl() = default;
    virtual void SetColor(TColor color) = 0;
    virtual TColor GetColor() const = 0;
};

// A named command (a button or menu action) with its enabled state.
class ICommand {
public:
    virtual ~ICommand() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
};

// A report-style list: each row has a caption and sub-items (the status column).
class IListView {
public:
    virtual ~IListView() = default;
    virtual int RowCount() const = 0;
    virtual int SelectedCount() const = 0;
    virtual void Clear() = 0;
    virtual void AddRow(const std::string& caption) = 0;
    virtual int SubItemCount(int row) const = 0;
    virtual void AddSubItem(int row, const std::string& text) = 0;
    virtual void SetFirstSubItem(int row, const std::string& text) = 0;
    // Repainting is suspended between BeginUpdate and EndUpdate.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

class IListBox {
public:
    virtual ~IListBox() = default;
    virtual int Count() const = 0;
    virtual int SelectedIndex() const = 0; // -1 when none
    virtual void SetSelectedIndex(int index) = 0; // -1 or out of range: none selected
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

class IComboBox {
public:
    virtual ~IComboBox() = default;
    virtual int Count() const = 0;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& text) = 0;
    virtual void SetSelectedIndex(int index) = 0;
    virtual int SelectedIndex() const = 0;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};

class IProgressBar {
public:
    virtual ~IProgressBar() = default;
    virtual void SetMax(int max) = 0;
    virtual int Max() const = 0;
    virtual void SetPosition(int position) = 0;
    virtual int Position() const = 0;
    // Advances the position by one step (the step is 1).
    virtual void StepIt() = 0;
};

// Show a value in a control that may be absent (null: nothing happens).
inline void Show(ITextControl* control, const std::string& text)
{
    if (control)
        control->SetText(text);
}
inline void Show(ICheckControl* control, bool checked)
{
    if (control)
        control->SetChecked(checked);
}
inline void Show(IColorControl* control, TColor color)
{
    if (control)
        control->SetColor(color);
}

} // namespace velmora
