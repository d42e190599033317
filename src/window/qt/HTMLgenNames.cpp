// The second tab's commands and the colour pickers: adding, updating and
// removing highlighted names, the colour drop-down and the colour buttons;
// and the About command.
#include <iterator>

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "settings/UHighLighter.h"
#include "window/qt/HTMLgenAdapters.h"
#include "window/qt/HTMLgenUnit.h"
#include "window/qt/UAbout.h"
#include "window/UFormPlacement.h"

namespace velmora {

void THTMLform::ConnectNamesHandlers()
{
    // The program's own changes to the names list do not notify (the list
    // box adapter keeps them quiet), so these run for the user only.
    connect(NameEdit, &QLineEdit::textChanged, this, [this] { NameEditChange(); });
    connect(NamesList, &QListWidget::itemSelectionChanged, this, [this] { NamesListClick(); });
    connect(NamesList, &QListWidget::itemClicked, this, [this] { NamesListClick(); });
    OnEvent(NamesList, QEvent::KeyPress, [this](QEvent* event) {
        if (!static_cast<QKeyEvent*>(event)->text().isEmpty())
            NamesListKeyPress();
        return false;
    });

    connect(ActAddName, &QAction::triggered, this, [this] { Guarded([this] { ActAddNameExecute(); }); });
    connect(ActUpdateName, &QAction::triggered, this, [this] { Guarded([this] { ActUpdateNameExecute(); }); });
    connect(ActRemoveName, &QAction::triggered, this, [this] { Guarded([this] { ActRemoveNameExecute(); }); });

    connect(ColorCombo, &QComboBox::currentIndexChanged, this, [this] { ColorComboChange(); });
    connect(ColorCombo, &QComboBox::activated, this, [this] { ColorComboChange(); });
    OnEvent(ColorCombo, QEvent::KeyPress, [this](QEvent*) {
        ColorComboKeyDown();
        return false;
    });

    for (QPushButton* button : {BtnCustom, BtnBackCol, BtnTextCol, BtnLinkCol, BtnVisLinkcol})
        connect(button, &QPushButton::clicked, this,
                [this, button] { Guarded([this, button] { ActPickColExecute(button); }); });

    connect(ActAbout, &QAction::triggered, this, [this] { ActAboutExecute(); });
}

// ---- The names editor ------------------------------------------------------------

void THTMLform::NameEditChange()
{
    // Any text counts, blanks and names already listed included: Add then updates that entry.
    ActAddName->setEnabled(!NameEdit->text().isEmpty());
}

void THTMLform::NamesListClick()
{
    if (FProfile)
        FProfile->ShowSelectedName();
}

void THTMLform::NamesListKeyPress()
{
    if (FProfile)
        FProfile->ShowSelectedName();
}

// Add, Update and Remove refresh the list and mark the profile changed
// themselves; the editors' texts are taken as they stand.
void THTMLform::ActAddNameExecute()
{
    if (!FProfile)
        return;
    TAdapters& a = *FAdapters;
    FProfile->AddName(a.NameEdit.GetText(), a.NameImgEdit.GetText(), a.CustFrontHTMLMemo.GetText(),
                      a.CustEndHTMLMemo.GetText(), a.ShowNameCol.GetColor());
}

void THTMLform::ActUpdateNameExecute()
{
    if (!FProfile)
        return;
    TAdapters& a = *FAdapters;
    FProfile->UpdateName(a.NameEdit.GetText(), a.NameImgEdit.GetText(), a.CustFrontHTMLMemo.GetText(),
                         a.CustEndHTMLMemo.GetText(), a.ShowNameCol.GetColor(), a.NamesList.SelectedIndex());
}

void THTMLform::ActRemoveNameExecute()
{
    if (!FProfile)
        return;
    FProfile->RemoveName(FAdapters->NamesList.SelectedIndex());
}

// ---- The colour pickers ----------------------------------------------------------

// The drop-down only sets the swatch: the colour reaches an entry through a
// later Add or Update, and the drop-down does not follow the swatch.
void THTMLform::ColorComboChange()
{
    QVariant color = ColorCombo->currentData();
    if (color.isValid())
        FAdapters->ShowNameCol.SetColor(static_cast<TColor>(color.toInt()));
}

// Runs before the key moves the selection; the change that follows applies the new colour.
void THTMLform::ColorComboKeyDown()
{
    ColorComboChange();
}

void THTMLform::ActPickColExecute(QObject* sender)
{
    auto* button = qobject_cast<QAbstractButton*>(sender);
    if (!button || !FServices.Dialogs)
        return;
    bool isInt = false;
    int tag = button->property("tag").toInt(&isInt);
    TAdapters& a = *FAdapters;
    IColorControl* const swatches[] = {&a.ShowNameCol, &a.ShowBackCol, &a.ShowTextCol, &a.ShowLinkCol,
                                       &a.ShowVisLinkCol};
    if (!isInt || tag < 0 || tag >= static_cast<int>(std::size(swatches)))
        return;
    IColorControl& swatch = *swatches[tag];
    TColor chosen = swatch.GetColor();
    if (!FServices.Dialogs->ExecuteColor(swatch.GetColor(), chosen))
        return;
    swatch.SetColor(chosen);
    if (tag == 0)
        return; // the highlight colour waits in its swatch for Add or Update
    // The page colours go into the profile at once; the copy runs only for a
    // changed profile, so the mark comes first.
    SetChanged(true);
    StoreHtmlPageControls();
}

// ---- The About box ---------------------------------------------------------------

// A new box each time, modal: also during a conversion run, which waits until
// the box is closed because it goes on only through this window's events.
void THTMLform::ActAboutExecute()
{
    TfrmAbout box(FServices.OpenUrl, FFormPlacement->IniFileName(), this);
    box.exec();
}

} // namespace velmora
