// velmora_window_convert WORKDIR DUMP...: converts the dumps from the main
// window, as a click on "Convert to &HTML" does, and reports the time the run
// took and how often the progress bars moved. WORKDIR serves as the program
// directory (settings file and Default.cfg are written there) and the pages go
// to WORKDIR/pages-window/, replacing earlier ones. Runs on any Qt platform:
// QT_QPA_PLATFORM=offscreen without a display, or on an X display to watch it.
#include <clocale>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTreeWidget>

#include "settings/UHighLighter.h"
#include "platform/URegistry.h"
#include "window/qt/UQtDialogs.h"
#include "window/qt/UQtMainWindow.h"

namespace {

using namespace velmora;

// Messages go to standard error instead of blocking the run.
class TPrintedMessages : public IMessageBoxes {
public:
    void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon) override
    {
        std::cerr << caption << ": " << text << "\n";
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    TYesNoCancel AskYesNoCancel(const std::string&, const std::string&) override { return TYesNoCancel::No; }
    TOverwriteAnswer AskOverwrite(const std::string&) override { return TOverwriteAnswer::Yes; }
};

// The current profile of the work directory: the dumps, pages into pagesDir, existing pages replaced.
bool WriteProfile(const std::string& workDir, const std::string& pagesDir, const std::vector<std::string>& dumps)
{
    TSettingsAction action(nullptr);
    TPlatform platform;
    platform.ProgramDir = workDir;
    THighlightProfile profile(&action, platform);
    TIOOptions& io = profile.IOOptions();
    io.AddFiles(dumps);
    io.SetDestDir(pagesDir);
    io.SetDestImgDir(pagesDir);
    io.SetSkipExisting(false);
    io.SetPromptOnOverwrite(false);
    return profile.SaveToFile(workDir + "Default.cfg");
}

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::cerr << "usage: velmora_window_convert WORKDIR DUMP...\n";
        return 2;
    }
    namespace fs = std::filesystem;
    std::string workDir = fs::absolute(argv[1]).string();
    if (workDir.back() != '/')
        workDir += '/';
    std::string pagesDir = workDir + "pages-window/";
    fs::create_directories(pagesDir);
    std::vector<std::string> dumps;
    for (int i = 2; i < argc; ++i)
        dumps.push_back(fs::absolute(argv[i]).string());
    fs::remove(workDir + "velmora.ini");
    if (!WriteProfile(workDir, pagesDir, dumps))
        return 1;

    TPrintedMessages messages;
    TQtFileDialogs dialogs; // never shown
    TSystemRegistry registry;
    TWindowServices services;
    services.MessageBoxes = &messages;
    services.Dialogs = &dialogs;
    services.Registry = &registry;
    services.OpenUrl = [](const std::string&) {};
    services.ProgramDir = workDir;
    services.ExecutablePath = workDir + "velmora";
    services.ProcessMessages = [] { QCoreApplication::processEvents(); };
    TQtMainWindow form(services);
    if (!form.FormCreate())
        return 1;
    form.show();
    QCoreApplication::processEvents();

    int totalMoves = 0;
    int fileMoves = 0;
    QObject::connect(form.findChild<QProgressBar*>("ProgTotal"), &QProgressBar::valueChanged, [&] { ++totalMoves; });
    QObject::connect(form.findChild<QProgressBar*>("ProgCurr"), &QProgressBar::valueChanged, [&] { ++fileMoves; });
    QElapsedTimer timer;
    timer.start();
    form.findChild<QAction*>("ActConvert")->trigger();
    double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    auto* list = form.findChild<QTreeWidget*>("SrcFilesList");
    int converted = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        converted += list->topLevelItem(i)->text(1).startsWith(QStringLiteral("Converted")) ? 1 : 0;
    std::cout << "files " << list->topLevelItemCount() << ", converted " << converted << ", seconds " << seconds
              << ", total bar moves " << totalMoves << ", file bar moves " << fileMoves << "\n";
    form.close();
    return converted == list->topLevelItemCount() ? 0 : 1;
}
