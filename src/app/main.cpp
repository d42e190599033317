// velmora: the window program. Creates the application and the main window and
// runs the event loop; an error that escapes ends the program with a message.
#include <clocale>
#include <exception>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "window/qt/UDesktopServices.h"
#include "window/qt/UQtMainWindow.h"

namespace {

// Errors raised inside event handlers reach here instead of leaving Qt's event
// loop, which cannot pass them on; the program shows them and goes on.
class TVelmoraApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(activeWindow(), applicationDisplayName(), QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    TVelmoraApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("velmora"));
    app.setApplicationDisplayName(QStringLiteral("Velmora"));
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
