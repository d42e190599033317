// velmora: the window program. Creates the application and the main window and
// runs the event loop; an error that escapes ends the program with a message.
#include <clocale>

#include <QMessageBox>
#include <QPointer>

#include "window/qt/UDesktopServices.h"
#include "window/qt/UQtApplication.h"
#include "window/qt/UQtMainWindow.h"

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    velmora::TVelmoraApplication app(argc, argv);
    // The window's handle, once known, owns the last message; it is null again when the window is gone.
    QPointer<QWidget> mainWindow;
    try {
        velmora::TDesktopServices desktop;
        velmora::TQtMainWindow form(desktop.Services());
        mainWindow = &form;
        if (!form.FormCreate())
            return 1;
        form.show();
        return app.exec();
    } catch (...) {
        QMessageBox::critical(mainWindow, QStringLiteral("Exiting"), QStringLiteral("Fatal Error"));
        return 1;
    }
}
