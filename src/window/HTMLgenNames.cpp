// The second tab's commands and the colour pickers: adding, updating and
// removing highlighted names, the colour drop-down and the colour buttons;
// and the About command.
#include "window/HTMLgenUnit.h"

#include <QAction>

#include "window/UAbout.h"
#include "window/UFormPlacement.h"

namespace velmora {

void THTMLform::ConnectNamesHandlers()
{
    connect(ActAbout, &QAction::triggered, this, [this] { ActAboutExecute(); });
}

// A new box each time, modal: also during a conversion run, which waits until
// the box is closed because it goes on only through this window's events.
void THTMLform::ActAboutExecute()
{
    TfrmAbout box(FServices.OpenUrl, FFormPlacement->IniFileName(), this);
    box.exec();
}

} // namespace velmora
