#include "window/qt/UBrowseEdit.h"

#include <QAction>
#include <QHelpEvent>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>

#include "window/qt/UQtControls.h"

namespace velmora {

TBrowseEdit::TBrowseEdit(TKind kind, QWidget* parent) : QLineEdit(parent), FKind(kind)
{
    QStyle::StandardPixmap picture = kind == TKind::Folder ? QStyle::SP_DirOpenIcon : QStyle::SP_FileDialogStart;
    QAction* browse = addAction(style()->standardIcon(picture), QLineEdit::TrailingPosition);
    connect(browse, &QAction::triggered, this, &TBrowseEdit::BrowseRequested);
    FButton = findChild<QToolButton*>();
    if (!FButton)
        return;
    connect(this, &QObject::objectNameChanged, FButton,
            [this](const QString& name) { FButton->setObjectName(name + QStringLiteral("Browse")); });
    FButton->setCursor(Qt::ArrowCursor);
    // The tip is the edit's hint, shown as soon as the pointer is on the button;
    // Qt's own delayed tip is not used.
    OnEvent(FButton, QEvent::Enter, [this](QEvent*) {
        if (!statusTip().trimmed().isEmpty())
            QToolTip::showText(FButton->mapToGlobal(QPoint(0, FButton->height())), statusTip(), FButton, QRect(),
                               TipMilliseconds);
        return false;
    });
    OnEvent(FButton, QEvent::ToolTip, [](QEvent*) { return true; });
}

} // namespace velmora
