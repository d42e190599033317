// The second tab's commands and the colour pickers: adding, updating and
// removing highlighted names, the colour drop-down and the colour buttons.
#include "window/HTMLgenUnit.h"

namespace velmora {

void THTMLform::ConnectNamesHandlers()
{
    // The handlers of the names editor and the colour buttons are connected here.
}

} // namespace velmora
