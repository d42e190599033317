#include "window/qt/UQtApplication.h"

#include <exception>

#include <QMessageBox>

namespace velmora {

void NameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("velmora"));
}

TVelmoraApplication::TVelmoraApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    NameApplication();
}

bool TVelmoraApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox::critical(activeWindow(), QStringLiteral("Velmora"), QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace velmora
