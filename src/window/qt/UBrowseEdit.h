// A one-line edit with a browse button inside it, for a file name or a folder.
// The button's tip (the edit's hint) comes up at once and goes after 2 seconds.
#pragma once

#include <QLineEdit>

class QToolButton;

namespace velmora {

class TBrowseEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class TKind { File, Folder };

    TBrowseEdit(TKind kind, QWidget* parent = nullptr);

    TKind Kind() const { return FKind; }
    QToolButton* BrowseButton() const { return FButton; }

    // How long the button's tip stays up.
    static constexpr int TipMilliseconds = 2000;

signals:
    // The browse button was pressed; the window opens the dialog.
    void BrowseRequested();

private:
    TKind FKind;
    QToolButton* FButton = nullptr;
};

} // namespace velmora
