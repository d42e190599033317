// velmora-screenshots: draws each tab of the main window into a PNG file on
// Qt's offscreen platform, so the window can be looked at without a display.
//   velmora-screenshots FOLDER [WIDTHxHEIGHT]
// The window starts in a scratch program directory with a small sample profile.
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/UDialogs.h"
#include "settings/UHighLighter.h"
#include "shared/UGenDeclarations.h"
#include "platform/URegistry.h"
#include "window/qt/UQtDialogs.h"
#include "window/qt/UQtMainWindow.h"

using namespace velmora;

namespace {

// Pictures need no answers: messages are dropped, questions answered No.
class TQuietMessageBoxes : public IMessageBoxes {
public:
    void ShowMessage(const std::string&, const std::string&, TMsgIcon) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    TYesNoCancel AskYesNoCancel(const std::string&, const std::string&) override { return TYesNoCancel::No; }
    TOverwriteAnswer AskOverwrite(const std::string&) override { return TOverwriteAnswer::No; }
};

// A profile with a few dump files and names, so that the lists are not empty.
bool WriteSampleProfile(const std::string& programDir, IMessageBoxes& boxes)
{
    TSettingsAction action(nullptr);
    TPlatform platform;
    platform.MessageBoxes = &boxes;
    platform.ProgramDir = programDir;
    THighlightProfile profile(&action, platform);
    profile.IOOptions().AddFiles({programDir + "dumps/ctf-final.txt", programDir + "dumps/duel-q3dm17.txt",
                                  programDir + "dumps/clan-practice.log"});
    profile.AddName("Sarge:", "", "<b>", "</b>", 0x00FFFF);
    profile.AddName("Visor", "", "", "", 0x00FF00);
    profile.AddName("Klesk:", "", "<i>", "</i>", 0xFFFF00);
    profile.HTMLOptions().SetAuthor("Velmora");
    // Modern, so that the Page Style tab shows its options enabled.
    profile.AppOptions().SetPageStyle(TPageStyle::Modern);
    profile.AppOptions().SetPlayerStats(true);
    return profile.SaveToFile(programDir + "Default.cfg");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: velmora-screenshots FOLDER [WIDTHxHEIGHT]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    QString folder = QString::fromLocal8Bit(argv[1]);
    int width = TQtMainWindow::InitialWidth, height = TQtMainWindow::InitialHeight;
    if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "velmora-screenshots: size must be WIDTHxHEIGHT\n");
        return 2;
    }
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "velmora-screenshots: cannot create %s\n", argv[1]);
        return 1;
    }

    QTemporaryDir scratch;
    TQuietMessageBoxes boxes;
    TQtFileDialogs dialogs; // never shown
    TSystemRegistry registry;
    TWindowServices services;
    services.MessageBoxes = &boxes;
    services.Dialogs = &dialogs;
    services.Registry = &registry;
    services.OpenUrl = [](const std::string&) {};
    services.ProcessMessages = [] { QCoreApplication::processEvents(); };
    services.ProgramDir = QDir(scratch.path()).absolutePath().toStdString() + "/";
    services.ExecutablePath = services.ProgramDir + "velmora";
    if (!WriteSampleProfile(services.ProgramDir, boxes))
        return 1;

    TQtMainWindow form(services);
    if (!form.FormCreate())
        return 1;
    form.resize(width, height);
    form.show();
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        // Let the event loop go idle once, as it would on screen, so the state panel reads "Ready".
        QEventLoop idle;
        QTimer::singleShot(50, &idle, &QEventLoop::quit);
        idle.exec();
        QString name = QStringLiteral("%1/tab%2-%3.png").arg(folder).arg(i).arg(tabs->widget(i)->objectName());
        if (!form.grab().save(name)) {
            std::fprintf(stderr, "velmora-screenshots: cannot write %s\n", name.toLocal8Bit().constData());
            return 1;
        }
        std::printf("%s\n", name.toLocal8Bit().constData());
    }
    return 0;
}
