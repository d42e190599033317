#include "window/qt/UDesktopServices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#include "window/qt/UQtControls.h"
#include "window/qt/UQtDialogs.h"

namespace velmora {

TDesktopServices::TDesktopServices()
    : TDesktopSession(
          std::make_unique<TQtMessageBoxes>(), std::make_unique<TQtFileDialogs>(),
          [](const std::string& url) { QDesktopServices::openUrl(QUrl(ToQString(url))); },
          [] { QCoreApplication::processEvents(); })
{
}

} // namespace velmora
