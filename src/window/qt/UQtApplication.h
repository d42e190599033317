// The application object of the window program: its names, and errors from
// event handlers shown instead of ending the program.
#pragma once

#include <QApplication>

namespace velmora {

// The program's name for settings and the desktop. No display name is set:
// the window system would append it to every title, so that "About : Velmora "
// would read "About : Velmora  — Velmora"; titles are the program's own texts.
void NameApplication();

class TVelmoraApplication : public QApplication {
public:
    TVelmoraApplication(int& argc, char** argv);
    // Errors raised inside event handlers reach here instead of leaving Qt's
    // event loop, which cannot pass them on; the program shows them and goes on.
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace velmora
